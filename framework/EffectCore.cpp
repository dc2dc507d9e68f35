#include "EffectCore.h"

#include <cmath>
#include <cstring>

#include "ParameterText.h"

namespace {

EffectCore* effectOf(AEffect* effect) { return static_cast<EffectCore*>(effect->object); }

// The entry functions are what the host calls. Nothing thrown inside the
// object may cross into the host, so the dispatcher entry, the only one that
// reaches code able to throw, catches everything.
intptr_t dispatcherEntry(AEffect* effect, int32_t opcode, int32_t index, intptr_t value,
                         void* ptr, float opt) {
  EffectCore* object = effectOf(effect);
  try {
    if (opcode == effClose) {
      object->dispatcher(opcode, index, value, ptr, opt);
      delete object;
      return 1;
    }
    return object->dispatcher(opcode, index, value, ptr, opt);
  } catch (...) {
    return 0;
  }
}

// A host may hand over null channel arrays, or null channels, with an empty
// block; such a call touches nothing.
bool hasAudio(const AEffect* effect, float** inputs, float** outputs, int32_t sampleFrames) {
  if (sampleFrames <= 0 || inputs == nullptr || outputs == nullptr) return false;
  for (int32_t channel = 0; channel < effect->numInputs; ++channel)
    if (inputs[channel] == nullptr) return false;
  for (int32_t channel = 0; channel < effect->numOutputs; ++channel)
    if (outputs[channel] == nullptr) return false;
  return true;
}

void processEntry(AEffect* effect, float** inputs, float** outputs, int32_t sampleFrames) {
  if (hasAudio(effect, inputs, outputs, sampleFrames))
    effectOf(effect)->process(inputs, outputs, sampleFrames);
}

void processReplacingEntry(AEffect* effect, float** inputs, float** outputs, int32_t sampleFrames) {
  if (hasAudio(effect, inputs, outputs, sampleFrames))
    effectOf(effect)->processReplacing(inputs, outputs, sampleFrames);
}

void setParameterEntry(AEffect* effect, int32_t index, float value) {
  effectOf(effect)->setParameter(index, value);
}

float getParameterEntry(AEffect* effect, int32_t index) {
  return effectOf(effect)->getParameter(index);
}

}  // namespace

EffectCore::EffectCore(audioMasterCallback hostCallback, int32_t numPrograms, int32_t numParams)
    : sampleRate(44100.0f),
      editor(nullptr),
      hostCallback(hostCallback),
      numPrograms(numPrograms),
      numParams(numParams),
      currentProgram(0),
      blockSize(1024) {
  std::memset(&effectRecord, 0, sizeof effectRecord);
  effectRecord.magic = kEffectMagic;
  effectRecord.dispatcher = dispatcherEntry;
  effectRecord.process = processEntry;
  effectRecord.setParameter = setParameterEntry;
  effectRecord.getParameter = getParameterEntry;
  effectRecord.numPrograms = numPrograms;
  effectRecord.numParams = numParams;
  effectRecord.numInputs = 1;
  effectRecord.numOutputs = 2;
  effectRecord.ioRatio = 1.0f;
  effectRecord.object = this;
  effectRecord.uniqueID = fourCharCode("NoEf");
  effectRecord.version = 1;
  effectRecord.processReplacing = processReplacingEntry;
}

EffectCore::~EffectCore() = default;

void EffectCore::setParameter(int32_t, float) {}
float EffectCore::getParameter(int32_t) { return 0.0f; }

void EffectCore::automate(int32_t index, float value) {
  setParameter(index, value);
  callHost(audioMasterAutomate, index, 0, nullptr, value);
}

void EffectCore::processReplacing(float**, float**, int32_t) {}

intptr_t EffectCore::dispatcher(int32_t opcode, int32_t index, intptr_t value, void* ptr,
                                float opt) {
  // A host may pass no buffer with a text opcode: it is never written or read.
  if (opcodeTakesText(opcode) && ptr == nullptr) return 0;
  char* text = static_cast<char*>(ptr);
  switch (opcode) {
    case effOpen: open(); break;
    case effClose: close(); break;
    case effSetProgram:
      // Compared on the full value: 2^32 + 1 is no program, not program 1.
      if (value >= 0 && value < numPrograms) setProgram(static_cast<int32_t>(value));
      break;
    case effGetProgram: return getProgram();
    case effSetProgramName: setProgramName(text); break;
    case effGetProgramName: getProgramName(text); break;
    case effGetParamLabel: getParamLabel(index, text); break;
    case effGetParamDisplay: getParamDisplay(index, text); break;
    case effGetParamName: getParamName(index, text); break;
    case effGetVu: return parameterText::truncateToInt32(double{getVu()} * 32767.0);
    case effSetSampleRate: setSampleRate(opt); break;
    case effSetBlockSize: setBlockSize(static_cast<int32_t>(value)); break;
    case effMainsChanged:
      if (value == 0)
        suspend();
      else
        resume();
      break;
    case effIdentify: return fourCharCode("NvEf");
    case effGetChunk: return getChunk(static_cast<void**>(ptr), index != 0);
    case effSetChunk: return setChunk(ptr, static_cast<int32_t>(value), index != 0);
    default: break;  // editor opcodes, and everything above 24
  }
  return 0;
}

