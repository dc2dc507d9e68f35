#include "Ombrel.h"

#include <cmath>
#include <cstdio>

#include "ParameterText.h"
#include "SuiteIdentity.h"

// One row per parameter, in index order: what the host is told, where the
// value lives, and how its display text is made.
struct Ombrel::Parameter {
  const char* name;
  const char* label;
  float OmbrelValues::*value;
  void (Ombrel::*display)(char* text);
};

const Ombrel::Parameter Ombrel::kParameters[] = {
    {"Delay time", "ms", &OmbrelValues::delayTime, &Ombrel::displayDelayTime},
    {"Feedback", "%", &OmbrelValues::feedback, &Ombrel::displayFeedback},
    {"Max delay", "ms", &OmbrelValues::maxDelay, &Ombrel::displayMaxDelay},
    {"tempo sync", "", &OmbrelValues::tempoSync, &Ombrel::displayTempoSync},
    {"Select", "", &OmbrelValues::select, &Ombrel::displaySelect},
    {"smooth", "samples", &OmbrelValues::smooth, &Ombrel::displaySmooth},
    {"Mix wet-dry", "%", &OmbrelValues::mix, &Ombrel::displayMix},
};

namespace {

constexpr int32_t kNumParameters = 7;
constexpr int32_t kNumPrograms = 4;
constexpr float kShortestDelayTime = 0.001f;

bool isParameter(int32_t index) { return index >= 0 && index < kNumParameters; }

// Cuts value toward zero into whole when the result lies within +-limit;
// otherwise answers the text to show instead ("NaN", "Huge!"), since the
// conversion of such a value to an integer is undefined.
const char* cutTowardZero(double value, double limit, int32_t* whole) {
  if (std::isnan(value)) return "NaN";
  const double cut = std::trunc(value);
  if (!(std::fabs(cut) < limit)) return "Huge!";
  *whole = static_cast<int32_t>(cut);
  return nullptr;
}

}  // namespace

Ombrel::Ombrel(audioMasterCallback hostCallback)
    : EffectExtended(hostCallback, kNumPrograms, kNumParameters),
      programs(new OmbrelProgram[kNumPrograms]),
      delay(std::make_unique<MidSideDelay>(double{values.delayTime} * double{values.maxDelay} *
                                           10.0 * double{sampleRate})) {
  Ombrel::setProgram(0);
  setUniqueID(fourCharCode("Ombr"));
  setNumInputs(2);
  setNumOutputs(2);
  setCanReplacing(true);
  setCanMono(true);
}

Ombrel::~Ombrel() = default;

void Ombrel::setParameter(int32_t index, float value) {
  if (!isParameter(index)) return;
  if (index == 0 && !(value >= kShortestDelayTime)) value = kShortestDelayTime;
  programs[currentProgram].*kParameters[index].value = value;
  values.*kParameters[index].value = value;
  if (index == 0) {
    // The time in seconds is rounded once to float before the sample rate
    // scales it, so a delay time and a full scale give the same delay everywhere.
    const float seconds =
        static_cast<float>(double{values.delayTime} * double{values.maxDelay} * 10.0);
    delay->setTargetDelay(double{getSampleRate()} * double{seconds},
                          4095.0 * double{values.smooth} + 1.0);
  }
}

float Ombrel::getParameter(int32_t index) {
  return isParameter(index) ? values.*kParameters[index].value : 0.0f;
}

MidSideDelay::Settings Ombrel::blockSettings() const {
  return {values.feedback, values.select >= 0.5f, values.mix};
}

void Ombrel::processReplacing(float** inputs, float** outputs, int32_t sampleFrames) {
  delay->processReplacing(inputs, outputs, sampleFrames, blockSettings());
}

void Ombrel::process(float** inputs, float** outputs, int32_t sampleFrames) {
  delay->process(inputs, outputs, sampleFrames, blockSettings());
}

