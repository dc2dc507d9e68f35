// Tessik: exchanges the mid and the side component when its switch is on.
// Exchanging them keeps left and inverts right, so the right input's sign is
// flipped before encoding and the pair decoded as usual; the encode/decode
// round trip is kept (rather than a plain negation) for its exact float
// roundings. The switch acts at block boundaries, without a crossfade.
#pragma once

#include <memory>

#include "EffectExtended.h"

struct TessikProgram {
  float swap = 1.0f;
  char name[kVstMaxProgNameLen] = "Tessik";
};

class Tessik : public EffectExtended {
 public:
  explicit Tessik(audioMasterCallback hostCallback);
  ~Tessik() override;

  //! Index 0 only; on above 0.5, stored unclamped. Thread: any.
  void setParameter(int32_t index, float value) override;
  float getParameter(int32_t index) override;
  void process(float** inputs, float** outputs, int32_t sampleFrames) override;
  void processReplacing(float** inputs, float** outputs, int32_t sampleFrames) override;
  //! Loads the program's value through setParameter.
  void setProgram(int32_t program) override;
  //! At most 23 characters are kept.
  void setProgramName(char* name) override;
  void getProgramName(char* name) override;
  // For an index other than 0 the three text queries leave the buffer as it was.
  void getParamLabel(int32_t index, char* label) override;
  //! "On" or "Off".
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
  //! The sign the right input is given in the next block: -1 on, +1 off.
  double rightSign() const;

  std::unique_ptr<TessikProgram[]> programs;
  float swap = 1.0f;
};
