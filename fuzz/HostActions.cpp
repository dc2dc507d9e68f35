#include "HostActions.h"

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <cstring>
#include <limits>
#include <random>
#include <stdexcept>

namespace {

enum Action : uint8_t {
  kDispatch,
  kDispatchAgain,  // dispatch twice as likely: it reaches the most code
  kSetParameter,
  kGetParameter,
  kProcessReplacing,
  kProcess,
  kSetSampleRate,
  kSetBlockSizeAndSampleRate,
  kSetProgram,
  kSetProgramName,
  kMainsChanged,
  kCloseAndReopen,
  kActionCount
};

constexpr size_t kTextBytes = 512;
constexpr size_t kStructBytes = 4096;

float floatFromBits(uint32_t bits) {
  float value;
  std::memcpy(&value, &bits, sizeof value);
  return value;
}

// Values hosts and automation are known to send, so that short inputs reach
// them without having to guess 32 bits.
const float kHostileFloats[] = {std::numeric_limits<float>::quiet_NaN(),
                                -std::numeric_limits<float>::quiet_NaN(),
                                floatFromBits(0x7f800001u),  // a signalling NaN
                                std::numeric_limits<float>::infinity(),
                                -std::numeric_limits<float>::infinity(),
                                0.0f,
                                -0.0f,
                                FLT_MIN,
                                FLT_TRUE_MIN,
                                -FLT_TRUE_MIN,
                                1e-40f,
                                FLT_MAX,
                                -FLT_MAX,
                                1e30f,
                                -1e30f,
                                0.5f,
                                1.0f,
                                -1.0f,
                                2.0f,
                                0.001f,
                                0.999f,
                                0.25f,
                                0.75f,
                                44100.0f,
                                96000.0f,
                                1e9f,
                                -44100.0f,
                                1.0f / 4095.0f,
                                -1.0f / 4095.0f};

const int64_t kHostileCounts[] = {0,         1,         -1,        2,         3,
                                  4,         5,         64,        512,       1024,
                                  4096,      INT32_MAX, INT32_MIN, 1LL << 32, (1LL << 32) + 1,
                                  INT64_MAX, INT64_MIN};

// Opcodes whose text the plug-in reads rather than writes.
bool readsText(int32_t opcode) {
  return opcode == effSetProgramName || opcode == effString2Parameter || opcode == effCanDo;
}

}  // namespace

// Reads the action bytes front to back; once they run out it yields zeros, so
// every action can finish.
class HostActions::Reader {
 public:
  Reader(const uint8_t* data, size_t size) : data(data), left(size) {}

  bool done() const { return left == 0; }

  template <class T>
  T take() {
    T value{};
    const size_t count = std::min(sizeof value, left);
    std::memcpy(&value, data, count);
    data += count;
    left -= count;
    return value;
  }

  float anyFloat() {
    const uint8_t choice = take<uint8_t>();
    constexpr size_t kKnown = sizeof kHostileFloats / sizeof kHostileFloats[0];
    if (choice % 2 == 0) return kHostileFloats[(choice / 2) % kKnown];
    return floatFromBits(take<uint32_t>());
  }

  //! Mostly indexes near the valid ones, sometimes any 32-bit value.
  int32_t anyIndex() {
    const uint8_t choice = take<uint8_t>();
    if (choice < 200) return static_cast<int32_t>(choice % 12) - 2;
    return take<int32_t>();
  }

  int64_t anyCount() {
    const uint8_t choice = take<uint8_t>();
    constexpr size_t kKnown = sizeof kHostileCounts / sizeof kHostileCounts[0];
    if (choice < 128) return kHostileCounts[choice % kKnown];
    return take<int64_t>();
  }

  //! Mostly the interface's opcodes and their neighbours, sometimes any value.
  int32_t anyOpcode() {
    const uint8_t choice = take<uint8_t>();
    if (choice < 240) return static_cast<int32_t>(choice % 80) - 1;
    return take<int32_t>();
  }

  //! Text of any length up to the buffer, always terminated.
  void text(char* buffer, size_t capacity) {
    const size_t length = std::min<size_t>(take<uint16_t>() % capacity, left);
    std::memcpy(buffer, data, length);
    buffer[length] = '\0';
    data += length;
    left -= length;
  }

