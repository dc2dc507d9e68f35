// Tessik loaded from its built module, checked against the swap formulas
// computed here, independently of the plug-in.
#include <array>
#include <cfloat>
#include <cmath>
#include <utility>

#include "MatrixTestSupport.h"

namespace {

using matrixTest::loadPlugin;
using matrixTest::sameChannel;
using matrixTest::StereoBlock;

const float kJustAboveHalf = std::nextafter(0.5f, 1.0f);  // 0.50000006

//! What a host should observe of Tessik: the switch per program and live, and
//! one frame of output from the formulas, in double with float roundings.
struct TessikModel {
  static constexpr int32_t numParams = 1;

  void setParameter(int32_t, float value) { live = programs[program] = value; }
  void setProgram(int32_t chosen) {
    program = chosen;
    live = programs[chosen];
  }
  float getParameter(int32_t) const { return live; }

  std::pair<float, float> frame(float left, float right, float oldLeft, float oldRight,
                                bool adding) const {
    const double k = static_cast<double>(live) > 0.5 ? -1.0 : 1.0;
    const float a = static_cast<float>((k * right + left) * 0.5);
    const float b = static_cast<float>((left - k * right) * 0.5);
    const double sum = double{a} + double{b};
    const double difference = double{a} - double{b};
    if (!adding) return {static_cast<float>(sum), static_cast<float>(difference)};
    return {static_cast<float>(sum + oldLeft), static_cast<float>(difference + oldRight)};
  }