void EffectCore::open() {}
void EffectCore::close() {}
int32_t EffectCore::getProgram() { return currentProgram; }
void EffectCore::setProgram(int32_t program) { currentProgram = program; }
void EffectCore::setProgramName(char* name) { name[0] = '\0'; }
void EffectCore::getProgramName(char* name) { name[0] = '\0'; }
void EffectCore::getParamLabel(int32_t, char* label) { label[0] = '\0'; }
void EffectCore::getParamDisplay(int32_t, char* text) { text[0] = '\0'; }
void EffectCore::getParamName(int32_t, char* text) { text[0] = '\0'; }
float EffectCore::getVu() { return 0.0f; }
int32_t EffectCore::getChunk(void**, bool) { return 0; }
int32_t EffectCore::setChunk(void*, int32_t, bool) { return 0; }
void EffectCore::setSampleRate(float newSampleRate) { sampleRate = newSampleRate; }
void EffectCore::setBlockSize(int32_t newBlockSize) { blockSize = newBlockSize; }
void EffectCore::suspend() {}
void EffectCore::resume() {}

void EffectCore::setUniqueID(int32_t uniqueID) { effectRecord.uniqueID = uniqueID; }
void EffectCore::setNumInputs(int32_t inputs) { effectRecord.numInputs = inputs; }
void EffectCore::setNumOutputs(int32_t outputs) { effectRecord.numOutputs = outputs; }
void EffectCore::setHasVu(bool state) { setFlag(effFlagsHasVu, state); }
void EffectCore::setHasClip(bool state) { setFlag(effFlagsHasClip, state); }
void EffectCore::setCanMono(bool state) { setFlag(effFlagsCanMono, state); }
void EffectCore::setCanReplacing(bool state) { setFlag(effFlagsCanReplacing, state); }
void EffectCore::setProgramChunks(bool state) { setFlag(effFlagsProgramChunks, state); }
void EffectCore::setRealQualities(int32_t qualities) { effectRecord.realQualities = qualities; }
void EffectCore::setOffQualities(int32_t qualities) { effectRecord.offQualities = qualities; }
void EffectCore::setInitialDelay(int32_t delay) { effectRecord.initialDelay = delay; }

float EffectCore::getSampleRate() { return sampleRate; }
int32_t EffectCore::getBlockSize() { return blockSize; }

int32_t EffectCore::hostVersion() {
  const intptr_t answer = callHost(audioMasterVersion);
  return answer == 0 ? 1 : static_cast<int32_t>(answer);
}

int32_t EffectCore::currentId() { return static_cast<int32_t>(callHost(audioMasterCurrentId)); }

void EffectCore::hostIdle() { callHost(audioMasterIdle); }

bool EffectCore::inputPinConnected(int32_t index) {
  return callHost(audioMasterPinConnected, index, 0) == 0;
}

bool EffectCore::outputPinConnected(int32_t index) {
  return callHost(audioMasterPinConnected, index, 1) == 0;
}

void EffectCore::formatDecibels(float value, char* text) {
  if (value > 0.0f)
    formatFloat(static_cast<float>(20.0 * std::log10(double{value})), text);
  else
    parameterText::copyText(text, "-oo", 8);
}

void EffectCore::formatHertz(float samples, char* text) {
  const float rate = getSampleRate();
  if (samples == 0.0f)
    formatFloat(0.0f, text);
  else
    formatFloat(static_cast<float>(double{rate} / double{samples}), text);
}

void EffectCore::formatMilliseconds(float samples, char* text) {
  formatFloat(static_cast<float>(double{samples} * 1000.0 / double{getSampleRate()}), text);
}

void EffectCore::formatFloat(float value, char* text) { parameterText::formatFloat(value, text); }
void EffectCore::formatLong(int32_t value, char* text) { parameterText::formatLong(value, text); }

void EffectCore::setFlag(int32_t flag, bool state) {
  if (state)
    effectRecord.flags |= flag;
  else
    effectRecord.flags &= ~flag;
}

intptr_t EffectCore::callHost(int32_t opcode, int32_t index, intptr_t value, void* ptr, float opt) {
  if (hostCallback == nullptr) return 0;
  return hostCallback(&effectRecord, opcode, index, value, ptr, opt);
}
