// What Quorra and Tessik have in common, checked on both through the host
// library: identity, capabilities, the request for MIDI, program names, and
// harmlessness of out-of-range indexes, hostile values and empty blocks.
#include <cfloat>
#include <cmath>
#include <cstring>
#include <limits>

#include "MatrixTestSupport.h"

namespace {

using matrixTest::callsWith;
using matrixTest::loadPlugin;
using matrixTest::StereoBlock;

struct Identity {
  const char* name;
  int32_t uniqueID;
  int32_t numParams;
  const char* programName;
  const char* product;
};

void PrintTo(const Identity& identity, std::ostream* out) { *out << identity.name; }

class MatrixPlugin : public testing::TestWithParam<Identity> {
 protected:
  void SetUp() override {
    plugin = loadPlugin(GetParam().name);
    ASSERT_NE(plugin, nullptr);
  }
  std::unique_ptr<host::VstPlugin> plugin;
};

TEST_P(MatrixPlugin, DescribesItselfToTheHost) {
  const Identity& id = GetParam();
  EXPECT_EQ(plugin->effect()->magic, fourCharCode("VstP"));
  EXPECT_EQ(plugin->uniqueID(), id.uniqueID);
  EXPECT_EQ(plugin->numParams(), id.numParams);
  EXPECT_EQ(plugin->numPrograms(), 4);
  EXPECT_EQ(plugin->numInputs(), 2);
  EXPECT_EQ(plugin->numOutputs(), 2);
  EXPECT_EQ(plugin->flags(), effFlagsCanReplacing | effFlagsCanMono);
  EXPECT_EQ(plugin->effectName(), id.name);
  EXPECT_EQ(plugin->vendor(), "tovek @ quillfen");
  EXPECT_EQ(plugin->product(), id.product);
  EXPECT_EQ(plugin->vendorVersion(), 1);
  EXPECT_EQ(plugin->category(), kPlugCategEffect);
  EXPECT_EQ(plugin->vstVersion(), 2300);
  EXPECT_EQ(plugin->getProgram(), 0);
}

TEST_P(MatrixPlugin, ReceivesEventsButSendsNone) {
  const std::pair<const char*, intptr_t> answers[] = {{"sendVstMidiEvent", -1},
                                                      {"sendVstEvents", -1},
                                                      {"receiveVstEvents", 1},
                                                      {"receiveVstMidiEvent", 1},
                                                      {"SendVstMidiEvent", 0},
                                                      {"SendVstEvents", 0},
                                                      {"ReceiveVstEvents", 0},
                                                      {"ReceiveVstMidiEvent", 0},
                                                      {"", 0},
                                                      {"receiveVstEventsX", 0},
                                                      {"offline", 0}};
  for (const auto& [text, answer] : answers) EXPECT_EQ(plugin->canDo(text), answer) << text;
}

TEST_P(MatrixPlugin, AsksForMidiOnEverySwitchOn) {
  plugin->clearCalls();
  for (int round = 1; round <= 3; ++round) {
    plugin->mainsChanged(true);
    const auto wants = callsWith(*plugin, audioMasterWantMidi);
    ASSERT_EQ(wants.size(), static_cast<size_t>(round));
    EXPECT_EQ(wants.back().value, 1);
    EXPECT_TRUE(wants.back().hadEffect);
  }
  plugin->clearCalls();
  plugin->mainsChanged(false);
  EXPECT_TRUE(plugin->calls().empty());
}

TEST_P(MatrixPlugin, ParametersProgramsAndAudioNeverCallTheHost) {
  plugin->clearCalls();
  plugin->setParameter(0, 0.3f);
  plugin->setProgram(2);
  StereoBlock block(32);
  plugin->processReplacing(block.inputs(), block.outputs(), 32);
  plugin->process(block.inputs(), block.outputs(), 32);
  EXPECT_TRUE(plugin->calls().empty());
}

TEST_P(MatrixPlugin, EachProgramKeepsItsName) {
  for (int32_t program = 0; program < 4; ++program) {
    plugin->setProgram(program);
    EXPECT_EQ(plugin->programName(), GetParam().programName) << "program " << program;
  }
  plugin->setProgram(2);
  plugin->setProgramName("Night Drive 23 letters!");
  plugin->setProgram(0);
  EXPECT_EQ(plugin->programName(), GetParam().programName);
  plugin->setProgram(2);
  EXPECT_EQ(plugin->programName(), "Night Drive 23 letters!");
}

TEST_P(MatrixPlugin, LongProgramNamesAreCutTo23Characters) {
  plugin->setProgramName("A name far too long for the record of a program");
  EXPECT_EQ(plugin->programName(), "A name far too long for");
  // The neighbouring record is intact.
  plugin->setProgram(1);
  EXPECT_EQ(plugin->programName(), GetParam().programName);
}

TEST_P(MatrixPlugin, IgnoresProgramsOutOfRange) {
  plugin->setProgram(1);
  for (intptr_t program : {intptr_t{4}, intptr_t{-1}, intptr_t{1000}, (intptr_t{1} << 32) + 2})
    plugin->setProgram(program);
  EXPECT_EQ(plugin->getProgram(), 1);
}

TEST_P(MatrixPlugin, IndexesOutOfRangeChangeAndWriteNothing) {
  const int32_t n = GetParam().numParams;
  std::vector<float> before;
  for (int32_t index = 0; index < n; ++index) before.push_back(plugin->getParameter(index));
  for (int32_t index :
       {n, n + 1, -1, std::numeric_limits<int32_t>::max(), std::numeric_limits<int32_t>::min()}) {
    plugin->setParameter(index, 0.123f);
    EXPECT_EQ(plugin->getParameter(index), 0.0f) << index;
    for (int32_t opcode : {effGetParamName, effGetParamLabel, effGetParamDisplay}) {
      char text[16] = "untouched";
      plugin->dispatch(opcode, index, 0, text);
      EXPECT_STREQ(text, "untouched") << "opcode " << opcode << ", index " << index;
    }
  }
  for (int32_t index = 0; index < n; ++index) EXPECT_EQ(plugin->getParameter(index), before[index]);
}

TEST_P(MatrixPlugin, HostileValuesAreStoredAndStayHarmless) {
  const float values[] = {
      NAN,    -NAN,      INFINITY, -INFINITY, FLT_MAX, -FLT_MAX, 1e30f,
      -1e30f, 0x1p-149f, -0.0f,    1e7f,      -1e6f,   12500.5f, std::nextafter(0.5f, 0.0f)};
  for (int32_t index = 0; index < GetParam().numParams; ++index) {
    for (float value : values) {
      SCOPED_TRACE(testing::Message() << "parameter " << index << " = " << value);
      plugin->setParameter(index, value);
      EXPECT_TRUE(matrixTest::sameSample(value, plugin->getParameter(index)));
      if (!std::isnan(value)) {
        EXPECT_EQ(std::bit_cast<uint32_t>(plugin->getParameter(index)),
                  std::bit_cast<uint32_t>(value));
      }

      char text[64];
      std::memset(text, 'x', sizeof text);
      plugin->dispatch(effGetParamDisplay, index, 0, text);
      EXPECT_LE(std::strlen(text), 8u);
      for (size_t i = 9; i < sizeof text; ++i) ASSERT_EQ(text[i], 'x') << "byte " << i;

      StereoBlock block(64);
      std::mt19937 random(7);
      matrixTest::fillRandom(block.left, random);
      matrixTest::fillRandom(block.right, random);
      plugin->processReplacing(block.inputs(), block.outputs(), 64);
      plugin->process(block.inputs(), block.outputs(), 64);
      plugin->processReplacing(block.inputs(), block.inputs(), 64);
    }
  }
}

TEST_P(MatrixPlugin, EmptyBlocksTouchNothing) {
  StereoBlock block(8, 3.0f);
  block.left.assign(8, 1.0f);
  block.right.assign(8, -1.0f);
  for (int32_t frames : {0, -1, -4096, std::numeric_limits<int32_t>::min()}) {
    plugin->processReplacing(block.inputs(), block.outputs(), frames);
    plugin->process(block.inputs(), block.outputs(), frames);
  }
  EXPECT_EQ(block.outLeft, std::vector<float>(8, 3.0f));
  EXPECT_EQ(block.outRight, std::vector<float>(8, 3.0f));
}

TEST_P(MatrixPlugin, NullChannelArraysAreHarmless) {
  StereoBlock block(8, 3.0f);
  float* noChannels[2] = {nullptr, nullptr};
  plugin->processReplacing(nullptr, nullptr, 8);
  plugin->process(nullptr, block.outputs(), 8);
  plugin->processReplacing(block.inputs(), nullptr, 8);
  plugin->process(noChannels, block.outputs(), 8);
  plugin->processReplacing(block.inputs(), noChannels, 8);
  EXPECT_EQ(block.outLeft, std::vector<float>(8, 3.0f));
}

TEST_P(MatrixPlugin, InPlaceMatchesSeparateBuffers) {
  std::mt19937 random(99);
  for (int32_t index = 0; index < GetParam().numParams; ++index)
    plugin->setParameter(index, matrixTest::randomParameter(random));
  for (bool adding : {false, true}) {
    StereoBlock separate(4096);
    matrixTest::fillRandom(separate.left, random);
    matrixTest::fillRandom(separate.right, random);
    // The old output in place is the input itself.
    separate.outLeft = separate.left;
    separate.outRight = separate.right;
    StereoBlock inPlace = separate;
    if (adding) {
      plugin->process(separate.inputs(), separate.outputs(), 4096);
      plugin->process(inPlace.inputs(), inPlace.inputs(), 4096);
    } else {
      plugin->processReplacing(separate.inputs(), separate.outputs(), 4096);
      plugin->processReplacing(inPlace.inputs(), inPlace.inputs(), 4096);
    }
    EXPECT_TRUE(matrixTest::sameChannel(separate.outLeft, inPlace.left)) << adding;
    EXPECT_TRUE(matrixTest::sameChannel(separate.outRight, inPlace.right)) << adding;
  }
}

TEST_P(MatrixPlugin, InstancesShareNothing) {
  auto other = loadPlugin(GetParam().name);
  plugin->setParameter(0, 0.0f);
  plugin->setProgramName("Mine");
  EXPECT_NE(other->getParameter(0), 0.0f);
  EXPECT_EQ(other->programName(), GetParam().programName);
}

INSTANTIATE_TEST_SUITE_P(
    Matrix, MatrixPlugin,
    testing::Values(Identity{"Quorra", 0x51756F72, 2, "Sendrith", "TOVEK Stelloria"},
                    Identity{"Tessik", 0x54657373, 1, "Tessik", "tovek Stelloria"}),
    [](const testing::TestParamInfo<Identity>& info) { return std::string(info.param.name); });

}  // namespace
