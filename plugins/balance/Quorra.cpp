#include "Quorra.h"

#include <cmath>
#include <cstring>

#include "ParameterText.h"
#include "SuiteIdentity.h"

namespace {

// 10^((v - 0.5) * 4): 0.01 at 0, 1 at 0.5, 100 at 1. Both steps before pow
// are exact in double; values outside 0..1 follow the same law (inf or 0 at
// the extremes, NaN for NaN), which the loops then carry through harmlessly.
float gainOf(float value) {
  return static_cast<float>(std::pow(10.0, (double{value} - 0.5) * 4.0));
}

}  // namespace

const Quorra::Parameter Quorra::kParameters[2] = {
    {"Mid Gain", &Quorra::midGain, &QuorraProgram::midGain},
    {"Side Gain", &Quorra::sideGain, &QuorraProgram::sideGain},
};

const Quorra::Parameter* Quorra::parameterAt(int32_t index) {
  return index >= 0 && index < 2 ? &kParameters[index] : nullptr;
}

Quorra::Quorra(audioMasterCallback hostCallback)
    : EffectExtended(hostCallback, 4, 2), programs(new QuorraProgram[4]) {
  Quorra::setProgram(0);
  setUniqueID(fourCharCode("Quor"));
  setNumInputs(2);
  setNumOutputs(2);
  setCanReplacing(true);
  setCanMono(true);
}

Quorra::~Quorra() = default;

void Quorra::setParameter(int32_t index, float value) {
  const Parameter* parameter = parameterAt(index);
  if (parameter == nullptr) return;
  this->*parameter->live = value;
  programs[currentProgram].*parameter->stored = value;
}

float Quorra::getParameter(int32_t index) {
  const Parameter* parameter = parameterAt(index);
  return parameter == nullptr ? 0.0f : this->*parameter->live;
}

void Quorra::processReplacing(float** inputs, float** outputs, int32_t sampleFrames) {
  const float* leftIn = inputs[0];
  const float* rightIn = inputs[1];
  float* leftOut = outputs[0];
  float* rightOut = outputs[1];
  const double midFactor = gainOf(midGain);
  const double sideFactor = gainOf(sideGain);
  for (int32_t i = 0; i < sampleFrames; ++i) {
    const double left = leftIn[i];
    const double right = rightIn[i];
    // Rounded to float at each named step; the double sums keep left = right
    // = the largest float from overflowing.
    float mid = static_cast<float>((left + right) * 0.5);
    float side = static_cast<float>((left - right) * 0.5);
    mid = static_cast<float>(mid * midFactor);
    side = static_cast<float>(side * sideFactor);
    leftOut[i] = static_cast<float>(double{mid} + side);
    rightOut[i] = static_cast<float>(double{mid} - side);
  }
}

void Quorra::process(float** inputs, float** outputs, int32_t sampleFrames) {
  const float* leftIn = inputs[0];
  const float* rightIn = inputs[1];
  float* leftOut = outputs[0];
  float* rightOut = outputs[1];
  const double midFactor = gainOf(midGain);
  const double sideFactor = gainOf(sideGain);
  for (int32_t i = 0; i < sampleFrames; ++i) {
    const double left = leftIn[i];
    const double right = rightIn[i];
    float mid = static_cast<float>((left + right) * 0.5);
    float side = static_cast<float>((left - right) * 0.5);
    mid = static_cast<float>(mid * midFactor);
    side = static_cast<float>(side * sideFactor);
    // The old output is added last, and the three-term sum rounded once.
    leftOut[i] = static_cast<float>((double{mid} + side) + leftOut[i]);
    rightOut[i] = static_cast<float>((double{mid} - side) + rightOut[i]);
  }
}

void Quorra::setProgram(int32_t program) {
  const QuorraProgram& chosen = programs[program];
  currentProgram = program;
  setParameter(0, chosen.midGain);
  setParameter(1, chosen.sideGain);
}

void Quorra::setProgramName(char* name) {
  parameterText::copyText(programs[currentProgram].name, name, kVstMaxProgNameLen - 1);
}

void Quorra::getProgramName(char* name) {
  parameterText::copyText(name, programs[currentProgram].name, kVstMaxProgNameLen - 1);
}

void Quorra::getParamLabel(int32_t index, char* label) {
  if (parameterAt(index) != nullptr) std::strcpy(label, "dB");
}

void Quorra::getParamDisplay(int32_t index, char* text) {
  const Parameter* parameter = parameterAt(index);
  if (parameter == nullptr) return;
  formatFloat(static_cast<float>((double{this->*parameter->live} - 0.5) * 80.0), text);
}

void Quorra::getParamName(int32_t index, char* text) {
  const Parameter* parameter = parameterAt(index);
  // Copied whole: "Side Gain" is one character over the eight VST 2 suggests,
  // and hosts give room for it.
  if (parameter != nullptr) std::strcpy(text, parameter->name);
}

void Quorra::suspend() {}
void Quorra::resume() { wantMidi(1); }
int32_t Quorra::getPlugCategory() { return kPlugCategEffect; }

bool Quorra::getEffectName(char* name) {
  parameterText::copyText(name, "Quorra", kVstMaxEffectNameLen - 1);
  return true;
}

bool Quorra::getVendorString(char* text) {
  parameterText::copyText(text, suite::kVendor, kVstMaxVendorStrLen - 1);
  return true;
}

bool Quorra::getProductString(char* text) {
  parameterText::copyText(text, suite::kProductUpper, kVstMaxProductStrLen - 1);
  return true;
}

int32_t Quorra::getVendorVersion() { return suite::kVendorVersion; }
int32_t Quorra::canDo(char* text) { return suite::matrixCanDo(text); }
