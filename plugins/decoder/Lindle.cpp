#include "Lindle.h"

#include "ParameterText.h"
#include "StereoLoop.h"
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

namespace {

// The inputs are already the pair the loop decodes.
struct Decode {
  [[gnu::always_inline]] void operator()(float midIn, float sideIn, float& mid, float& side) const {
    mid = midIn;
    side = sideIn;
  }
};

}  // namespace

void Lindle::processReplacing(float** inputs, float** outputs, int32_t sampleFrames) {
  stereo::run<false>(Decode{}, inputs, outputs, sampleFrames);
}

void Lindle::process(float** inputs, float** outputs, int32_t sampleFrames) {
  stereo::run<true>(Decode{}, inputs, outputs, sampleFrames);
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