  //! Fills a channel: raw bit patterns, a repeated short pattern, finite noise
  //! or one value throughout.
  void fill(std::vector<float>& channel) {
    const uint8_t mode = take<uint8_t>();
    switch (mode % 4) {
      case 0:
        for (float& sample : channel) sample = floatFromBits(take<uint32_t>());
        break;
      case 1: {
        float pattern[8];
        const size_t length = 1 + mode / 4 % 8;
        for (size_t i = 0; i < length; ++i) pattern[i] = anyFloat();
        for (size_t i = 0; i < channel.size(); ++i) channel[i] = pattern[i % length];
        break;
      }
      case 2: {
        std::mt19937 random(take<uint16_t>());
        std::uniform_real_distribution<float> noise(-1.0f, 1.0f);
        for (float& sample : channel) sample = noise(random);
        break;
      }
      default: std::fill(channel.begin(), channel.end(), anyFloat()); break;
    }
  }

 private:
  const uint8_t* data;
  size_t left;
};

HostActions::HostActions(std::shared_ptr<host::PluginLibrary> library)
    : library(std::move(library)) {
  newInstance();
}

void HostActions::newInstance() {
  instance.reset();
  std::string error;
  instance = host::VstPlugin::create(library, &error);
  if (instance == nullptr) throw std::runtime_error("no instance: " + error);
  announcedBlockSize = 1024;
  ++made;
}

void HostActions::play(const uint8_t* data, size_t size) {
  Reader in(data, size);
  while (!in.done()) {
    switch (in.take<uint8_t>() % kActionCount) {
      case kDispatch:
      case kDispatchAgain: dispatch(in); break;
      case kSetParameter: {
        const int32_t index = in.anyIndex();
        instance->setParameter(index, in.anyFloat());
        break;
      }
      case kGetParameter: instance->getParameter(in.anyIndex()); break;
      case kProcessReplacing: processBlock(in, true); break;
      case kProcess: processBlock(in, false); break;
      case kSetSampleRate: instance->setSampleRate(in.anyFloat()); break;
      case kSetBlockSizeAndSampleRate: {
        announcedBlockSize = static_cast<int32_t>(in.anyCount());
        instance->dispatch(effSetBlockSizeAndSampleRate, 0, announcedBlockSize, nullptr,
                           in.anyFloat());
        break;
      }
      case kSetProgram: instance->setProgram(static_cast<intptr_t>(in.anyCount())); break;
      case kSetProgramName: setProgramName(in); break;
      case kMainsChanged: instance->mainsChanged(in.take<uint8_t>() % 2 != 0); break;
      case kCloseAndReopen: newInstance(); break;
    }
  }
}

void HostActions::dispatch(Reader& in) {
  const int32_t opcode = in.anyOpcode();
  const int32_t index = in.anyIndex();
  intptr_t value = static_cast<intptr_t>(in.anyCount());
  const float opt = in.anyFloat();
  const bool nullPointer = in.take<uint8_t>() % 8 == 0;

  // effClose destroys the record: the wrapper must know, and a host then makes a new one.
  if (opcode == effClose) {
    instance->close();
    newInstance();
    return;
  }

  char text[kTextBytes] = {};
  alignas(16) unsigned char structure[kStructBytes] = {};
  VstSpeakerArrangement inputArrangement{};
  VstSpeakerArrangement outputArrangement{};
  VstSpeakerArrangement* inputHolder = nullptr;
  VstSpeakerArrangement* outputHolder = nullptr;
  void* chunk = nullptr;
  void* ptr = nullPointer ? nullptr : structure;

  if (opcodeTakesText(opcode)) {
    if (readsText(opcode)) in.text(text, sizeof text);
    ptr = text;
  } else if (opcode == effSetSpeakerArrangement) {
    for (VstSpeakerArrangement* arrangement : {&inputArrangement, &outputArrangement}) {
      arrangement->type = in.take<int32_t>();
      arrangement->numChannels = in.take<uint8_t>() % 9;
    }
    value = reinterpret_cast<intptr_t>(&inputArrangement);
    ptr = &outputArrangement;
  } else if (opcode == effGetSpeakerArrangement) {
    value = reinterpret_cast<intptr_t>(&inputHolder);
    ptr = &outputHolder;
  } else if (opcode == effGetChunk) {
    ptr = &chunk;
  } else if (opcode == effSetChunk) {
    value = std::clamp<intptr_t>(value, 0, kStructBytes);
  } else if (opcode == effSetBlockSize || opcode == effSetBlockSizeAndSampleRate) {
    announcedBlockSize = static_cast<int32_t>(value);
  }
  instance->dispatch(opcode, index, value, ptr, opt);
}

