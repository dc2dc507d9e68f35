// The delay Ombrel as a host sees it: identity, parameters, display texts,
// programs and capabilities, through its built library.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <string>

#include "PluginTestSupport.h"

namespace {

constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();
constexpr float kInfinity = std::numeric_limits<float>::infinity();

class OmbrelTest : public ::testing::Test {
 protected:
  std::unique_ptr<host::VstPlugin> plugin = loadPlugin("Ombrel");
};

TEST_F(OmbrelTest, Identity) {
  AEffect* effect = plugin->effect();
  EXPECT_EQ(effect->uniqueID, 0x4F6D6272);
  EXPECT_EQ(host::fourCharText(effect->uniqueID), "Ombr");
  EXPECT_EQ(effect->numInputs, 2);
  EXPECT_EQ(effect->numOutputs, 2);
  EXPECT_EQ(effect->numParams, 7);
  EXPECT_EQ(effect->numPrograms, 4);
  EXPECT_EQ(effect->flags, effFlagsCanReplacing | effFlagsCanMono);
  EXPECT_EQ(effect->initialDelay, 0);
  EXPECT_EQ(plugin->effectName(), "Ombrel");
  EXPECT_EQ(plugin->vendor(), "tovek @ quillfen");
  EXPECT_EQ(plugin->product(), "TOVEK Stelloria");
  EXPECT_EQ(plugin->vendorVersion(), 1);
  EXPECT_EQ(plugin->category(), kPlugCategEffect);
  EXPECT_EQ(plugin->vstVersion(), 2300);
}

TEST_F(OmbrelTest, FreshParameters) {
  struct Row {
    float value;
    const char* name;
    const char* label;
    const char* display;
  };
  const Row rows[] = {
      {0.5f, "Delay time", "ms", "500.0000"},
      {0.0f, "Feedback", "%", "      0"},
      {0.1f, "Max delay", "ms", "1000.000"},
      {0.0f, "tempo sync", "", "Off"},
      {0.0f, "Select", "", "Mid"},
      {0.5f, "smooth", "samples", "2048.500"},
      {0.5f, "Mix wet-dry", "%", "w 50 d 50"},
  };
  for (int32_t index = 0; index < 7; ++index) {
    SCOPED_TRACE(index);
    EXPECT_EQ(plugin->getParameter(index), rows[index].value);
    EXPECT_EQ(plugin->paramName(index), rows[index].name);
    EXPECT_EQ(plugin->paramLabel(index), rows[index].label);
    EXPECT_EQ(plugin->paramDisplay(index), rows[index].display);
  }
}

TEST_F(OmbrelTest, DisplayTexts) {
  struct Row {
    int32_t index;
    float value;
    const char* display;
  };
  const Row rows[] = {
      {0, 1.0f, "1000.000"},   {0, 0.25f, "250.0000"},    {1, 0.999f, "     99"},
      {1, 1.0f, "    100"},    {1, -0.5f, "    -50"},     {1, 0.5f, "     50"},
      {2, 1.0f, "10000.00"},   {3, 0.5f, "Off"},          {3, 0.51f, "On"},
      {3, 1.0f, "On"},         {4, 0.5f, "Side"},         {4, 0.49f, "Mid"},
      {4, 1.0f, "Side"},       {5, 0.0f, "1.000000"},     {5, 1.0f, "4096.000"},
      {6, 0.1f, "w 89 d 10"},  {6, 0.0f, "w 100 d 0"},    {6, 1.0f, "w 0 d 100"},
      {6, 0.999f, "w 0 d 99"}, {6, 2.0f, "w -100 d 200"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(testing::Message() << row.index << " at " << row.value);
    plugin->setParameter(row.index, row.value);
    EXPECT_EQ(plugin->getParameter(row.index), row.value);
    EXPECT_EQ(plugin->paramDisplay(row.index), row.display);
  }
}

TEST_F(OmbrelTest, DelayTimeDisplayFollowsMaxDelay) {
  plugin->setParameter(0, 0.5f);
  plugin->setParameter(2, 0.2f);
  EXPECT_EQ(plugin->paramDisplay(0), "1000.000");
}

TEST_F(OmbrelTest, DelayTimeHasAFloorOfOneThousandth) {
  for (float value : {0.0f, 0.0005f, -1.0f, kNaN, -kInfinity}) {
    SCOPED_TRACE(value);
    plugin->setParameter(0, value);
    EXPECT_EQ(plugin->getParameter(0), 0.001f);
    // The program holds the raised value too.
    plugin->setProgram(1);
    plugin->setProgram(0);
    EXPECT_EQ(plugin->getParameter(0), 0.001f);
  }
  plugin->setParameter(0, 0.001f);
  EXPECT_EQ(plugin->getParameter(0), 0.001f);
  plugin->setParameter(0, 0.002f);
  EXPECT_EQ(plugin->getParameter(0), 0.002f);
}

TEST_F(OmbrelTest, OtherParametersAreStoredUnclamped) {
  for (int32_t index = 1; index < 7; ++index) {
    for (float value : {-3.0f, 7.5f, kInfinity}) {
      plugin->setParameter(index, value);
      EXPECT_EQ(plugin->getParameter(index), value) << index;
    }
    plugin->setParameter(index, kNaN);
    EXPECT_TRUE(std::isnan(plugin->getParameter(index))) << index;
  }
}

TEST_F(OmbrelTest, IndexesOutsideTheTableChangeNothing) {
  for (int32_t index : {7, 8, -1, std::numeric_limits<int32_t>::min()}) {
    SCOPED_TRACE(index);
    plugin->setParameter(index, 0.75f);
    EXPECT_EQ(plugin->getParameter(index), 0.0f);
    for (int32_t opcode : {effGetParamName, effGetParamDisplay, effGetParamLabel}) {
      char buffer[32] = "kept text";
      plugin->dispatch(opcode, index, 0, buffer);
      EXPECT_STREQ(buffer, "kept text");
    }
  }
  const float defaults[] = {0.5f, 0.0f, 0.1f, 0.0f, 0.0f, 0.5f, 0.5f};
  for (int32_t index = 0; index < 7; ++index)
    EXPECT_EQ(plugin->getParameter(index), defaults[index]);
}

// Every display text fits a host buffer of 24 bytes, whatever the value; the
// buffer is exactly that long so the address sanitizer sees any overrun.
TEST_F(OmbrelTest, DisplayTextsOfAnyValueFitTwentyFourBytes) {
  const float values[] = {kNaN,    -kNaN,  kInfinity, -kInfinity, 1e30f, -1e30f,
                          3e9f,    -3e9f,  2.2e7f,    -2.2e7f,    1e6f,  -1e6f,
                          123.45f, -0.25f, 1e-40f,    0.0f,       -0.0f};
  for (int32_t index = 0; index < 7; ++index) {
    for (float value : values) {
      SCOPED_TRACE(testing::Message() << index << " at " << value);
      plugin->setParameter(index, value);
      auto buffer = std::make_unique<char[]>(24);
      std::memset(buffer.get(), 0, 24);
      plugin->dispatch(effGetParamDisplay, index, 0, buffer.get());
      const size_t length = strnlen(buffer.get(), 24);
      EXPECT_LT(length, 24u);
      EXPECT_GT(length, 0u);
    }
    // Leave the parameter finite for the next one's displays.
    plugin->setParameter(index, 0.5f);
  }
}

TEST_F(OmbrelTest, DisplayTextsOfValuesBeyondAnInteger) {
  struct Row {
    int32_t index;
    float value;
    const char* display;
  };
  const Row rows[] = {
      {1, kNaN, "NaN"},          {1, kInfinity, "Huge!"},
      {1, -kInfinity, "Huge!"},  {1, 1e30f, "Huge!"},
      {1, -1e30f, "Huge!"},      {1, 2e6f, "Huge!"},
      {1, 21474835.0f, "Huge!"}, {1, -21474835.0f, "-2147483"},
      {6, kNaN, "NaN"},          {6, kInfinity, "Huge!"},
      {6, -kInfinity, "Huge!"},  {6, 1e30f, "Huge!"},
      {6, 1e6f, "Huge!"},        {6, 999999.0f, "w -99999800 d 99999900"},
      {0, kInfinity, "Huge!"},   {2, kNaN, "NaN"},
      {5, kNaN, "NaN"},          {3, kNaN, "Off"},
      {4, kNaN, "Mid"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(testing::Message() << row.index << " at " << row.value);
    plugin->setParameter(row.index, row.value);
    EXPECT_EQ(plugin->paramDisplay(row.index), row.display);
  }
}

TEST_F(OmbrelTest, ProgramsStartAlikeAndKeepTheirOwnValues) {
  for (int32_t program = 0; program < 4; ++program) {
    plugin->setProgram(program);
    EXPECT_EQ(plugin->getProgram(), program);
    EXPECT_EQ(plugin->programName(), "Pellory");
  }
  plugin->setProgram(2);
  plugin->setProgramName("Long tail");
  plugin->setParameter(1, 0.75f);
  plugin->setParameter(6, 0.25f);

  plugin->setProgram(1);
  EXPECT_EQ(plugin->programName(), "Pellory");
  EXPECT_EQ(plugin->getParameter(1), 0.0f);
  EXPECT_EQ(plugin->getParameter(6), 0.5f);

  plugin->setProgram(2);
  EXPECT_EQ(plugin->programName(), "Long tail");
  EXPECT_EQ(plugin->getParameter(1), 0.75f);
  EXPECT_EQ(plugin->getParameter(6), 0.25f);
  EXPECT_EQ(plugin->paramDisplay(6), "w 75 d 25");
}

TEST_F(OmbrelTest, ProgramNamesKeepTwentyThreeCharacters) {
  plugin->setProgramName("abcdefghijklmnopqrstuvw");
  EXPECT_EQ(plugin->programName(), "abcdefghijklmnopqrstuvw");
}

TEST_F(OmbrelTest, ProgramIndexesOutsideTheBankAreIgnored) {
  plugin->setProgram(3);
  for (intptr_t program : {intptr_t{4}, intptr_t{5}, intptr_t{-1}, intptr_t{1} << 32}) {
    plugin->setProgram(program);
    EXPECT_EQ(plugin->getProgram(), 3);
  }
}

TEST_F(OmbrelTest, CanDoAnswers) {
  const std::pair<const char*, intptr_t> rows[] = {
      {"sendVstMidiEvent", -1},
      {"sendVstEvents", -1},
      {"receiveVstEvents", -1},
      {"receiveVstMidiEvent", -1},
      {"ReceiveVstEvents", 0},
      {"", 0},
      {"bypass", 0},
      {"sendVstEvents ", 0},
      {"offline", 0},
  };
  for (const auto& [text, answer] : rows) EXPECT_EQ(plugin->canDo(text), answer) << text;
}

TEST_F(OmbrelTest, ResumeAsksForMidiAndSuspendAsksNothing) {
  plugin->clearCalls();
  plugin->mainsChanged(false);
  EXPECT_TRUE(plugin->calls().empty());
  plugin->mainsChanged(true);
  ASSERT_EQ(plugin->calls().size(), 1u);
  EXPECT_EQ(plugin->calls()[0].opcode, audioMasterWantMidi);
  EXPECT_EQ(plugin->calls()[0].value, 1);
  EXPECT_TRUE(plugin->calls()[0].hadEffect);
}

}  // namespace
