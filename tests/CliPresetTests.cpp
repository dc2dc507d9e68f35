// Preset files end to end: saved by stelloria, checked byte for byte against
// the VST 2 layout, loaded back, and used for rendering.
#include <cstring>

#include "CliTestSupport.h"

namespace clitest {
namespace {

int32_t bigEndianInt(const std::string& bytes, size_t offset) {
  uint32_t value = 0;
  for (size_t i = 0; i < 4; ++i) value = (value << 8) | static_cast<uint8_t>(bytes.at(offset + i));
  return static_cast<int32_t>(value);
}

float bigEndianFloat(const std::string& bytes, size_t offset) {
  const int32_t bits = bigEndianInt(bytes, offset);
  float value;
  std::memcpy(&value, &bits, sizeof value);
  return value;
}

TEST_F(CliTest, ProgramFileHasTheStandardLayoutAndRoundTrips) {
  requirePlugin("Ombrel");
  const Outcome saved = run({"preset", "save", "Ombrel", "a.fxp", "--set", "Feedback=0.3", "--set",
                         "select=1"});
  ASSERT_EQ(saved.status, 0) << saved.err;
  const std::string bytes = readText(at("a.fxp"));
  ASSERT_EQ(bytes.size(), 56u + 7 * 4);
  EXPECT_EQ(bytes.substr(0, 4), "CcnK");
  EXPECT_EQ(bigEndianInt(bytes, 4), static_cast<int32_t>(bytes.size() - 8));
  EXPECT_EQ(bytes.substr(8, 4), "FxCk");
  EXPECT_EQ(bigEndianInt(bytes, 12), 1);
  EXPECT_EQ(bytes.substr(16, 4), "Ombr");
  EXPECT_EQ(bigEndianInt(bytes, 24), 7);
  EXPECT_EQ(std::string(bytes.c_str() + 28), "Pellory");
  const float expected[] = {0.5f, 0.3f, 0.1f, 0.0f, 1.0f, 0.5f, 0.5f};
  for (size_t i = 0; i < 7; ++i) EXPECT_EQ(bigEndianFloat(bytes, 56 + 4 * i), expected[i]) << i;

  // Loading the file and saving again gives the same file.
  const Outcome again = run({"preset", "save", "Ombrel", "b.fxp", "--preset", "a.fxp"});
  ASSERT_EQ(again.status, 0) << again.err;
  EXPECT_EQ(readText(at("b.fxp")), bytes);
}

TEST_F(CliTest, BankFileHoldsEveryProgramAndRoundTrips) {
  requirePlugin("Quorra");
  const Outcome saved =
      run({"preset", "save", "Quorra", "a.fxb", "--program", "2", "--set", "side gain=0.25"});
  ASSERT_EQ(saved.status, 0) << saved.err;
  const std::string bytes = readText(at("a.fxb"));
  const size_t program = 56 + 2 * 4;
  ASSERT_EQ(bytes.size(), 156 + 4 * program);
  EXPECT_EQ(bytes.substr(0, 4), "CcnK");
  EXPECT_EQ(bigEndianInt(bytes, 4), static_cast<int32_t>(bytes.size() - 8));
  EXPECT_EQ(bytes.substr(8, 4), "FxBk");
  EXPECT_EQ(bytes.substr(16, 4), "Quor");
  EXPECT_EQ(bigEndianInt(bytes, 24), 4);
  EXPECT_EQ(bytes.substr(28, 128), std::string(128, '\0'));
  for (size_t i = 0; i < 4; ++i) {
    const size_t start = 156 + i * program;
    EXPECT_EQ(bytes.substr(start + 8, 4), "FxCk");
    EXPECT_EQ(std::string(bytes.c_str() + start + 28), "Sendrith");
    EXPECT_EQ(bigEndianFloat(bytes, start + 60), i == 2 ? 0.25f : 0.5f) << "program " << i;
  }
  const Outcome again = run({"preset", "save", "Quorra", "b.fxb", "--preset", "a.fxb"});
  ASSERT_EQ(again.status, 0) << again.err;
  EXPECT_EQ(readText(at("b.fxb")), bytes);
}

TEST_F(CliTest, RenderingWithAPresetEqualsRenderingWithItsSettings) {
  requirePlugin("Quorra");
  std::vector<float> samples;
  for (int i = 0; i < 256; ++i) samples.insert(samples.end(), {0.01f * (i % 13), -0.02f * (i % 7)});
  writeWav("in.wav", 48000, 2, samples);
  ASSERT_EQ(run({"preset", "save", "Quorra", "p.fxp", "--set", "0=0.7", "--set", "1=0.2"}).status,
            0);
  ASSERT_EQ(run({"render", "Quorra", "in.wav", "a.wav", "--preset", "p.fxp"}).status, 0);
  ASSERT_EQ(run({"render", "Quorra", "in.wav", "b.wav", "--set", "0=0.7", "--set", "1=0.2"}).status,
            0);
  ASSERT_EQ(run({"render", "Quorra", "in.wav", "c.wav"}).status, 0);
  EXPECT_EQ(readWav("a.wav").samples, readWav("b.wav").samples);
  EXPECT_NE(readWav("a.wav").samples, readWav("c.wav").samples);
}

}  // namespace
}  // namespace clitest
