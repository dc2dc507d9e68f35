// Ombrel: the suite's mid/side delay as a VST 2 effect. Holds the seven
// parameters (live values and a bank of four programs), answers the host's
// questions about them, and turns "Delay time", "Max delay", "smooth" and the
// sample rate into a delay target for MidSideDelay, which does the audio.
//
// A new "Max delay", "smooth" or sample rate reaches the delay only when
// "Delay time" is set again (or the display of "Max delay" is asked for), as
// hosts of this plug-in expect.
#pragma once

#include <memory>

#include "EffectExtended.h"
#include "MidSideDelay.h"

//! The seven normalised parameter values, in parameter order.
struct OmbrelValues {
  float delayTime = 0.5f;
  float feedback = 0.0f;
  float maxDelay = 0.1f;
  float tempoSync = 0.0f;
  float select = 0.0f;
  float smooth = 0.5f;
  float mix = 0.5f;
};

struct OmbrelProgram : OmbrelValues {
  char name[kVstMaxProgNameLen] = "Pellory";
};

class Ombrel : public EffectExtended {
 public:
  //! Takes all memory the instance will use; throws std::bad_alloc when short.
  explicit Ombrel(audioMasterCallback hostCallback);
  ~Ombrel() override;

  //! Index 0 to 6; "Delay time" below 0.001 (or NaN) is stored as 0.001 and
  //! starts a ramp to the new delay. Others are stored as given.
  void setParameter(int32_t index, float value) override;
  float getParameter(int32_t index) override;
  void process(float** inputs, float** outputs, int32_t sampleFrames) override;
  void processReplacing(float** inputs, float** outputs, int32_t sampleFrames) override;
  //! Replays the program's values through setParameter, in index order.
  void setProgram(int32_t program) override;
  void setProgramName(char* name) override;
  void getProgramName(char* name) override;
  void getParamLabel(int32_t index, char* label) override;
  //! At most 23 characters for any value; "Max delay" also re-applies "Delay time".
  void getParamDisplay(int32_t index, char* text) override;
  void getParamName(int32_t index, char* text) override;
  //! Silences the delay line; the ramp and positions stay.
  void suspend() override;
  //! Asks the host for MIDI, as every plug-in of the suite does.
  void resume() override;
  int32_t getPlugCategory() override;
  bool getEffectName(char* name) override;
  bool getVendorString(char* text) override;
  bool getProductString(char* text) override;
  int32_t getVendorVersion() override;
  //! -1 for the four event capabilities, 0 for anything else.
  int32_t canDo(char* text) override;

 private:
  struct Parameter;
  static const Parameter kParameters[];

  void displayDelayTime(char* text);
  void displayFeedback(char* text);
  void displayMaxDelay(char* text);
  void displayTempoSync(char* text);
  void displaySelect(char* text);
  void displaySmooth(char* text);
  void displayMix(char* text);
  MidSideDelay::Settings blockSettings() const;

  std::unique_ptr<OmbrelProgram[]> programs;
  OmbrelValues values;
  std::unique_ptr<MidSideDelay> delay;
};
