// Lindle: decodes a mid/side pair (input 0 mid, input 1 side) into left and
// right, left = mid + side and right = mid - side, without scaling. No
// parameters; its four programs hold only a name.
#pragma once

#include <memory>

#include "EffectExtended.h"

struct LindleProgram {
  char name[kVstMaxProgNameLen] = "Lindle";
};

class Lindle : public EffectExtended {
 public:
  explicit Lindle(audioMasterCallback hostCallback);
  ~Lindle() override;

  void setParameter(int32_t index, float value) override;
  float getParameter(int32_t index) override;
  void process(float** inputs, float** outputs, int32_t sampleFrames) override;
  void processReplacing(float** inputs, float** outputs, int32_t sampleFrames) override;
  void setProgram(int32_t program) override;
  void setProgramName(char* name) override;
  void getProgramName(char* name) override;
  // Lindle has no parameters: the three text queries leave the host's buffer as it was.
  void getParamLabel(int32_t index, char* label) override;
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
  std::unique_ptr<LindleProgram[]> programs;
};
