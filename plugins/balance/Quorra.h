// Quorra: sets the level of the mid and the side component apart. Encodes
// left/right into mid and side, scales each by its own gain (-40 dB to +40 dB
// over the normalised range, 0 dB in the middle) and decodes back. Gains are
// taken at block boundaries without smoothing: cheap and exact, at the price
// of a step when a gain moves.
#pragma once

#include <bit>
#include <cstdint>
#include <memory>

#include "EffectExtended.h"

struct QuorraProgram {
  float midGain = 0.5f;
  float sideGain = 0.5f;
  char name[kVstMaxProgNameLen] = "Sendrith";
};

class Quorra : public EffectExtended {
 public:
  explicit Quorra(audioMasterCallback hostCallback);
  ~Quorra() override;

  //! Index 0 mid gain, 1 side gain; normalised, stored unclamped. Thread: any.
  void setParameter(int32_t index, float value) override;
  float getParameter(int32_t index) override;
  void process(float** inputs, float** outputs, int32_t sampleFrames) override;
  void processReplacing(float** inputs, float** outputs, int32_t sampleFrames) override;
  //! Loads the program's values through setParameter, in index order.
  void setProgram(int32_t program) override;
  //! At most 23 characters are kept.
  void setProgramName(char* name) override;
  void getProgramName(char* name) override;
  // For an index out of range the three text queries leave the buffer as it was.
  void getParamLabel(int32_t index, char* label) override;
  //! The gain in decibels, (value - 0.5) * 80, through formatFloat.
  void getParamDisplay(int32_t index, char* text) override;
  void getParamName(int32_t index, char* text) override;
  void suspend() override;
  //! Asks the host for MIDI, as every plug-in of the suite does.
  void resume() override;
  int32_t getPlugCategory() override;
  bool getEffectName(char* name) override;
  bool getVendorString(char* text) override;
  bool getProductString(char* text) override;
  int32_t getVendorVersion() override;
  int32_t canDo(char* text) override;

 private:
  // One row per parameter: its name and where its value lives, live and stored.
  struct Parameter {
    const char* name;
    float Quorra::*live;
    float QuorraProgram::*stored;
  };
  static const Parameter kParameters[2];
  //! The row of a parameter, null for an index out of range.
  static const Parameter* parameterAt(int32_t index);

  // A gain factor kept with the parameter value it came from: pow costs tens
  // of nanoseconds, most of a short block, and the value rarely changes.
  struct CachedGain {
    //! The factor for value, recomputed only when value differs. Thread: audio.
    float of(float value);
    // Starts as the gain of 0.5, which is exactly 1.
    uint32_t valueBits = std::bit_cast<uint32_t>(0.5f);
    float factor = 1.0f;
  };

  std::unique_ptr<QuorraProgram[]> programs;
  float midGain = 0.5f;
  float sideGain = 0.5f;
  CachedGain midCache;
  CachedGain sideCache;
};
