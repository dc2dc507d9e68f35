// Quorra loaded from its built module, checked against the gain law and the
// balance formulas computed here, independently of the plug-in.
#include <array>
#include <cfloat>
#include <cmath>
#include <utility>

#include "MatrixTestSupport.h"

namespace {

using matrixTest::loadPlugin;
using matrixTest::sameChannel;
using matrixTest::StereoBlock;

//! What a host should observe of Quorra: values per program, live values, and
//! one frame of output from the formulas, in double with float roundings.
struct QuorraModel {
  static constexpr int32_t numParams = 2;

  static float gain(float value) {
    return static_cast<float>(std::pow(10.0, (static_cast<double>(value) - 0.5) * 4.0));
  }

  void setParameter(int32_t index, float value) {
    live[index] = value;
    programs[program][index] = value;
  }
  void setProgram(int32_t chosen) {
    program = chosen;
    live = programs[chosen];
  }
  float getParameter(int32_t index) const { return live[index]; }

  std::pair<float, float> frame(float left, float right, float oldLeft, float oldRight,
                                bool adding) const {
    const double l = left, r = right;
    const float mid = static_cast<float>(static_cast<float>((l + r) * 0.5) * double{gain(live[0])});
    const float side =
        static_cast<float>(static_cast<float>((l - r) * 0.5) * double{gain(live[1])});
    const double sum = double{mid} + double{side};
    const double difference = double{mid} - double{side};
    if (!adding) return {static_cast<float>(sum), static_cast<float>(difference)};
    return {static_cast<float>(sum + oldLeft), static_cast<float>(difference + oldRight)};
  }

