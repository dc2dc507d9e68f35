// The effect base classes, driven directly through a small test effect: the
// record, the entry functions, both dispatchers, the host services and the
// plug-in entry helper.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>
#include <stdexcept>

#include "PluginEntry.h"
#include "TestEffect.h"

namespace {

class FrameworkTest : public ::testing::Test {
 protected:
  void SetUp() override { RecordingHost::reset(); }
  TestEffect effect{RecordingHost::callback};
  AEffect* record = effect.getEffectRecord();

  intptr_t dispatch(int32_t opcode, int32_t index = 0, intptr_t value = 0, void* ptr = nullptr,
                    float opt = 0.0f) {
    return record->dispatcher(record, opcode, index, value, ptr, opt);
  }
};

TEST_F(FrameworkTest, RecordAndFieldsAfterConstruction) {
  EXPECT_EQ(record->magic, 0x56737450);
  EXPECT_EQ(record->uniqueID, 0x4E6F4566);
  EXPECT_EQ(record->numPrograms, 3);
  EXPECT_EQ(record->numParams, 2);
  EXPECT_EQ(record->numInputs, 1);
  EXPECT_EQ(record->numOutputs, 2);
  EXPECT_EQ(record->flags, 0);
  EXPECT_EQ(record->resvd1, 0);
  EXPECT_EQ(record->resvd2, 0);
  EXPECT_EQ(record->initialDelay, 0);
  EXPECT_EQ(record->realQualities, 0);
  EXPECT_EQ(record->offQualities, 0);
  EXPECT_EQ(record->ioRatio, 1.0f);
  EXPECT_EQ(record->object, static_cast<EffectCore*>(&effect));
  EXPECT_EQ(record->user, nullptr);
  EXPECT_EQ(record->version, 1);
  EXPECT_NE(record->dispatcher, nullptr);
  EXPECT_NE(record->process, nullptr);
  EXPECT_NE(record->processReplacing, nullptr);
  EXPECT_NE(record->setParameter, nullptr);
  EXPECT_NE(record->getParameter, nullptr);
  for (char byte : record->future) EXPECT_EQ(byte, 0);
  EXPECT_EQ(effect.sampleRate, 44100.0f);
  EXPECT_EQ(effect.blockSize, 1024);
  EXPECT_EQ(effect.currentProgram, 0);
  EXPECT_EQ(effect.getEditor(), nullptr);
  EXPECT_TRUE(RecordingHost::calls.empty());
}

TEST_F(FrameworkTest, FlagSettersChangeOnlyTheirOwnBit) {
  effect.setCanMono(true);
  effect.setCanMono(true);
  EXPECT_EQ(record->flags, 8);
  effect.setCanReplacing(true);
  EXPECT_EQ(record->flags, 24);
  effect.setCanMono(false);
  EXPECT_EQ(record->flags, 16);

  const std::vector<std::pair<std::function<void(bool)>, int32_t>> setters = {
      {[&](bool on) { effect.setHasClip(on); }, 2},
      {[&](bool on) { effect.setHasVu(on); }, 4},
      {[&](bool on) { effect.setProgramChunks(on); }, 32},
      {[&](bool on) { effect.setIsSynth(on); }, 256},
      {[&](bool on) { effect.setNoSoundInStop(on); }, 512},
      {[&](bool on) { effect.setExtIsAsync(on); }, 1024},
      {[&](bool on) { effect.setExtHasBuffer(on); }, 2048},
  };
  for (const auto& [setter, bit] : setters) {
    setter(true);
    EXPECT_EQ(record->flags, 16 | bit);
    setter(false);
    EXPECT_EQ(record->flags, 16);
  }
}

TEST_F(FrameworkTest, RecordSetters) {
  effect.setUniqueID(fourCharCode("Abcd"));
  effect.setNumInputs(2);
  effect.setNumOutputs(4);
  effect.setInitialDelay(64);
  effect.setRealQualities(3);
  effect.setOffQualities(5);
  EXPECT_EQ(record->uniqueID, 0x41626364);
  EXPECT_EQ(record->numInputs, 2);
  EXPECT_EQ(record->numOutputs, 4);
  EXPECT_EQ(record->initialDelay, 64);
  EXPECT_EQ(record->realQualities, 3);
  EXPECT_EQ(record->offQualities, 5);
}

TEST_F(FrameworkTest, EntryFunctionsReachTheObject) {
  record->setParameter(record, 1, 0.25f);
  ASSERT_EQ(effect.parameterLog.size(), 1u);
  EXPECT_EQ(effect.parameterLog[0].index, 1);
  EXPECT_EQ(effect.parameterLog[0].value, 0.25f);
  EXPECT_EQ(record->getParameter(record, 0), 0.0f);

  float left[4] = {}, right[4] = {};
  float* channels[2] = {left, right};
  record->process(record, channels, channels, 4);
  EXPECT_EQ(effect.processCalls, 1);
}

TEST_F(FrameworkTest, ProcessEntriesIgnoreEmptyBlocksAndNullChannels) {
  float left[4] = {}, right[4] = {};
  float* channels[2] = {left, right};
  float* missing[2] = {left, nullptr};
  record->process(record, channels, channels, 0);
  record->process(record, channels, channels, -5);
  record->process(record, nullptr, channels, 4);
  record->process(record, channels, nullptr, 4);
  record->process(record, channels, missing, 4);
  record->processReplacing(record, nullptr, nullptr, 4);
  EXPECT_EQ(effect.processCalls, 0);
}

TEST_F(FrameworkTest, BasicDispatcherAnswers) {
  struct Row {
    int32_t opcode;
    intptr_t expected;
  };
  const Row rows[] = {
      {effOpen, 0},        {effGetProgram, 0},   {effGetVu, 0},      {effEditGetRect, 0},
      {effEditOpen, 0},    {effEditClose, 0},    {effEditIdle, 0},   {effEditSleep, 0},
      {effIdentify, 0x4E764566}, {effGetChunk, 0}, {77, 0},          {1000, 0},
      {-1, 0},             {std::numeric_limits<int32_t>::min(), 0},
  };
  char buffer[16] = "untouched";
  for (const Row& row : rows) {
    EXPECT_EQ(effect.EffectCore::dispatcher(row.opcode, 3, 5, buffer, 1.0f), row.expected)
        << "opcode " << row.opcode;
    EXPECT_EQ(dispatch(row.opcode, 3, 5, buffer, 1.0f), row.expected) << "opcode " << row.opcode;
  }
  EXPECT_STREQ(buffer, "untouched");
  EXPECT_TRUE(RecordingHost::calls.empty());
  EXPECT_TRUE(effect.parameterLog.empty());
}

TEST_F(FrameworkTest, GetVuIsScaledAndTruncated) {
  const std::pair<float, intptr_t> rows[] = {
      {0.5f, 16383}, {-0.5f, -16383}, {1.0f, 32767}, {0.0f, 0},
      {std::nanf(""), 0}, {1e30f, std::numeric_limits<int32_t>::max()},
      {-INFINITY, std::numeric_limits<int32_t>::min()},
  };
  for (const auto& [vu, expected] : rows) {
    effect.vu = vu;
    EXPECT_EQ(dispatch(effGetVu), expected) << "vu " << vu;
  }
}

TEST_F(FrameworkTest, SetProgramStaysWithinTheBank) {
  const std::pair<intptr_t, int32_t> rows[] = {
      {2, 2}, {3, 2}, {-1, 2}, {(intptr_t{1} << 32) + 1, 2}, {0, 0}, {INTPTR_MIN, 0}, {1, 1},
  };
  for (const auto& [value, expected] : rows) {
    dispatch(effSetProgram, 0, value);
    EXPECT_EQ(dispatch(effGetProgram), expected) << "value " << value;
  }
}

TEST_F(FrameworkTest, MainsChangedChoosesBySwitchValue) {
  dispatch(effMainsChanged, 0, 2);
  dispatch(effMainsChanged, 0, 1);
  dispatch(effMainsChanged, 0, 0);
  EXPECT_EQ(effect.resumeCalls, 2);
  EXPECT_EQ(effect.suspendCalls, 1);
}

TEST_F(FrameworkTest, SampleRateBlockSizeAndChunk) {
  dispatch(effSetSampleRate, 0, 0, nullptr, 96000.0f);
  dispatch(effSetBlockSize, 0, 256);
  EXPECT_EQ(effect.getSampleRate(), 96000.0f);
  EXPECT_EQ(effect.getBlockSize(), 256);

  char data[4];
  EXPECT_EQ(dispatch(effSetChunk, 1, 4, data), 77);
  EXPECT_EQ(effect.lastChunk, data);
  EXPECT_EQ(effect.lastChunkSize, 4);
  EXPECT_TRUE(effect.lastChunkIsPreset);
  dispatch(effSetChunk, 0, 9, data);
  EXPECT_FALSE(effect.lastChunkIsPreset);
}

TEST_F(FrameworkTest, DefaultTextOperationsWriteEmptyStrings) {
  for (int32_t opcode : {effGetProgramName, effGetParamLabel, effGetParamDisplay, effGetParamName,
                         effSetProgramName}) {
    char buffer[16] = "something";
    dispatch(opcode, 0, 0, buffer);
    EXPECT_STREQ(buffer, "") << "opcode " << opcode;
  }
}

TEST_F(FrameworkTest, NullTextPointersAreNeverUsed) {
  for (int32_t opcode :
       {effSetProgramName, effGetProgramName, effGetParamLabel, effGetParamDisplay,
        effGetParamName, effString2Parameter, effGetProgramNameIndexed, effGetEffectName,
        effGetErrorText, effGetVendorString, effGetProductString, effCanDo,
        effShellGetNextPlugin}) {
    EXPECT_EQ(dispatch(opcode, 0, 0, nullptr), 0) << "opcode " << opcode;
  }
}

// How each opcode from 25 to 76 answers with the default operations.
TEST_F(FrameworkTest, ExtendedDispatcherAnswers) {
  struct Row {
    int32_t opcode;
    int32_t index;
    intptr_t value;
    intptr_t expected;
  };
  const Row rows[] = {
      {effProcessEvents, 0, 0, 0},         {effCanBeAutomated, 0, 0, 1},
      {effCanBeAutomated, 99, 0, 1},       {effString2Parameter, 0, 0, 0},
      {effGetNumProgramCategories, 0, 0, 1}, {effGetProgramNameIndexed, 0, 0, 0},
      {effCopyProgram, 1, 0, 0},           {effConnectInput, 0, 0, 1},
      {effConnectInput, 7, 1, 1},          {effConnectOutput, 1, 1, 1},
      {effGetInputProperties, 0, 0, 0},    {effGetOutputProperties, 0, 0, 0},
      {effGetPlugCategory, 0, 0, 0},       {effGetCurrentPosition, 0, 0, 0},
      {effGetDestinationBuffer, 0, 0, 0},  {effOfflineNotify, 1, 2, 0},
      {effOfflinePrepare, 0, 2, 0},        {effOfflineRun, 0, 2, 0},
      {effProcessVarIo, 0, 0, 0},          {effSetSpeakerArrangement, 0, 0, 0},
      {effSetBypass, 0, 1, 0},             {effGetEffectName, 0, 0, 0},
      {effGetErrorText, 0, 0, 0},          {effGetVendorString, 0, 0, 0},
      {effGetProductString, 0, 0, 0},      {effGetVendorVersion, 0, 0, 0},
      {effVendorSpecific, 1, 2, 0},        {effCanDo, 0, 0, 0},
      {effGetTailSize, 0, 0, 0},           {effIdle, 0, 0, 0},
      {effGetIcon, 0, 0, 0},               {effSetViewPosition, 3, 4, 0},
      {effGetParameterProperties, 0, 0, 0}, {effKeysRequired, 0, 0, 1},
      {effGetVstVersion, 0, 0, 2300},      {effEditKeyDown, 0, 0, 0},
      {effEditKeyUp, 0, 0, 0},             {effSetEditKnobMode, 0, 0, 0},
      {effGetMidiProgramName, 0, 0, 0},    {effGetCurrentMidiProgram, 0, 0, -1},
      {effGetMidiProgramCategory, 0, 0, 0}, {effHasMidiProgramsChanged, 0, 0, 0},
      {effGetMidiKeyName, 0, 0, 0},        {effBeginSetProgram, 0, 0, 0},
      {effEndSetProgram, 0, 0, 0},         {effShellGetNextPlugin, 0, 0, 0},
      {effStartProcess, 0, 0, 0},          {effStopProcess, 0, 0, 0},
      {effSetTotalSampleToProcess, 0, 4410, 4410}, {effSetTotalSampleToProcess, 0, -3, -3},
      {effSetPanLaw, 0, 1, 0},             {effBeginLoadBank, 0, 0, 0},
      {effBeginLoadProgram, 0, 0, 0},
  };
  for (const Row& row : rows) {
    char buffer[64] = "unchanged";
    EXPECT_EQ(dispatch(row.opcode, row.index, row.value, buffer, 0.5f), row.expected)
        << "opcode " << row.opcode;
    EXPECT_STREQ(buffer, "unchanged") << "opcode " << row.opcode;
  }
  EXPECT_TRUE(RecordingHost::calls.empty());
}

TEST_F(FrameworkTest, EveryPlugCanDoStringAnswersZeroByDefault) {
  for (const char* capability : plugCanDoStrings) {
    std::string text = capability;
    EXPECT_EQ(dispatch(effCanDo, 0, 0, text.data()), 0) << capability;
  }
  EXPECT_STREQ(plugCanDoStrings[25], "bypass");
  EXPECT_STREQ(hostCanDoStrings[16], "startStopProcess");
}

TEST_F(FrameworkTest, KeysRequiredAnswerIsInverted) {
  effect.keysAnswer = true;
  EXPECT_EQ(dispatch(effKeysRequired), 0);
}

TEST_F(FrameworkTest, PlugCategoryFollowsTheSynthFlag) {
  effect.setCanReplacing(true);
  effect.setIsSynth(true);
  EXPECT_EQ(dispatch(effGetPlugCategory), 2);
  effect.setIsSynth(false);
  EXPECT_EQ(dispatch(effGetPlugCategory), 0);
  EXPECT_EQ(record->flags, 16);
}

TEST_F(FrameworkTest, BlockSizeAndSampleRateTogetherBypassTheSetters) {
  EXPECT_EQ(dispatch(effSetBlockSizeAndSampleRate, 0, 512, nullptr, 48000.0f), 1);
  EXPECT_EQ(effect.blockSize, 512);
  EXPECT_EQ(effect.sampleRate, 48000.0f);
  EXPECT_EQ(effect.setBlockSizeCalls, 0);
  EXPECT_EQ(effect.setSampleRateCalls, 0);
}

TEST_F(FrameworkTest, GetSpeakerArrangementEmptiesTheHolders) {
  VstSpeakerArrangement dummy{};
  VstSpeakerArrangement* input = &dummy;
  VstSpeakerArrangement* output = &dummy;
  EXPECT_EQ(dispatch(effGetSpeakerArrangement, 0, reinterpret_cast<intptr_t>(&input), &output), 0);
  EXPECT_EQ(input, nullptr);
  EXPECT_EQ(output, nullptr);
  EXPECT_EQ(dispatch(effGetSpeakerArrangement, 0, 0, nullptr), 0);
}

TEST(EffectLifecycle, CloseDestroysOnceAndAnswersOne) {
  int closes = 0, destroyed = 0;
  auto* effect = new TestEffect(nullptr);
  effect->closeCounter = &closes;
  effect->destroyCounter = &destroyed;
  AEffect* record = effect->getEffectRecord();
  EXPECT_EQ(record->dispatcher(record, effClose, 0, 0, nullptr, 0.0f), 1);
  EXPECT_EQ(closes, 1);
  EXPECT_EQ(destroyed, 1);
}

TEST(EffectLifecycle, TwoInstancesAreIndependent) {
  TestEffect first, second;
  first.setSampleRate(96000.0f);
  first.setUniqueID(1);
  EXPECT_NE(first.getEffectRecord(), second.getEffectRecord());
  EXPECT_EQ(second.getSampleRate(), 44100.0f);
  EXPECT_EQ(second.getEffectRecord()->uniqueID, 0x4E6F4566);
}

// ---- The plug-in entry helper behind every deliverable's main ----

class ThrowingEffect : public TestEffect {
 public:
  explicit ThrowingEffect(audioMasterCallback callback) : TestEffect(callback) {
    throw std::bad_alloc();
  }
};

TEST(PluginEntry, RefusesMissingOrZeroVersionHosts) {
  TestEffect::constructed = 0;
  EXPECT_EQ(createEffect<TestEffect>(nullptr), nullptr);
  RecordingHost::reset(0);
  EXPECT_EQ(createEffect<TestEffect>(RecordingHost::callback), nullptr);
  ASSERT_EQ(RecordingHost::calls.size(), 1u);
  EXPECT_EQ(RecordingHost::calls[0].effect, nullptr);
  EXPECT_EQ(RecordingHost::calls[0].opcode, audioMasterVersion);
  EXPECT_EQ(TestEffect::constructed, 0);
}

TEST(PluginEntry, BuildsAnEffectForAnyNonZeroVersion) {
  RecordingHost::reset(2300);
  AEffect* record = createEffect<TestEffect>(RecordingHost::callback);
  ASSERT_NE(record, nullptr);
  EXPECT_EQ(record->magic, kEffectMagic);
  EXPECT_EQ(record->dispatcher(record, effClose, 0, 0, nullptr, 0.0f), 1);
}

TEST(PluginEntry, AFailedConstructionGivesNull) {
  RecordingHost::reset(2400);
  EXPECT_EQ(createEffect<ThrowingEffect>(RecordingHost::callback), nullptr);
}

// ---- Host services ----

struct ServiceRow {
  const char* name;
  std::function<intptr_t(TestEffect&, void* ptr)> call;
  int32_t opcode, index;
  intptr_t value;
  bool passesPtr;
  float opt;
  intptr_t hostAnswer, result, resultWithoutHost;
};

std::vector<ServiceRow> serviceRows() {
  using E = TestEffect;
  auto p = [](void* ptr) { return ptr; };
  return {
      {"automate", [](E& e, void*) { e.automate(3, 0.25f); return intptr_t{0}; },
       audioMasterAutomate, 3, 0, false, 0.25f, 9, 0, 0},
      {"hostVersion", [](E& e, void*) { return intptr_t{e.hostVersion()}; }, audioMasterVersion,
       0, 0, false, 0, 2300, 2300, 1},
      {"hostVersion zero", [](E& e, void*) { return intptr_t{e.hostVersion()}; },
       audioMasterVersion, 0, 0, false, 0, 0, 1, 1},
      {"currentId", [](E& e, void*) { return intptr_t{e.currentId()}; }, audioMasterCurrentId, 0,
       0, false, 0, 42, 42, 0},
      {"hostIdle", [](E& e, void*) { e.hostIdle(); return intptr_t{0}; }, audioMasterIdle, 0, 0,
       false, 0, 5, 0, 0},
      {"inputPinConnected", [](E& e, void*) { return intptr_t{e.inputPinConnected(1)}; },
       audioMasterPinConnected, 1, 0, false, 0, 1, 0, 1},
      {"inputPinConnected zero", [](E& e, void*) { return intptr_t{e.inputPinConnected(0)}; },
       audioMasterPinConnected, 0, 0, false, 0, 0, 1, 1},
      {"outputPinConnected", [](E& e, void*) { return intptr_t{e.outputPinConnected(2)}; },
       audioMasterPinConnected, 2, 1, false, 0, 0, 1, 1},
      {"wantMidi", [](E& e, void*) { e.wantMidi(1); return intptr_t{0}; }, audioMasterWantMidi,
       0, 1, false, 0, 7, 0, 0},
      {"getTime", [](E& e, void*) { return reinterpret_cast<intptr_t>(e.getTime(3)); },
       audioMasterGetTime, 0, 3, false, 0, 0x1000, 0x1000, 0},
      {"hostProcessEvents", [p](E& e, void* ptr) {
         return intptr_t{e.hostProcessEvents(static_cast<VstEvents*>(p(ptr)))}; },
       audioMasterProcessEvents, 0, 0, true, 0, 1, 1, 0},
      {"hostProcessEvents two", [](E& e, void* ptr) {
         return intptr_t{e.hostProcessEvents(static_cast<VstEvents*>(ptr))}; },
       audioMasterProcessEvents, 0, 0, true, 0, 2, 0, 0},
      {"hostProcessEvents minus one", [](E& e, void* ptr) {
         return intptr_t{e.hostProcessEvents(static_cast<VstEvents*>(ptr))}; },
       audioMasterProcessEvents, 0, 0, true, 0, -1, 0, 0},
      {"tempoAt", [](E& e, void*) { return intptr_t{e.tempoAt(512)}; }, audioMasterTempoAt, 0,
       512, false, 0, 1200000, 1200000, 0},
      {"getNumAutomatableParameters", [](E& e, void*) {
         return intptr_t{e.getNumAutomatableParameters()}; },
       audioMasterGetNumAutomatableParameters, 0, 0, false, 0, 8, 8, 0},
      {"getParameterQuantization", [](E& e, void*) {
         return intptr_t{e.getParameterQuantization()}; },
       audioMasterGetParameterQuantization, 0, 0, false, 0, 100, 100, 0},
      {"ioChanged", [](E& e, void*) { return intptr_t{e.ioChanged()}; }, audioMasterIOChanged, 0,
       0, false, 0, -1, 1, 0},
      {"needIdle", [](E& e, void*) { return intptr_t{e.needIdle()}; }, audioMasterNeedIdle, 0, 0,
       false, 0, 3, 1, 0},
      {"sizeWindow", [](E& e, void*) { return intptr_t{e.sizeWindow(640, 480)}; },
       audioMasterSizeWindow, 640, 480, false, 0, 1, 1, 0},
      {"getInputLatency", [](E& e, void*) { return intptr_t{e.getInputLatency()}; },
       audioMasterGetInputLatency, 0, 0, false, 0, 64, 64, 0},
      {"getOutputLatency", [](E& e, void*) { return intptr_t{e.getOutputLatency()}; },
       audioMasterGetOutputLatency, 0, 0, false, 0, 128, 128, 0},
      {"getPreviousPlug", [](E& e, void*) {
         return reinterpret_cast<intptr_t>(e.getPreviousPlug(1)); },
       audioMasterGetPreviousPlug, 0, 0, false, 0, 0x2000, 0x2000, 0},
      {"getNextPlug", [](E& e, void*) { return reinterpret_cast<intptr_t>(e.getNextPlug(1)); },
       audioMasterGetNextPlug, 0, 0, false, 0, 0x3000, 0x3000, 0},
      {"willReplaceOrAccumulate", [](E& e, void*) {
         return intptr_t{e.willReplaceOrAccumulate()}; },
       audioMasterWillReplaceOrAccumulate, 0, 0, false, 0, 1, 1, 0},
      {"getCurrentProcessLevel", [](E& e, void*) { return intptr_t{e.getCurrentProcessLevel()}; },
       audioMasterGetCurrentProcessLevel, 0, 0, false, 0, 2, 2, 0},
      {"getAutomationState", [](E& e, void*) { return intptr_t{e.getAutomationState()}; },
       audioMasterGetAutomationState, 0, 0, false, 0, 3, 3, 0},
      {"offlineStart", [](E& e, void* ptr) {
         return intptr_t{e.offlineStart(static_cast<VstAudioFile*>(ptr), 4, 2)}; },
       audioMasterOfflineStart, 2, 4, true, 0, 1, 1, 0},
      {"offlineRead source", [](E& e, void* ptr) {
         return intptr_t{e.offlineRead(static_cast<VstOfflineTask*>(ptr), 6, true)}; },
       audioMasterOfflineRead, 1, 6, true, 0, 1, 1, 0},
      {"offlineRead destination", [](E& e, void* ptr) {
         return intptr_t{e.offlineRead(static_cast<VstOfflineTask*>(ptr), 6, false)}; },
       audioMasterOfflineRead, 0, 6, true, 0, 0, 0, 0},
      {"offlineWrite", [](E& e, void* ptr) {
         return intptr_t{e.offlineWrite(static_cast<VstOfflineTask*>(ptr), 5)}; },
       audioMasterOfflineWrite, 0, 5, true, 0, 1, 1, 0},
      {"offlineGetCurrentPass", [](E& e, void*) { return intptr_t{e.offlineGetCurrentPass()}; },
       audioMasterOfflineGetCurrentPass, 0, 0, false, 0, 9, 1, 0},
      {"offlineGetCurrentMetaPass", [](E& e, void*) {
         return intptr_t{e.offlineGetCurrentMetaPass()}; },
       audioMasterOfflineGetCurrentMetaPass, 0, 0, false, 0, 0, 0, 0},
      {"setOutputSampleRate", [](E& e, void*) { e.setOutputSampleRate(22050.0f); return intptr_t{0}; },
       audioMasterSetOutputSampleRate, 0, 0, false, 22050.0f, 1, 0, 0},
      {"getOutputSpeakerArrangement", [](E& e, void*) {
         return reinterpret_cast<intptr_t>(e.getOutputSpeakerArrangement()); },
       audioMasterGetOutputSpeakerArrangement, 0, 0, false, 0, 0x4000, 0x4000, 0},
      {"getInputSpeakerArrangement", [](E& e, void*) {
         return reinterpret_cast<intptr_t>(e.getInputSpeakerArrangement()); },
       audioMasterGetInputSpeakerArrangement, 0, 0, false, 0, 0x5000, 0x5000, 0},
      {"hostGetVendorString", [](E& e, void* ptr) {
         return intptr_t{e.hostGetVendorString(static_cast<char*>(ptr))}; },
       audioMasterGetVendorString, 0, 0, true, 0, 1, 1, 0},
      {"hostGetProductString", [](E& e, void* ptr) {
         return intptr_t{e.hostGetProductString(static_cast<char*>(ptr))}; },
       audioMasterGetProductString, 0, 0, true, 0, 1, 1, 0},
      {"hostGetVendorVersion", [](E& e, void*) { return intptr_t{e.hostGetVendorVersion()}; },
       audioMasterGetVendorVersion, 0, 0, false, 0, 1234, 1234, 0},
      {"hostVendorSpecific", [](E& e, void* ptr) {
         return e.hostVendorSpecific(7, 8, ptr, 0.5f); },
       audioMasterVendorSpecific, 7, 8, true, 0.5f, 99, 99, 0},
      {"hostCanDo", [](E& e, void* ptr) { return intptr_t{e.hostCanDo(static_cast<char*>(ptr))}; },
       audioMasterCanDo, 0, 0, true, 0, -1, 1, 0},
      {"getLanguage", [](E& e, void*) { return intptr_t{e.getLanguage()}; },
       audioMasterGetLanguage, 0, 0, false, 0, 1, 1, 0},
      {"openWindow", [](E& e, void* ptr) {
         return reinterpret_cast<intptr_t>(e.openWindow(static_cast<VstWindow*>(ptr))); },
       audioMasterOpenWindow, 0, 0, true, 0, 0x6000, 0x6000, 0},
      {"closeWindow", [](E& e, void* ptr) {
         return intptr_t{e.closeWindow(static_cast<VstWindow*>(ptr))}; },
       audioMasterCloseWindow, 0, 0, true, 0, 1, 1, 0},
      {"getDirectory", [](E& e, void*) { return reinterpret_cast<intptr_t>(e.getDirectory()); },
       audioMasterGetDirectory, 0, 0, false, 0, 0x7000, 0x7000, 0},
      {"updateDisplay", [](E& e, void*) { return intptr_t{e.updateDisplay()}; },
       audioMasterUpdateDisplay, 0, 0, false, 0, 1, 1, 0},
      {"beginEdit", [](E& e, void*) { return intptr_t{e.beginEdit(4)}; }, audioMasterBeginEdit,
       4, 0, false, 0, -1, 1, 0},
      {"endEdit", [](E& e, void*) { return intptr_t{e.endEdit(4)}; }, audioMasterEndEdit, 4, 0,
       false, 0, 0, 0, 0},
      {"openFileSelector", [](E& e, void* ptr) {
         return intptr_t{e.openFileSelector(static_cast<VstFileSelect*>(ptr))}; },
       audioMasterOpenFileSelector, 0, 0, true, 0, 1, 1, 0},
      {"closeFileSelector", [](E& e, void* ptr) {
         return intptr_t{e.closeFileSelector(static_cast<VstFileSelect*>(ptr))}; },
       audioMasterCloseFileSelector, 0, 0, true, 0, 1, 1, 0},
      {"getChunkFile", [](E& e, void* ptr) { return intptr_t{e.getChunkFile(ptr)}; },
       audioMasterGetChunkFile, 0, 0, true, 0, 1, 1, 0},
  };
}

TEST(HostServices, EachSendsItsOpcodeAndConvertsTheAnswer) {
  for (const ServiceRow& row : serviceRows()) {
    RecordingHost::reset(row.hostAnswer);
    TestEffect effect(RecordingHost::callback);
    char text[64] = "text";
    EXPECT_EQ(row.call(effect, text), row.result) << row.name;
    ASSERT_EQ(RecordingHost::calls.size(), 1u) << row.name;
    const RecordedCall& call = RecordingHost::calls[0];
    EXPECT_EQ(call.effect, effect.getEffectRecord()) << row.name;
    EXPECT_EQ(call.opcode, row.opcode) << row.name;
    EXPECT_EQ(call.index, row.index) << row.name;
    EXPECT_EQ(call.value, row.value) << row.name;
    EXPECT_EQ(call.ptr, row.passesPtr ? static_cast<void*>(text) : nullptr) << row.name;
    EXPECT_EQ(call.opt, row.opt) << row.name;
  }
}

TEST(HostServices, WithoutACallbackEachAnswersItsDefault) {
  for (const ServiceRow& row : serviceRows()) {
    RecordingHost::reset(row.hostAnswer);
    TestEffect effect(nullptr);
    char text[64] = "text";
    EXPECT_EQ(row.call(effect, text), row.resultWithoutHost) << row.name;
  }
  EXPECT_TRUE(RecordingHost::calls.empty());
}

TEST(HostServices, AutomateSetsTheParameterBeforeTellingTheHost) {
  RecordingHost::reset();
  TestEffect effect(RecordingHost::callback);
  effect.automate(3, 0.25f);
  ASSERT_EQ(effect.parameterLog.size(), 1u);
  EXPECT_EQ(effect.parameterLog[0].index, 3);
  EXPECT_EQ(effect.parameterLog[0].value, 0.25f);
  EXPECT_EQ(effect.parameterLog[0].hostCallsBefore, 0);
  EXPECT_EQ(RecordingHost::calls.size(), 1u);
}

TEST(HostServices, FileSelectorsRefuseNullWithoutCallingTheHost) {
  RecordingHost::reset(1);
  TestEffect effect(RecordingHost::callback);
  EXPECT_FALSE(effect.openFileSelector(nullptr));
  EXPECT_FALSE(effect.closeFileSelector(nullptr));
  EXPECT_FALSE(effect.getChunkFile(nullptr));
  EXPECT_TRUE(RecordingHost::calls.empty());
}

TEST(HostServices, SampleRateAndBlockSizeQueriesKeepOnlyPositiveAnswers) {
  RecordingHost::reset(48000);
  TestEffect effect(RecordingHost::callback);
  EXPECT_EQ(effect.hostGetSampleRate(), 48000.0f);
  EXPECT_EQ(effect.getSampleRate(), 48000.0f);
  for (intptr_t answer : {intptr_t{0}, intptr_t{-5}}) {
    RecordingHost::answer = answer;
    EXPECT_EQ(effect.hostGetSampleRate(), 48000.0f);
  }
  RecordingHost::answer = 512;
  EXPECT_EQ(effect.hostGetBlockSize(), 512);
  RecordingHost::answer = 0;
  EXPECT_EQ(effect.hostGetBlockSize(), 512);
  EXPECT_EQ(effect.getBlockSize(), 512);
  EXPECT_EQ(RecordingHost::calls.back().opcode, audioMasterGetBlockSize);

  TestEffect alone(nullptr);
  EXPECT_EQ(alone.hostGetSampleRate(), 44100.0f);
  EXPECT_EQ(alone.hostGetBlockSize(), 1024);
}

TEST(HostServices, HostsAnswerIsReadBackThroughTextServices) {
  RecordingHost::reset(1);
  RecordingHost::hostText = "Some Host";
  TestEffect effect(RecordingHost::callback);
  char text[64] = "";
  EXPECT_TRUE(effect.hostGetVendorString(text));
  EXPECT_STREQ(text, "Some Host");
}

}  // namespace
