#include "Lindle.h"

#include "ParameterText.h"
#include "SuiteIdentity.h"

Lindle::Lindle(audioMasterCallback hostCallback)
    : EffectExtended(hostCallback, 4, 0), programs(new LindleProgram[4]) {
  Lindle::setProgram(0);
  setUniqueID(fourCharCode("Lind"));
  setNumInputs(2);
  setNumOutputs(2);
  setCanReplacing(true);
  setCanMono(true);
}

Lindle::~Lindle() = default;

void Lindle::setParameter(int32_t, float) {}
float Lindle::getParameter(int32_t) { return 0.0f; }

void Lindle::processReplacing(float** inputs, float** outputs, int32_t sampleFrames) {
  const float* mid = inputs[0];
  const float* side = inputs[1];
  float* left = outputs[0];
  float* right = outputs[1];
  for (int32_t i = 0; i < sampleFrames; ++i) {
    const double m = mid[i];
    const double s = side[i];
    left[i] = static_cast<float>(m + s);
    right[i] = static_cast<float>(m - s);
  }
}

void Lindle::process(float** inputs, float** outputs, int32_t sampleFrames) {
  const float* mid = inputs[0];
  const float* side = inputs[1];
  float* left = outputs[0];
  float* right = outputs[1];
  for (int32_t i = 0; i < sampleFrames; ++i) {
    const double m = mid[i];
    const double s = side[i];
    // The old output is added last, and the sum rounded once.
    left[i] = static_cast<float>((m + s) + left[i]);
    right[i] = static_cast<float>((m - s) + right[i]);
  }
}

void Lindle::setProgram(int32_t program) { currentProgram = program; }

void Lindle::setProgramName(char* name) {
  parameterText::copyText(programs[currentProgram].name, name, kVstMaxProgNameLen - 1);
}

void Lindle::getProgramName(char* name) {
  parameterText::copyText(name, programs[currentProgram].name, kVstMaxProgNameLen - 1);
}

void Lindle::getParamLabel(int32_t, char*) {}
void Lindle::getParamDisplay(int32_t, char*) {}
void Lindle::getParamName(int32_t, char*) {}
void Lindle::suspend() {}
void Lindle::resume() { wantMidi(1); }
int32_t Lindle::getPlugCategory() { return kPlugCategEffect; }

bool Lindle::getEffectName(char* name) {
  parameterText::copyText(name, "Lindle", kVstMaxEffectNameLen - 1);
  return true;
}

bool Lindle::getVendorString(char* text) {
  parameterText::copyText(text, suite::kVendor, kVstMaxVendorStrLen - 1);
  return true;
}

bool Lindle::getProductString(char* text) {
  parameterText::copyText(text, suite::kProductLower, kVstMaxProductStrLen - 1);
  return true;
}

int32_t Lindle::getVendorVersion() { return suite::kVendorVersion; }
int32_t Lindle::canDo(char* text) { return suite::matrixCanDo(text); }