void Ombrel::setProgram(int32_t program) {
  if (program < 0 || program >= kNumPrograms) return;
  currentProgram = program;
  // Index order matters: "Delay time" is applied while the previous
  // "Max delay" is still in force.
  const OmbrelProgram& selected = programs[program];
  for (int32_t index = 0; index < kNumParameters; ++index)
    setParameter(index, selected.*kParameters[index].value);
}

void Ombrel::setProgramName(char* name) {
  parameterText::copyText(programs[currentProgram].name, name, kVstMaxProgNameLen - 1);
}

void Ombrel::getProgramName(char* name) {
  parameterText::copyText(name, programs[currentProgram].name, kVstMaxProgNameLen - 1);
}

void Ombrel::getParamLabel(int32_t index, char* label) {
  if (isParameter(index)) parameterText::copyText(label, kParameters[index].label, 8);
}

void Ombrel::getParamName(int32_t index, char* text) {
  if (isParameter(index)) parameterText::copyText(text, kParameters[index].name, 23);
}

void Ombrel::getParamDisplay(int32_t index, char* text) {
  if (!isParameter(index)) return;
  // Through a named member pointer: GCC's bounds check mis-evaluates the index
  // when the table row is indexed inside the call itself.
  const auto display = kParameters[index].display;
  (this->*display)(text);
}

void Ombrel::displayDelayTime(char* text) {
  formatFloat(static_cast<float>(10000.0 * double{values.delayTime} * double{values.maxDelay}),
              text);
}

void Ombrel::displayFeedback(char* text) {
  int32_t percent = 0;
  if (const char* other = cutTowardZero(100.0 * double{values.feedback}, 2147483648.0, &percent))
    parameterText::copyText(text, other, 8);
  else
    formatLong(percent, text);
}

void Ombrel::displayMaxDelay(char* text) {
  formatFloat(static_cast<float>(10000.0 * double{values.maxDelay}), text);
  // Hosts ask for this text after a change: that is when the new full scale
  // reaches the delay.
  setParameter(0, values.delayTime);
}

void Ombrel::displayTempoSync(char* text) {
  parameterText::copyText(text, values.tempoSync > 0.5f ? "On" : "Off", 8);
}

void Ombrel::displaySelect(char* text) {
  parameterText::copyText(text, values.select >= 0.5f ? "Side" : "Mid", 8);
}

void Ombrel::displaySmooth(char* text) {
  formatFloat(static_cast<float>(4095.0 * double{values.smooth} + 1.0), text);
}

void Ombrel::displayMix(char* text) {
  // Eight digits and a sign each keep "w %d d %d" within 23 characters.
  constexpr double kLimit = 100000000.0;
  const float wet = static_cast<float>(1.0 - double{values.mix});
  int32_t wetPercent = 0;
  int32_t dryPercent = 0;
  const char* other = cutTowardZero(double{wet} * 100.0, kLimit, &wetPercent);
  if (other == nullptr) other = cutTowardZero(double{values.mix} * 100.0, kLimit, &dryPercent);
  if (other != nullptr) {
    parameterText::copyText(text, other, 8);
    return;
  }
  char scratch[32];
  std::snprintf(scratch, sizeof scratch, "w %d d %d", static_cast<int>(wetPercent),
                static_cast<int>(dryPercent));
  parameterText::copyText(text, scratch, 23);
}

void Ombrel::suspend() { delay->clear(); }
void Ombrel::resume() { wantMidi(1); }
int32_t Ombrel::getPlugCategory() { return kPlugCategEffect; }

bool Ombrel::getEffectName(char* name) {
  parameterText::copyText(name, "Ombrel", kVstMaxEffectNameLen - 1);
  return true;
}

bool Ombrel::getVendorString(char* text) {
  parameterText::copyText(text, suite::kVendor, kVstMaxVendorStrLen - 1);
  return true;
}

bool Ombrel::getProductString(char* text) {
  parameterText::copyText(text, suite::kProductUpper, kVstMaxProductStrLen - 1);
  return true;
}

int32_t Ombrel::getVendorVersion() { return suite::kVendorVersion; }
int32_t Ombrel::canDo(char* text) { return suite::delayCanDo(text); }
