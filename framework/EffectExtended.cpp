#include "EffectExtended.h"

#include <cstdlib>
#include <cstring>

const char* const plugCanDoStrings[26] = {
    "sendVstEvents", "sendVstMidiEvent", "sendVstTimeInfo", "receiveVstEvents",
    "receiveVstMidiEvent", "receiveVstTimeInfo", "offline", "plugAsChannelInsert",
    "plugAsSend", "mixDryWet", "noRealTime", "multipass", "metapass", "1in1out", "1in2out",
    "2in1out", "2in2out", "2in4out", "4in2out", "4in4out", "4in8out", "8in4out", "8in8out",
    "midiProgramNames", "conformsToWindowRules", "bypass"};

const char* const hostCanDoStrings[17] = {
    "sendVstEvents", "sendVstMidiEvent", "sendVstTimeInfo", "receiveVstEvents",
    "receiveVstMidiEvent", "receiveVstTimeInfo", "reportConnectionChanges", "acceptIOChanges",
    "sizeWindow", "asyncProcessing", "offline", "supplyIdle", "supportShell",
    "openFileSelector", "editFile", "closeFileSelector", "startStopProcess"};

namespace {

intptr_t answerBool(bool result) { return result ? 1 : 0; }

// Blocks hold as many speaker records as numChannels says, which may be more
// than the eight the interface declares, so records are found by address.
VstSpeakerProperties* speakerAt(VstSpeakerArrangement* arrangement, int32_t i) {
  return reinterpret_cast<VstSpeakerProperties*>(reinterpret_cast<char*>(arrangement) +
                                                 offsetof(VstSpeakerArrangement, speakers)) + i;
}

const VstSpeakerProperties* speakerAt(const VstSpeakerArrangement* arrangement, int32_t i) {
  return speakerAt(const_cast<VstSpeakerArrangement*>(arrangement), i);
}

}  // namespace

EffectExtended::EffectExtended(audioMasterCallback hostCallback, int32_t numPrograms,
                               int32_t numParams)
    : EffectCore(hostCallback, numPrograms, numParams) {}

EffectExtended::~EffectExtended() = default;