  std::array<float, 4> programs{1.0f, 1.0f, 1.0f, 1.0f};
  float live = 1.0f;
  int32_t program = 0;
};

struct SwapCase {
  float swap, left, right, expectedLeft, expectedRight;
  const char* display;
};

void PrintTo(const SwapCase& c, std::ostream* out) {
  *out << "swap " << c.swap << ", in " << c.left << " / " << c.right;
}

class TessikSwap : public testing::TestWithParam<SwapCase> {};

TEST_P(TessikSwap, KeepsLeftAndInvertsRightWhenOn) {
  const SwapCase c = GetParam();
  auto plugin = loadPlugin("Tessik");
  plugin->setParameter(0, c.swap);
  EXPECT_EQ(plugin->paramDisplay(0), c.display);
  StereoBlock block(1, 7.0f);
  block.left[0] = c.left;
  block.right[0] = c.right;
  plugin->processReplacing(block.inputs(), block.outputs(), 1);
  EXPECT_TRUE(sameChannel({c.expectedLeft}, block.outLeft));
  EXPECT_TRUE(sameChannel({c.expectedRight}, block.outRight));
}

INSTANTIATE_TEST_SUITE_P(
    EdgeCases, TessikSwap,
    testing::Values(SwapCase{1.0f, 1.0f, 0.5f, 1.0f, -0.5f, "On"},
                    SwapCase{0.0f, 1.0f, 0.5f, 1.0f, 0.5f, "Off"},
                    // 0.5 itself is off; the next float up is on, in the display and the sound.
                    SwapCase{0.5f, 1.0f, 0.5f, 1.0f, 0.5f, "Off"},
                    SwapCase{kJustAboveHalf, 1.0f, 0.5f, 1.0f, -0.5f, "On"},
                    // A right input far below the left is lost when a and b round to 0.5.
                    SwapCase{1.0f, 1.0f, 0x1p-30f, 1.0f, 0.0f, "On"},
                    SwapCase{0.0f, 1.0f, 0x1p-30f, 1.0f, 0.0f, "Off"},
                    SwapCase{1.0f, FLT_MAX, FLT_MAX, FLT_MAX, -FLT_MAX, "On"},
                    SwapCase{0.0f, -FLT_MAX, -FLT_MAX, -FLT_MAX, -FLT_MAX, "Off"},
                    // Unclamped values: anything above 0.5 is on, everything else off.
                    SwapCase{-1.0f, 1.0f, 0.5f, 1.0f, 0.5f, "Off"},
                    SwapCase{7.0f, 1.0f, 0.5f, 1.0f, -0.5f, "On"},
                    SwapCase{INFINITY, 1.0f, 0.5f, 1.0f, -0.5f, "On"},
                    SwapCase{-INFINITY, 1.0f, 0.5f, 1.0f, 0.5f, "Off"},
                    SwapCase{NAN, 1.0f, 0.5f, 1.0f, 0.5f, "Off"}));

TEST(Tessik, ProcessAddsToWhatTheOutputsHeld) {
  auto plugin = loadPlugin("Tessik");
  StereoBlock block(3, 1.0f);
  block.left.assign(3, 0.5f);
  block.right.assign(3, 0.5f);
  plugin->process(block.inputs(), block.outputs(), 3);
  EXPECT_TRUE(sameChannel({1.5f, 1.5f, 1.5f}, block.outLeft));
  EXPECT_TRUE(sameChannel({0.5f, 0.5f, 0.5f}, block.outRight));
}

TEST(Tessik, ProcessRoundsTheThreeTermSumOnce) {
  // Off, left 1 and right just below 1: a = 1, b = 2^-25. Rounded before the
  // old 2^-24 is added, a + b would give 1.0 twice over; rounded once the
  // three terms give 1 + 2^-23.
  auto plugin = loadPlugin("Tessik");
  plugin->setParameter(0, 0.0f);
  StereoBlock block(1, 0x1p-24f);
  block.left[0] = 1.0f;
  block.right[0] = std::nextafter(1.0f, 0.0f);
  plugin->process(block.inputs(), block.outputs(), 1);
  EXPECT_TRUE(sameChannel({1.0f + 0x1p-23f}, block.outLeft));
}

TEST(Tessik, SwitchActsAtBlockBoundaries) {
  auto plugin = loadPlugin("Tessik");
  StereoBlock block(4);
  block.left.assign(4, 1.0f);
  block.right.assign(4, 0.5f);
  plugin->processReplacing(block.inputs(), block.outputs(), 2);
  plugin->setParameter(0, 0.0f);
  float* secondHalfIn[2] = {block.left.data() + 2, block.right.data() + 2};
  float* secondHalfOut[2] = {block.outLeft.data() + 2, block.outRight.data() + 2};
  plugin->processReplacing(secondHalfIn, secondHalfOut, 2);
  EXPECT_TRUE(sameChannel({-0.5f, -0.5f, 0.5f, 0.5f}, block.outRight));
}

TEST(Tessik, NameAndLabel) {
  auto plugin = loadPlugin("Tessik");
  EXPECT_EQ(plugin->paramName(0), " Swap");
  char label[16] = "previous";
  plugin->dispatch(effGetParamLabel, 0, 0, label);
  EXPECT_STREQ(label, "");
}

TEST(Tessik, ProgramsKeepTheirOwnSwitch) {
  auto plugin = loadPlugin("Tessik");
  EXPECT_EQ(plugin->getParameter(0), 1.0f);
  EXPECT_EQ(plugin->paramDisplay(0), "On");
  plugin->setParameter(0, 0.2f);
  plugin->setProgram(1);
  EXPECT_EQ(plugin->getParameter(0), 1.0f);
  EXPECT_EQ(plugin->paramDisplay(0), "On");
  plugin->setProgram(0);
  EXPECT_EQ(plugin->getParameter(0), 0.2f);
  EXPECT_EQ(plugin->paramDisplay(0), "Off");
}

class TessikRandomBlocks : public testing::TestWithParam<uint32_t> {};

TEST_P(TessikRandomBlocks, MatchTheFormulasBitForBit) {
  auto plugin = loadPlugin("Tessik");
  TessikModel model;
  matrixTest::checkRandomSession(*plugin, model, GetParam());
}

INSTANTIATE_TEST_SUITE_P(Seeds, TessikRandomBlocks,
                         testing::Values(1u, 2u, 3u, 42u, 2024u, 65537u));

}  // namespace
