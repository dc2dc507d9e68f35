// The decoder, loaded from its built library and driven as a host drives it.
#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <cstring>
#include <random>
#include <vector>

#include "PluginTestSupport.h"

namespace {

class LindleTest : public ::testing::Test {
 protected:
  std::unique_ptr<host::VstPlugin> plugin = loadPlugin("Lindle");
};

TEST_F(LindleTest, Identity) {
  AEffect* effect = plugin->effect();
  EXPECT_EQ(effect->uniqueID, 0x4C696E64);
  EXPECT_EQ(effect->numInputs, 2);
  EXPECT_EQ(effect->numOutputs, 2);
  EXPECT_EQ(effect->numParams, 0);
  EXPECT_EQ(effect->numPrograms, 4);
  EXPECT_EQ(effect->flags, effFlagsCanReplacing | effFlagsCanMono);
  EXPECT_EQ(effect->initialDelay, 0);
  EXPECT_EQ(effect->version, 1);
  EXPECT_EQ(plugin->effectName(), "Lindle");
  EXPECT_EQ(plugin->vendor(), "tovek @ quillfen");
  EXPECT_EQ(plugin->product(), "tovek Stelloria");
  EXPECT_EQ(plugin->vendorVersion(), 1);
  EXPECT_EQ(plugin->category(), kPlugCategEffect);
  EXPECT_EQ(plugin->vstVersion(), 2300);
}

TEST_F(LindleTest, MainAsksTheHostVersionFirst) {
  ASSERT_FALSE(plugin->calls().empty());
  EXPECT_FALSE(plugin->calls()[0].hadEffect);
  EXPECT_EQ(plugin->calls()[0].opcode, audioMasterVersion);
  EXPECT_EQ(plugin->calls().size(), 1u);
}

TEST_F(LindleTest, CanDoAnswers) {
  const std::pair<const char*, intptr_t> rows[] = {
      {"sendVstMidiEvent", -1}, {"sendVstEvents", -1},   {"receiveVstEvents", 1},
      {"receiveVstMidiEvent", 1}, {"ReceiveVstEvents", 0}, {"SendVstEvents", 0},
      {"", 0},                  {"bypass", 0},          {"receiveVstEvents ", 0},
  };
  for (const auto& [text, answer] : rows) EXPECT_EQ(plugin->canDo(text), answer) << text;
}

TEST_F(LindleTest, ParameterQueriesLeaveTheBufferAsItWas) {
  for (int32_t opcode : {effGetParamName, effGetParamDisplay, effGetParamLabel}) {
    char buffer[32] = "kept text";
    plugin->dispatch(opcode, 0, 0, buffer);
    EXPECT_STREQ(buffer, "kept text");
  }
  plugin->setParameter(0, 1.0f);
  EXPECT_EQ(plugin->getParameter(0), 0.0f);
  EXPECT_EQ(plugin->getParameter(-1), 0.0f);
}

TEST_F(LindleTest, ProgramsHoldTheirNames) {
  EXPECT_EQ(plugin->getProgram(), 0);
  for (int program = 0; program < 4; ++program) {
    plugin->setProgram(program);
    EXPECT_EQ(plugin->programName(), "Lindle");
  }
  plugin->setProgram(2);
  plugin->setProgramName("Twenty-three characters");
  plugin->setProgram(0);
  EXPECT_EQ(plugin->programName(), "Lindle");
  plugin->setProgram(2);
  EXPECT_EQ(plugin->programName(), "Twenty-three characters");
}

TEST_F(LindleTest, ProgramSelectionStaysWithinTheBank) {
  plugin->setProgram(3);
  for (intptr_t value : {intptr_t{4}, intptr_t{-1}, (intptr_t{1} << 32) + 1, INTPTR_MAX}) {
    plugin->setProgram(value);
    EXPECT_EQ(plugin->getProgram(), 3) << value;
  }
}

TEST_F(LindleTest, LongProgramNamesAreCut) {
  plugin->setProgramName(std::string(300, 'a'));
  EXPECT_EQ(plugin->programName(), std::string(23, 'a'));
  char small[kVstMaxProgNameLen + 8];
  std::memset(small, '#', sizeof small);
  plugin->dispatch(effGetProgramName, 0, 0, small);
  EXPECT_EQ(small[23], '\0');
  EXPECT_EQ(small[24], '#');  // nothing written past the 24-byte name
}

TEST_F(LindleTest, ResumeAsksForMidiEachTime) {
  plugin->clearCalls();
  plugin->mainsChanged(false);
  EXPECT_TRUE(plugin->calls().empty());
  plugin->mainsChanged(true);
  plugin->mainsChanged(true);
  ASSERT_EQ(plugin->calls().size(), 2u);
  for (const auto& call : plugin->calls()) {
    EXPECT_EQ(call.opcode, audioMasterWantMidi);
    EXPECT_EQ(call.index, 0);
    EXPECT_EQ(call.value, 1);
    EXPECT_EQ(call.ptr, nullptr);
    EXPECT_EQ(call.opt, 0.0f);
    EXPECT_TRUE(call.hadEffect);
  }
}

struct Frame {
  float mid, side, left, right;
};

TEST_F(LindleTest, DecodesMidSidePairs) {
  const Frame frames[] = {
      {0.25f, 0.25f, 0.5f, 0.0f},
      {0.5f, -0.5f, 0.0f, 1.0f},
      {1.0f, 0.0f, 1.0f, 1.0f},
      {FLT_MAX, FLT_MAX, INFINITY, 0.0f},
      {1.0f, 0x1p-30f, 1.0f, 1.0f},  // the sum is rounded once, to float
  };
  for (const Frame& frame : frames) {
    float mid[1] = {frame.mid}, side[1] = {frame.side}, left[1] = {9}, right[1] = {9};
    float* in[2] = {mid, side};
    float* out[2] = {left, right};
    plugin->processReplacing(in, out, 1);
    EXPECT_EQ(left[0], frame.left);
    EXPECT_EQ(right[0], frame.right);
  }
}

TEST_F(LindleTest, ProcessAddsToTheOutputsWithOneRounding) {
  float mid[2] = {0.25f, 1.0f}, side[2] = {0.25f, 0x1p-25f};
  float left[2] = {1.0f, 0x1p-24f}, right[2] = {1.0f, -0x1p-24f};
  float* in[2] = {mid, side};
  float* out[2] = {left, right};
  plugin->process(in, out, 2);
  EXPECT_EQ(left[0], 1.5f);
  EXPECT_EQ(right[0], 1.0f);
  // Rounding mid + side to float before adding the old output would give 1
  // and 1 - 2^-24 here; the three terms are summed first and rounded once.
  EXPECT_EQ(left[1], 1.0f + 0x1p-23f);
  EXPECT_EQ(right[1], 1.0f - 0x1p-23f);
}

TEST_F(LindleTest, EmptyAndNegativeBlocksTouchNothing) {
  float mid[2] = {1, 1}, side[2] = {1, 1}, left[2] = {7, 7}, right[2] = {7, 7};
  float* in[2] = {mid, side};
  float* out[2] = {left, right};
  for (int32_t frames : {0, -1, INT32_MIN}) {
    plugin->processReplacing(in, out, frames);
    plugin->process(in, out, frames);
  }
  plugin->processReplacing(nullptr, nullptr, 2);
  plugin->process(in, nullptr, 2);
  EXPECT_EQ(left[0], 7.0f);
  EXPECT_EQ(right[1], 7.0f);
}

// Random blocks against the decoding formula, through both entries, with
// separate and in-place buffers.
TEST_F(LindleTest, RandomBlocksMatchTheFormulaInPlaceOrNot) {
  std::mt19937 random(7);
  std::uniform_real_distribution<float> sample(-2.0f, 2.0f);
  for (int32_t frames : {1, 3, 64, 511, 1024}) {
    std::vector<float> mid(frames), side(frames), previousLeft(frames), previousRight(frames);
    for (int32_t i = 0; i < frames; ++i) {
      mid[i] = sample(random);
      side[i] = sample(random) * 1e-3f;
      previousLeft[i] = sample(random);
      previousRight[i] = sample(random);
    }
    // Replacing, separate buffers.
    std::vector<float> left(frames), right(frames);
    float* in[2] = {mid.data(), side.data()};
    float* out[2] = {left.data(), right.data()};
    plugin->processReplacing(in, out, frames);
    // Replacing, in place.
    std::vector<float> inPlaceLeft = mid, inPlaceRight = side;
    float* both[2] = {inPlaceLeft.data(), inPlaceRight.data()};
    plugin->processReplacing(both, both, frames);
    // Accumulating.
    std::vector<float> sumLeft = previousLeft, sumRight = previousRight;
    float* sums[2] = {sumLeft.data(), sumRight.data()};
    plugin->process(in, sums, frames);

    for (int32_t i = 0; i < frames; ++i) {
      const double m = mid[i], s = side[i];
      ASSERT_EQ(left[i], static_cast<float>(m + s)) << i;
      ASSERT_EQ(right[i], static_cast<float>(m - s)) << i;
      ASSERT_EQ(inPlaceLeft[i], left[i]) << i;
      ASSERT_EQ(inPlaceRight[i], right[i]) << i;
      ASSERT_EQ(sumLeft[i], static_cast<float>((m + s) + previousLeft[i])) << i;
      ASSERT_EQ(sumRight[i], static_cast<float>((m - s) + previousRight[i])) << i;
    }
  }
}

TEST(LindleInstances, TwoInstancesAreIndependent) {
  auto first = loadPlugin("Lindle");
  auto second = loadPlugin("Lindle");
  ASSERT_NE(first->effect(), second->effect());
  first->setProgram(1);
  first->setProgramName("first");
  EXPECT_EQ(second->getProgram(), 0);
  second->setProgram(1);
  EXPECT_EQ(second->programName(), "Lindle");
}

TEST(LindleInstances, CloseAnswersOne) {
  auto plugin = loadPlugin("Lindle");
  EXPECT_EQ(plugin->close(), 1);
}

TEST(LindleInstances, RefusesAHostAnsweringVersionZero) {
  std::string error;
  auto plugin = host::VstPlugin::load(pluginPath("Lindle"), &error, {{audioMasterVersion, 0}});
  EXPECT_EQ(plugin, nullptr);
}

TEST(LindleInstances, MainWithoutCallbackReturnsNull) {
  std::string error;
  auto library = host::PluginLibrary::open(pluginPath("Lindle"), &error);
  ASSERT_NE(library, nullptr) << error;
  EXPECT_EQ(library->entry()(nullptr), nullptr);
}

}  // namespace