intptr_t EffectExtended::dispatcher(int32_t opcode, int32_t index, intptr_t value, void* ptr,
                                    float opt) {
  if (static_cast<uint32_t>(opcode) - 25u > 51u)
    return EffectCore::dispatcher(opcode, index, value, ptr, opt);
  // A host may pass no buffer with a text opcode: it is never written or read.
  if (opcodeTakesText(opcode) && ptr == nullptr) return 0;

  char* text = static_cast<char*>(ptr);
  const int32_t value32 = static_cast<int32_t>(value);
  switch (opcode) {
    case effProcessEvents: return processEvents(static_cast<VstEvents*>(ptr));
    case effCanBeAutomated: return answerBool(canBeAutomated(index));
    case effString2Parameter: return answerBool(string2Parameter(index, text));
    case effGetNumProgramCategories: return getNumProgramCategories();
    case effGetProgramNameIndexed: return answerBool(getProgramNameIndexed(value32, index, text));
    case effCopyProgram: return answerBool(copyProgram(index));
    case effConnectInput: connectInput(index, value != 0); return 1;
    case effConnectOutput: connectOutput(index, value != 0); return 1;
    case effGetInputProperties:
      return answerBool(getInputProperties(index, static_cast<VstPinProperties*>(ptr)));
    case effGetOutputProperties:
      return answerBool(getOutputProperties(index, static_cast<VstPinProperties*>(ptr)));
    case effGetPlugCategory: return getPlugCategory();
    case effGetCurrentPosition: return getCurrentPosition();
    case effGetDestinationBuffer: return reinterpret_cast<intptr_t>(getDestinationBuffer());
    case effOfflineNotify:
      return answerBool(offlineNotify(static_cast<VstAudioFile*>(ptr), value32, index != 0));
    case effOfflinePrepare:
      return answerBool(offlinePrepare(static_cast<VstOfflineTask*>(ptr), value32));
    case effOfflineRun: return answerBool(offlineRun(static_cast<VstOfflineTask*>(ptr), value32));
    case effProcessVarIo: return answerBool(processVarIo(static_cast<VstVariableIo*>(ptr)));
    case effSetSpeakerArrangement:
      return answerBool(setSpeakerArrangement(reinterpret_cast<VstSpeakerArrangement*>(value),
                                              static_cast<VstSpeakerArrangement*>(ptr)));
    case effSetBlockSizeAndSampleRate: setBlockSizeAndSampleRate(value32, opt); return 1;
    case effSetBypass: return answerBool(setBypass(value != 0));
    case effGetEffectName: return answerBool(getEffectName(text));
    case effGetErrorText: return answerBool(getErrorText(text));
    case effGetVendorString: return answerBool(getVendorString(text));
    case effGetProductString: return answerBool(getProductString(text));
    case effGetVendorVersion: return getVendorVersion();
    case effVendorSpecific: return vendorSpecific(index, value, ptr, opt);
    case effCanDo: return canDo(text);
    case effGetTailSize: return getTailSize();
    case effIdle: return idle();
    case effGetIcon: return reinterpret_cast<intptr_t>(getIcon());
    case effSetViewPosition: return answerBool(setViewPosition(index, value32));
    case effGetParameterProperties:
      return answerBool(getParameterProperties(index, static_cast<VstParameterProperties*>(ptr)));
    case effKeysRequired: return keysRequired() ? 0 : 1;
    case effGetVstVersion: return getVstVersion();
    case effEditKeyDown:
    case effEditKeyUp:
    case effSetEditKnobMode: return 0;
    case effGetMidiProgramName:
      return getMidiProgramName(index, static_cast<MidiProgramName*>(ptr));
    case effGetCurrentMidiProgram:
      return getCurrentMidiProgram(index, static_cast<MidiProgramName*>(ptr));
    case effGetMidiProgramCategory:
      return getMidiProgramCategory(index, static_cast<MidiProgramCategory*>(ptr));
    case effHasMidiProgramsChanged: return answerBool(hasMidiProgramsChanged(index));
    case effGetMidiKeyName:
      return answerBool(getMidiKeyName(index, static_cast<MidiKeyName*>(ptr)));
    case effBeginSetProgram: return answerBool(beginSetProgram());
    case effEndSetProgram: return answerBool(endSetProgram());
    case effGetSpeakerArrangement:
      return answerBool(getSpeakerArrangement(reinterpret_cast<VstSpeakerArrangement**>(value),
                                              static_cast<VstSpeakerArrangement**>(ptr)));
    case effShellGetNextPlugin: return shellGetNextPlugin(text);
    case effStartProcess: return startProcess();
    case effStopProcess: return stopProcess();
    case effSetTotalSampleToProcess: return setTotalSampleToProcess(value32);
    case effSetPanLaw: return answerBool(setPanLaw(value32, opt));
    case effBeginLoadBank: return beginLoadBank(static_cast<VstPatchChunkInfo*>(ptr));
    case effBeginLoadProgram: return beginLoadProgram(static_cast<VstPatchChunkInfo*>(ptr));
    default: return 0;
  }
}

AEffEditor* EffectExtended::getEditor() { return editor; }

void EffectExtended::wantMidi(int32_t filter) { callHost(audioMasterWantMidi, 0, filter); }

VstTimeInfo* EffectExtended::getTime(int32_t filter) {
  return reinterpret_cast<VstTimeInfo*>(callHost(audioMasterGetTime, 0, filter));
}

int32_t EffectExtended::tempoAt(int32_t position) {
  return static_cast<int32_t>(callHost(audioMasterTempoAt, 0, position));
}

int32_t EffectExtended::processEvents(VstEvents*) { return 0; }

int32_t EffectExtended::getNumAutomatableParameters() {
  return static_cast<int32_t>(callHost(audioMasterGetNumAutomatableParameters));
}

int32_t EffectExtended::getParameterQuantization() {
  return static_cast<int32_t>(callHost(audioMasterGetParameterQuantization));
}

bool EffectExtended::canBeAutomated(int32_t) { return true; }
bool EffectExtended::string2Parameter(int32_t, char*) { return false; }
int32_t EffectExtended::getNumProgramCategories() { return 1; }
bool EffectExtended::getProgramNameIndexed(int32_t, int32_t, char*) { return false; }
bool EffectExtended::copyProgram(int32_t) { return false; }
bool EffectExtended::ioChanged() { return callHost(audioMasterIOChanged) != 0; }
bool EffectExtended::needIdle() { return callHost(audioMasterNeedIdle) != 0; }

