#include "Quorra.h"

#include <bit>
#include <cmath>
#include <cstring>

#include "ParameterText.h"
#include "StereoLoop.h"
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

namespace {

// Encodes into mid and side and scales each by its gain, rounded to float at
// each named step; the double sums keep left = right = the largest float from
// overflowing. A gain is a float, so the product of two floats is exact in
// double and rounding it to float is the float product: taken in float.
struct BalanceFrame {
  float midFactor;
  float sideFactor;
  [[gnu::always_inline]] void operator()(float leftIn, float rightIn, float& mid,
                                         float& side) const {
    const double left = leftIn;
    const double right = rightIn;
    mid = static_cast<float>((left + right) * 0.5) * midFactor;
    side = static_cast<float>((left - right) * 0.5) * sideFactor;
  }
};

}  // namespace

float Quorra::CachedGain::of(float value) {
  // Bit patterns, so that a NaN, unequal to itself, is still recognised.
  const auto bits = std::bit_cast<uint32_t>(value);
  if (bits != valueBits) {
    factor = gainOf(value);
    valueBits = bits;
  }
  return factor;
}

void Quorra::processReplacing(float** inputs, float** outputs, int32_t sampleFrames) {
  const BalanceFrame frame{midCache.of(midGain), sideCache.of(sideGain)};
  stereo::run<false>(frame, inputs, outputs, sampleFrames);
}

void Quorra::process(float** inputs, float** outputs, int32_t sampleFrames) {
  const BalanceFrame frame{midCache.of(midGain), sideCache.of(sideGain)};
  stereo::run<true>(frame, inputs, outputs, sampleFrames);
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
