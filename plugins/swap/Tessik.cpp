#include "Tessik.h"

#include <cstring>

#include "ParameterText.h"
#include "StereoLoop.h"
#include "SuiteIdentity.h"

namespace {

// The display compares the float and the processing the widened double with
// 0.5; both agree for every value, NaN (off) included.
bool isOn(float value) { return value > 0.5f; }

}  // namespace

Tessik::Tessik(audioMasterCallback hostCallback)
    : EffectExtended(hostCallback, 4, 1), programs(new TessikProgram[4]) {
  Tessik::setProgram(0);
  setUniqueID(fourCharCode("Tess"));
  setNumInputs(2);
  setNumOutputs(2);
  setCanReplacing(true);
  setCanMono(true);
}

Tessik::~Tessik() = default;

void Tessik::setParameter(int32_t index, float value) {
  if (index != 0) return;
  swap = value;
  programs[currentProgram].swap = value;
}

float Tessik::getParameter(int32_t index) { return index == 0 ? swap : 0.0f; }

double Tessik::rightSign() const { return double{swap} > 0.5 ? -1.0 : 1.0; }

namespace {

// Encodes left and right (the right input signed) into the pair to decode,
// mid and side exchanged when on, rounded to float: a right input far smaller
// than the left is lost there, as it would be in any float mid/side path.
struct SwapFrame {
  double sign;
  [[gnu::always_inline]] void operator()(float leftIn, float rightIn, float& a, float& b) const {
    const double left = leftIn;
    const double right = sign * rightIn;
    a = static_cast<float>((right + left) * 0.5);
    b = static_cast<float>((left - right) * 0.5);
  }
};

}  // namespace

void Tessik::processReplacing(float** inputs, float** outputs, int32_t sampleFrames) {
  stereo::run<false>(SwapFrame{rightSign()}, inputs, outputs, sampleFrames);
}

void Tessik::process(float** inputs, float** outputs, int32_t sampleFrames) {
  stereo::run<true>(SwapFrame{rightSign()}, inputs, outputs, sampleFrames);
}

void Tessik::setProgram(int32_t program) {
  const TessikProgram& chosen = programs[program];
  currentProgram = program;
  setParameter(0, chosen.swap);
}

void Tessik::setProgramName(char* name) {
  parameterText::copyText(programs[currentProgram].name, name, kVstMaxProgNameLen - 1);
}

void Tessik::getProgramName(char* name) {
  parameterText::copyText(name, programs[currentProgram].name, kVstMaxProgNameLen - 1);
}

void Tessik::getParamLabel(int32_t index, char* label) {
  if (index == 0) label[0] = '\0';
}

void Tessik::getParamDisplay(int32_t index, char* text) {
  if (index == 0) std::strcpy(text, isOn(swap) ? "On" : "Off");
}

void Tessik::getParamName(int32_t index, char* text) {
  if (index == 0) std::strcpy(text, " Swap");
}

void Tessik::suspend() {}
void Tessik::resume() { wantMidi(1); }
int32_t Tessik::getPlugCategory() { return kPlugCategEffect; }

bool Tessik::getEffectName(char* name) {
  parameterText::copyText(name, "Tessik", kVstMaxEffectNameLen - 1);
  return true;
}

bool Tessik::getVendorString(char* text) {
  parameterText::copyText(text, suite::kVendor, kVstMaxVendorStrLen - 1);
  return true;
}

bool Tessik::getProductString(char* text) {
  parameterText::copyText(text, suite::kProductLower, kVstMaxProductStrLen - 1);
  return true;
}

int32_t Tessik::getVendorVersion() { return suite::kVendorVersion; }
int32_t Tessik::canDo(char* text) { return suite::matrixCanDo(text); }