bool EffectExtended::sizeWindow(int32_t width, int32_t height) {
  return callHost(audioMasterSizeWindow, width, height) != 0;
}

float EffectExtended::hostGetSampleRate() {
  const intptr_t answer = callHost(audioMasterGetSampleRate);
  if (answer > 0) sampleRate = static_cast<float>(answer);
  return sampleRate;
}

int32_t EffectExtended::hostGetBlockSize() {
  const intptr_t answer = callHost(audioMasterGetBlockSize);
  if (answer > 0) blockSize = static_cast<int32_t>(answer);
  return blockSize;
}

int32_t EffectExtended::getInputLatency() {
  return static_cast<int32_t>(callHost(audioMasterGetInputLatency));
}

int32_t EffectExtended::getOutputLatency() {
  return static_cast<int32_t>(callHost(audioMasterGetOutputLatency));
}

// The pin number is not passed on: hosts answer with the neighbour on the
// plug-in's main pin.
AEffect* EffectExtended::getPreviousPlug(int32_t) {
  return reinterpret_cast<AEffect*>(callHost(audioMasterGetPreviousPlug));
}

AEffect* EffectExtended::getNextPlug(int32_t) {
  return reinterpret_cast<AEffect*>(callHost(audioMasterGetNextPlug));
}

void EffectExtended::connectInput(int32_t, bool) {}
void EffectExtended::connectOutput(int32_t, bool) {}
bool EffectExtended::getInputProperties(int32_t, VstPinProperties*) { return false; }
bool EffectExtended::getOutputProperties(int32_t, VstPinProperties*) { return false; }

int32_t EffectExtended::getPlugCategory() {
  return (effectRecord.flags & effFlagsIsSynth) != 0 ? kPlugCategSynth : kPlugCategUnknown;
}

int32_t EffectExtended::willReplaceOrAccumulate() {
  return static_cast<int32_t>(callHost(audioMasterWillReplaceOrAccumulate));
}

int32_t EffectExtended::getCurrentProcessLevel() {
  return static_cast<int32_t>(callHost(audioMasterGetCurrentProcessLevel));
}

int32_t EffectExtended::getAutomationState() {
  return static_cast<int32_t>(callHost(audioMasterGetAutomationState));
}

void EffectExtended::setExtIsAsync(bool state) { setFlag(effFlagsExtIsAsync, state); }
void EffectExtended::setExtHasBuffer(bool state) { setFlag(effFlagsExtHasBuffer, state); }
int32_t EffectExtended::getCurrentPosition() { return 0; }
float* EffectExtended::getDestinationBuffer() { return nullptr; }

bool EffectExtended::offlineRead(VstOfflineTask* task, int32_t option, bool readSource) {
  return callHost(audioMasterOfflineRead, readSource ? 1 : 0, option, task) != 0;
}

bool EffectExtended::offlineWrite(VstOfflineTask* task, int32_t option) {
  return callHost(audioMasterOfflineWrite, 0, option, task) != 0;
}

bool EffectExtended::offlineStart(VstAudioFile* audioFiles, int32_t numAudioFiles,
                                  int32_t numNewAudioFiles) {
  return callHost(audioMasterOfflineStart, numNewAudioFiles, numAudioFiles, audioFiles) != 0;
}

int32_t EffectExtended::offlineGetCurrentPass() {
  return callHost(audioMasterOfflineGetCurrentPass) != 0 ? 1 : 0;
}

int32_t EffectExtended::offlineGetCurrentMetaPass() {
  return callHost(audioMasterOfflineGetCurrentMetaPass) != 0 ? 1 : 0;
}

bool EffectExtended::offlineNotify(VstAudioFile*, int32_t, bool) { return false; }
bool EffectExtended::offlinePrepare(VstOfflineTask*, int32_t) { return false; }
bool EffectExtended::offlineRun(VstOfflineTask*, int32_t) { return false; }