  std::array<std::array<float, 2>, 4> programs{
      {{0.5f, 0.5f}, {0.5f, 0.5f}, {0.5f, 0.5f}, {0.5f, 0.5f}}};
  std::array<float, 2> live{0.5f, 0.5f};
  int32_t program = 0;
};

struct BalanceCase {
  float midGain, sideGain, left, right, expectedLeft, expectedRight;
};

void PrintTo(const BalanceCase& c, std::ostream* out) {
  *out << "mid " << c.midGain << ", side " << c.sideGain << ", in " << c.left << " / " << c.right;
}

class QuorraBalance : public testing::TestWithParam<BalanceCase> {};

TEST_P(QuorraBalance, ReplacesOutputsWithScaledMidAndSide) {
  const BalanceCase c = GetParam();
  auto plugin = loadPlugin("Quorra");
  plugin->setParameter(0, c.midGain);
  plugin->setParameter(1, c.sideGain);
  StereoBlock block(1, 7.0f);
  block.left[0] = c.left;
  block.right[0] = c.right;
  plugin->processReplacing(block.inputs(), block.outputs(), 1);
  EXPECT_TRUE(sameChannel({c.expectedLeft}, block.outLeft));
  EXPECT_TRUE(sameChannel({c.expectedRight}, block.outRight));
}

INSTANTIATE_TEST_SUITE_P(
    EdgeCases, QuorraBalance,
    testing::Values(BalanceCase{0.5f, 0.5f, 1.0f, 0.5f, 1.0f, 0.5f},
                    BalanceCase{1.0f, 0.5f, 1.0f, 1.0f, 100.0f, 100.0f},
                    BalanceCase{0.5f, 0.0f, 1.0f, -1.0f, 0.01f, -0.01f},
                    BalanceCase{0.0f, 0.5f, 1.0f, 1.0f, 0.01f, 0.01f},
                    // Summed in float, the mid of two largest floats would overflow.
                    BalanceCase{0.5f, 0.5f, FLT_MAX, FLT_MAX, FLT_MAX, FLT_MAX},
                    BalanceCase{0.5f, 0.5f, -FLT_MAX, -FLT_MAX, -FLT_MAX, -FLT_MAX},
                    BalanceCase{0.5f, 0.5f, FLT_MAX, -FLT_MAX, FLT_MAX, -FLT_MAX},
                    // +40 dB on a mid near the top overflows to infinity, as the law says.
                    BalanceCase{1.0f, 0.5f, FLT_MAX, FLT_MAX, INFINITY, INFINITY},
                    // Halving the smallest subnormal rounds to zero (ties to even).
                    BalanceCase{0.5f, 0.5f, 0x1p-149f, 0.0f, 0.0f, 0.0f}));

TEST(Quorra, ProcessAddsToWhatTheOutputsHeld) {
  auto plugin = loadPlugin("Quorra");
  StereoBlock block(3, 1.0f);
  block.left.assign(3, 0.5f);
  block.right.assign(3, 0.5f);
  plugin->process(block.inputs(), block.outputs(), 3);
  EXPECT_TRUE(sameChannel({1.5f, 1.5f, 1.5f}, block.outLeft));
  EXPECT_TRUE(sameChannel({1.5f, 1.5f, 1.5f}, block.outRight));
}

TEST(Quorra, ProcessRoundsTheThreeTermSumOnce) {
  // mid 1, side 2^-24: m + s is no float. Rounded before the old 2^-24 is
  // added it would give 1.0 twice over; rounded once it is 1 + 2^-23.
  auto plugin = loadPlugin("Quorra");
  StereoBlock block(1, 0x1p-24f);
  block.left[0] = 1.0f + 0x1p-23f;
  block.right[0] = 1.0f;
  plugin->process(block.inputs(), block.outputs(), 1);
  EXPECT_TRUE(sameChannel({1.0f + 0x1p-23f}, block.outLeft));
}

TEST(Quorra, GainsAreTakenAtBlockBoundaries) {
  auto plugin = loadPlugin("Quorra");
  StereoBlock block(4);
  block.left.assign(4, 1.0f);
  block.right.assign(4, 1.0f);
  plugin->processReplacing(block.inputs(), block.outputs(), 2);
  plugin->setParameter(0, 1.0f);
  float* secondHalfIn[2] = {block.left.data() + 2, block.right.data() + 2};
  float* secondHalfOut[2] = {block.outLeft.data() + 2, block.outRight.data() + 2};
  plugin->processReplacing(secondHalfIn, secondHalfOut, 2);
  EXPECT_TRUE(sameChannel({1.0f, 1.0f, 100.0f, 100.0f}, block.outLeft));
}

struct DisplayCase {
  float value;
  const char* text;
};

void PrintTo(const DisplayCase& c, std::ostream* out) { *out << c.value << " -> " << c.text; }

class QuorraDisplay : public testing::TestWithParam<DisplayCase> {};

TEST_P(QuorraDisplay, ShowsTheGainInDecibels) {
  auto plugin = loadPlugin("Quorra");
  for (int32_t index : {0, 1}) {
    plugin->setParameter(index, GetParam().value);
    EXPECT_EQ(plugin->paramDisplay(index), GetParam().text) << "parameter " << index;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Values, QuorraDisplay,
    testing::Values(DisplayCase{0.0f, "-40.0000"}, DisplayCase{0.5f, "0.000000"},
                    DisplayCase{0.75f, "20.00000"}, DisplayCase{1.0f, "40.00000"},
                    DisplayCase{0.25f, "-20.0000"},
                    // Unclamped values keep the law until the text is full.
                    DisplayCase{2.0f, "120.0000"}, DisplayCase{NAN, "NaN"},
                    DisplayCase{INFINITY, "Huge!"}, DisplayCase{-INFINITY, "Huge!"},
                    DisplayCase{FLT_MAX, "Huge!"}, DisplayCase{-FLT_MAX, "Huge!"}));

TEST(Quorra, NamesAndLabels) {
  auto plugin = loadPlugin("Quorra");
  EXPECT_EQ(plugin->paramName(0), "Mid Gain");
  EXPECT_EQ(plugin->paramName(1), "Side Gain");
  EXPECT_EQ(plugin->paramLabel(0), "dB");
  EXPECT_EQ(plugin->paramLabel(1), "dB");
}

TEST(Quorra, ProgramsKeepTheirOwnGains) {
  auto plugin = loadPlugin("Quorra");
  EXPECT_EQ(plugin->getParameter(0), 0.5f);
  EXPECT_EQ(plugin->getParameter(1), 0.5f);
  plugin->setParameter(0, 0.8f);
  plugin->setParameter(1, 0.2f);
  plugin->setProgram(1);
  EXPECT_EQ(plugin->getParameter(0), 0.5f);
  EXPECT_EQ(plugin->getParameter(1), 0.5f);
  plugin->setProgram(0);
  EXPECT_EQ(plugin->getParameter(0), 0.8f);
  EXPECT_EQ(plugin->getParameter(1), 0.2f);
}

TEST(Quorra, ProgramChangeActsOnTheNextBlock) {
  auto plugin = loadPlugin("Quorra");
  plugin->setProgram(3);
  plugin->setParameter(1, 0.0f);
  plugin->setProgram(0);
  StereoBlock block(1);
  block.left[0] = 1.0f;
  block.right[0] = -1.0f;
  plugin->processReplacing(block.inputs(), block.outputs(), 1);
  EXPECT_EQ(block.outLeft[0], 1.0f);
  plugin->setProgram(3);
  plugin->processReplacing(block.inputs(), block.outputs(), 1);
  EXPECT_EQ(block.outLeft[0], 0.01f);
}

class QuorraRandomBlocks : public testing::TestWithParam<uint32_t> {};

TEST_P(QuorraRandomBlocks, MatchTheFormulasBitForBit) {
  auto plugin = loadPlugin("Quorra");
  QuorraModel model;
  matrixTest::checkRandomSession(*plugin, model, GetParam());
}

INSTANTIATE_TEST_SUITE_P(Seeds, QuorraRandomBlocks,
                         testing::Values(1u, 2u, 3u, 42u, 2024u, 65537u));

}  // namespace