void HostActions::processBlock(Reader& in, bool replacing) {
  const int32_t limit = std::clamp(announcedBlockSize, 0, kMaxFrames);
  const int32_t frames = static_cast<int32_t>(in.take<uint16_t>() % (limit + 1));
  const uint8_t layout = in.take<uint8_t>();
  if (frames == 0 && layout % 4 == 3) {
    // An empty block, as some hosts send it: no channels at all.
    if (replacing)
      instance->processReplacing(nullptr, nullptr, 0);
    else
      instance->process(nullptr, nullptr, 0);
    return;
  }

  // Exactly as long as the block, so a read or write past it is caught.
  const auto length = static_cast<size_t>(frames);
  std::vector<float> inLeft(length), inRight(length), outLeft(length), outRight(length);
  in.fill(inLeft);
  in.fill(inRight);
  const bool inPlace = layout % 2 == 1;
  if (!inPlace) {
    in.fill(outLeft);
    in.fill(outRight);
  }
  float* inputs[2] = {inLeft.data(), inRight.data()};
  float* separate[2] = {outLeft.data(), outRight.data()};
  float** outputs = inPlace ? inputs : separate;
  if (replacing)
    instance->processReplacing(inputs, outputs, frames);
  else
    instance->process(inputs, outputs, frames);
}

void HostActions::setProgramName(Reader& in) {
  char name[kTextBytes];
  in.text(name, sizeof name);
  instance->dispatch(effSetProgramName, 0, 0, name);
}

void HostActions::restoreFiniteSettings(uint32_t seed) {
  std::mt19937 random(seed);
  const float rates[] = {22050.0f, 44100.0f, 48000.0f, 96000.0f};
  instance->setSampleRate(rates[random() % 4]);
  announcedBlockSize = 1024;
  instance->setBlockSize(announcedBlockSize);
  std::uniform_real_distribution<float> unit(0.0f, 1.0f);
  for (int32_t index = 0; index < instance->numParams(); ++index)
    instance->setParameter(index, unit(random));
  // Once more, after every other parameter: the delay time is what turns the
  // settings into a delay.
  if (instance->numParams() > 0) instance->setParameter(0, unit(random));
  instance->mainsChanged(false);
  instance->mainsChanged(true);
}

bool HostActions::finiteInGivesFiniteOut(uint32_t seed, bool thorough) {
  std::mt19937 random(seed);
  std::uniform_real_distribution<float> noise(-1.0f, 1.0f);
  const int32_t blocks[] = {256, 1, 77, 1024, 4096};
  const size_t blockCount = thorough ? 5 : 3;
  bool finite = true;
  for (size_t block = 0; block < blockCount; ++block) {
    const int32_t frames = blocks[block];
    for (int layout = 0; layout < 3; ++layout) {
      const auto length = static_cast<size_t>(frames);
      std::vector<float> inLeft(length), inRight(length), outLeft(length), outRight(length);
      for (size_t i = 0; i < length; ++i) {
        inLeft[i] = noise(random);
        inRight[i] = noise(random);
      }
      float* inputs[2] = {inLeft.data(), inRight.data()};
      float* separate[2] = {outLeft.data(), outRight.data()};
      float** outputs = layout == 1 ? inputs : separate;
      if (layout == 2)
        instance->process(inputs, outputs, frames);
      else
        instance->processReplacing(inputs, outputs, frames);
      for (size_t i = 0; i < length; ++i)
        finite = finite && std::isfinite(outputs[0][i]) && std::isfinite(outputs[1][i]);
    }
  }
  return finite;
}