void EffectExtended::setOutputSampleRate(float rate) {
  callHost(audioMasterSetOutputSampleRate, 0, 0, nullptr, rate);
}

VstSpeakerArrangement* EffectExtended::getInputSpeakerArrangement() {
  return reinterpret_cast<VstSpeakerArrangement*>(callHost(audioMasterGetInputSpeakerArrangement));
}

VstSpeakerArrangement* EffectExtended::getOutputSpeakerArrangement() {
  return reinterpret_cast<VstSpeakerArrangement*>(
      callHost(audioMasterGetOutputSpeakerArrangement));
}

bool EffectExtended::hostGetVendorString(char* text) {
  return callHost(audioMasterGetVendorString, 0, 0, text) != 0;
}

bool EffectExtended::hostGetProductString(char* text) {
  return callHost(audioMasterGetProductString, 0, 0, text) != 0;
}

int32_t EffectExtended::hostGetVendorVersion() {
  return static_cast<int32_t>(callHost(audioMasterGetVendorVersion));
}

intptr_t EffectExtended::hostVendorSpecific(int32_t arg1, intptr_t arg2, void* ptrArg,
                                            float floatArg) {
  return callHost(audioMasterVendorSpecific, arg1, arg2, ptrArg, floatArg);
}

int32_t EffectExtended::hostCanDo(char* text) {
  return callHost(audioMasterCanDo, 0, 0, text) != 0 ? 1 : 0;
}

void EffectExtended::setIsSynth(bool state) { setFlag(effFlagsIsSynth, state); }
void EffectExtended::setNoSoundInStop(bool state) { setFlag(effFlagsNoSoundInStop, state); }

int32_t EffectExtended::getLanguage() {
  return static_cast<int32_t>(callHost(audioMasterGetLanguage));
}

void* EffectExtended::openWindow(VstWindow* window) {
  return reinterpret_cast<void*>(callHost(audioMasterOpenWindow, 0, 0, window));
}

bool EffectExtended::closeWindow(VstWindow* window) {
  return callHost(audioMasterCloseWindow, 0, 0, window) != 0;
}

void* EffectExtended::getDirectory() {
  return reinterpret_cast<void*>(callHost(audioMasterGetDirectory));
}

bool EffectExtended::updateDisplay() { return callHost(audioMasterUpdateDisplay) != 0; }
bool EffectExtended::processVarIo(VstVariableIo*) { return false; }

bool EffectExtended::setSpeakerArrangement(VstSpeakerArrangement*, VstSpeakerArrangement*) {
  return false;
}

bool EffectExtended::getSpeakerArrangement(VstSpeakerArrangement** input,
                                           VstSpeakerArrangement** output) {
  if (input != nullptr) *input = nullptr;
  if (output != nullptr) *output = nullptr;
  return false;
}

void EffectExtended::setBlockSizeAndSampleRate(int32_t newBlockSize, float newSampleRate) {
  blockSize = newBlockSize;
  sampleRate = newSampleRate;
}

bool EffectExtended::setBypass(bool) { return false; }
bool EffectExtended::getEffectName(char*) { return false; }
bool EffectExtended::getErrorText(char*) { return false; }
bool EffectExtended::getVendorString(char*) { return false; }
bool EffectExtended::getProductString(char*) { return false; }
int32_t EffectExtended::getVendorVersion() { return 0; }
intptr_t EffectExtended::vendorSpecific(int32_t, intptr_t, void*, float) { return 0; }
int32_t EffectExtended::canDo(char*) { return 0; }
void* EffectExtended::getIcon() { return nullptr; }
bool EffectExtended::setViewPosition(int32_t, int32_t) { return false; }
int32_t EffectExtended::getTailSize() { return 0; }
int32_t EffectExtended::idle() { return 0; }
bool EffectExtended::getParameterProperties(int32_t, VstParameterProperties*) { return false; }
bool EffectExtended::keysRequired() { return false; }
int32_t EffectExtended::getVstVersion() { return 2300; }
int32_t EffectExtended::getMidiProgramName(int32_t, MidiProgramName*) { return 0; }
int32_t EffectExtended::getCurrentMidiProgram(int32_t, MidiProgramName*) { return -1; }
int32_t EffectExtended::getMidiProgramCategory(int32_t, MidiProgramCategory*) { return 0; }
bool EffectExtended::hasMidiProgramsChanged(int32_t) { return false; }
bool EffectExtended::getMidiKeyName(int32_t, MidiKeyName*) { return false; }
bool EffectExtended::beginSetProgram() { return false; }
bool EffectExtended::endSetProgram() { return false; }

