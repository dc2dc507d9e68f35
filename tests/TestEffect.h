// A small effect for testing the framework's inner operations directly, and a
// host callback that records what the framework sends to its host.
#pragma once

#include <cstring>
#include <string>
#include <vector>

#include "EffectExtended.h"

struct RecordedCall {
  AEffect* effect;
  int32_t opcode;
  int32_t index;
  intptr_t value;
  void* ptr;
  float opt;
};

//! One recording host per test: the callback is a plain function, so it is global.
struct RecordingHost {
  static inline std::vector<RecordedCall> calls;
  static inline intptr_t answer = 0;
  static inline const char* hostText = nullptr;  // written into text pointers when set

  static void reset(intptr_t newAnswer = 0) {
    calls.clear();
    answer = newAnswer;
    hostText = nullptr;
  }
  static intptr_t callback(AEffect* effect, int32_t opcode, int32_t index, intptr_t value,
                           void* ptr, float opt) {
    calls.push_back({effect, opcode, index, value, ptr, opt});
    if (hostText != nullptr && ptr != nullptr) std::strcpy(static_cast<char*>(ptr), hostText);
    return answer;
  }
};

//! Counts what the dispatchers call; answers can be steered per test.
class TestEffect : public EffectExtended {
 public:
  explicit TestEffect(audioMasterCallback callback = nullptr, int32_t programs = 3,
                      int32_t params = 2)
      : EffectExtended(callback, programs, params) {
    ++constructed;
  }
  static inline int constructed = 0;

  void process(float**, float**, int32_t) override { ++processCalls; }
  void setParameter(int32_t index, float value) override {
    parameterLog.push_back({index, value, static_cast<int>(RecordingHost::calls.size())});
  }
  void suspend() override { ++suspendCalls; }
  void resume() override { ++resumeCalls; }
  float getVu() override { return vu; }
  int32_t setChunk(void* data, int32_t byteSize, bool isPreset) override {
    lastChunk = data;
    lastChunkSize = byteSize;
    lastChunkIsPreset = isPreset;
    return 77;
  }
  void setSampleRate(float rate) override {
    ++setSampleRateCalls;
    EffectExtended::setSampleRate(rate);
  }
  void setBlockSize(int32_t size) override {
    ++setBlockSizeCalls;
    EffectExtended::setBlockSize(size);
  }
  bool keysRequired() override { return keysAnswer; }
  void close() override { ++*closeCounter; }
  ~TestEffect() override { ++*destroyCounter; }

  struct ParameterCall {
    int32_t index;
    float value;
    int hostCallsBefore;  // how many host calls had been made when it ran
  };

  // Fields the tests read directly.
  using EffectExtended::blockSize;
  using EffectExtended::currentProgram;
  using EffectExtended::hostCallback;
  using EffectExtended::sampleRate;

  std::vector<ParameterCall> parameterLog;
  int processCalls = 0, suspendCalls = 0, resumeCalls = 0;
  int setSampleRateCalls = 0, setBlockSizeCalls = 0;
  float vu = 0.0f;
  bool keysAnswer = false;
  void* lastChunk = nullptr;
  int32_t lastChunkSize = 0;
  bool lastChunkIsPreset = false;
  int ownCounter = 0;
  int* closeCounter = &ownCounter;
  int* destroyCounter = &ownCounter;
};