bool EffectExtended::beginEdit(int32_t index) {
  return callHost(audioMasterBeginEdit, index) != 0;
}

bool EffectExtended::endEdit(int32_t index) { return callHost(audioMasterEndEdit, index) != 0; }

bool EffectExtended::openFileSelector(VstFileSelect* selector) {
  if (selector == nullptr) return false;
  return callHost(audioMasterOpenFileSelector, 0, 0, selector) != 0;
}

int32_t EffectExtended::setTotalSampleToProcess(int32_t value) { return value; }
int32_t EffectExtended::shellGetNextPlugin(char*) { return 0; }
int32_t EffectExtended::startProcess() { return 0; }
int32_t EffectExtended::stopProcess() { return 0; }
bool EffectExtended::setPanLaw(int32_t, float) { return false; }
int32_t EffectExtended::beginLoadBank(VstPatchChunkInfo*) { return 0; }
int32_t EffectExtended::beginLoadProgram(VstPatchChunkInfo*) { return 0; }

bool EffectExtended::allocateSpeakerArrangement(VstSpeakerArrangement** holder, int32_t count) {
  if (holder == nullptr) return false;
  freeSpeakerArrangement(holder);
  constexpr int64_t kHeaderBytes = offsetof(VstSpeakerArrangement, speakers);
  const int64_t size = kHeaderBytes + int64_t{sizeof(VstSpeakerProperties)} * count;
  if (count < 0 || size > INT32_MAX) return false;
  void* block = std::calloc(1, static_cast<size_t>(size));
  if (block == nullptr) return false;
  *holder = static_cast<VstSpeakerArrangement*>(block);
  (*holder)->numChannels = count;
  return true;
}

bool EffectExtended::freeSpeakerArrangement(VstSpeakerArrangement** holder) {
  if (holder != nullptr && *holder != nullptr) {
    std::free(*holder);
    *holder = nullptr;
  }
  return true;
}

bool EffectExtended::copySpeakerProperties(VstSpeakerProperties* to,
                                           const VstSpeakerProperties* from) {
  if (to == nullptr || from == nullptr) return false;
  // The name is copied as text; the destination's bytes after its terminator stay.
  size_t nameLength = 0;
  while (nameLength < sizeof from->name && from->name[nameLength] != '\0') ++nameLength;
  std::memcpy(to->name, from->name, nameLength < sizeof to->name ? nameLength + 1 : nameLength);
  to->type = from->type;
  to->azimuth = from->azimuth;
  to->elevation = from->elevation;
  to->radius = from->radius;
  to->reserved = from->reserved;
  std::memcpy(to->future, from->future, sizeof to->future);
  return true;
}

bool EffectExtended::copySpeakerArrangement(VstSpeakerArrangement** toHolder,
                                            const VstSpeakerArrangement* from) {
  if (from == nullptr || toHolder == nullptr) return false;
  if (!freeSpeakerArrangement(toHolder)) return false;
  if (!allocateSpeakerArrangement(toHolder, from->numChannels)) return false;
  VstSpeakerArrangement* copy = *toHolder;
  copy->type = from->type;
  for (int32_t i = 0; i < copy->numChannels; ++i)
    if (!copySpeakerProperties(speakerAt(copy, i), speakerAt(from, i))) return false;
  return true;
}

bool EffectExtended::hostProcessEvents(VstEvents* events) {
  return callHost(audioMasterProcessEvents, 0, 0, events) == 1;
}

bool EffectExtended::closeFileSelector(VstFileSelect* selector) {
  if (selector == nullptr) return false;
  return callHost(audioMasterCloseFileSelector, 0, 0, selector) != 0;
}

bool EffectExtended::getChunkFile(void* nativePath) {
  if (nativePath == nullptr) return false;
  return callHost(audioMasterGetChunkFile, 0, 0, nativePath) != 0;
}
