// stelloria render, end to end: real files in, real plug-ins, real files out.
#include "CliTestSupport.h"

namespace clitest {
namespace {

struct Expectation {
  size_t frame;
  float left, right;
};

struct RenderCase {
  const char* plugin;
  std::vector<std::string> settings;
  int rate;
  std::vector<std::pair<float, float>> input;  // frames of (left, right); the rest is silence
  size_t frames;
  std::vector<Expectation> expected;
  float tolerance;
};

std::ostream& operator<<(std::ostream& out, const RenderCase& c) {
  out << c.plugin;
  for (const std::string& setting : c.settings) out << " --set " << setting;
  return out;
}

class CliRenderCase : public CliTest, public ::testing::WithParamInterface<RenderCase> {};

TEST_P(CliRenderCase, DoesWhatThePluginMustDo) {
  const RenderCase& c = GetParam();
  requirePlugin(c.plugin);
  std::vector<float> samples(c.frames * 2, 0.0f);
  for (size_t i = 0; i < c.input.size(); ++i) {
    samples[2 * i] = c.input[i].first;
    samples[2 * i + 1] = c.input[i].second;
  }
  writeWav("in.wav", c.rate, 2, samples);
  std::vector<std::string> args = {"render", c.plugin, "in.wav", "out.wav"};
  for (const std::string& setting : c.settings) args.insert(args.end(), {"--set", setting});
  const Outcome result = run(args);
  ASSERT_EQ(result.status, 0) << result.err;

  const Audio out = readWav("out.wav");
  ASSERT_EQ(out.info.channels, 2);
  ASSERT_EQ(out.info.frames, static_cast<sf_count_t>(c.frames));
  EXPECT_EQ(out.info.samplerate, c.rate);
  EXPECT_EQ(out.info.format, SF_FORMAT_WAV | SF_FORMAT_FLOAT);
  for (const Expectation& e : c.expected) {
    EXPECT_NEAR(out.at(e.frame, 0), e.left, c.tolerance) << "left at frame " << e.frame;
    EXPECT_NEAR(out.at(e.frame, 1), e.right, c.tolerance) << "right at frame " << e.frame;
  }
}

// Ombrel: with "smooth" 0 the delay reaches 0.1 s (800 frames at 8 kHz) after
// one frame; fully wet, a mid impulse comes back only there, then with the
// negative feedback of -0.5 one delay and a frame later.
INSTANTIATE_TEST_SUITE_P(
    EachPlugin, CliRenderCase,
    ::testing::Values(
        RenderCase{"Lindle", {}, 48000, {{0.25f, 0.25f}, {0.5f, -0.5f}}, 64,
                   {{0, 0.5f, 0.0f}, {1, 0.0f, 1.0f}, {2, 0.0f, 0.0f}}, 0.0f},
        RenderCase{"Tessik", {"swap=1"}, 44100, {{0.5f, 0.25f}, {-0.75f, 0.125f}}, 64,
                   {{0, 0.5f, -0.25f}, {1, -0.75f, -0.125f}}, 0.0f},
        RenderCase{"Tessik", {" Swap =0"}, 44100, {{0.5f, 0.25f}, {-0.75f, 0.125f}}, 64,
                   {{0, 0.5f, 0.25f}, {1, -0.75f, 0.125f}}, 0.0f},
        RenderCase{"Quorra", {"Side Gain=0"}, 48000, {{1.0f, -1.0f}, {1.0f, 1.0f}}, 64,
                   {{0, 0.01f, -0.01f}, {1, 1.0f, 1.0f}}, 1e-6f},
        RenderCase{"Quorra", {"mid gain=1", "1=0.5"}, 48000, {{1.0f, 1.0f}}, 64,
                   {{0, 100.0f, 100.0f}}, 1e-3f},
        RenderCase{"Ombrel",
                   {"smooth=0", "Delay time=0.1", "Mix wet-dry=0", "Feedback=0.5", "select=0"},
                   8000, {{0.0f, 0.0f}, {1.0f, 1.0f}}, 2000,
                   {{1, 0.0f, 0.0f}, {801, 1.0f, 1.0f}, {1602, -0.5f, -0.5f}, {1000, 0.0f, 0.0f}},
                   2e-3f}));

TEST_F(CliTest, MonoInputFeedsBothInputs) {
  requirePlugin("Lindle");
  writeWav("mono.wav", 48000, 1, {0.25f, -0.5f});
  const Outcome result = run({"render", "Lindle", "mono.wav", "out.wav"});
  ASSERT_EQ(result.status, 0) << result.err;
  const Audio out = readWav("out.wav");
  ASSERT_EQ(out.info.channels, 2);
  EXPECT_EQ(out.at(0, 0), 0.5f);
  EXPECT_EQ(out.at(0, 1), 0.0f);
  EXPECT_EQ(out.at(1, 0), -1.0f);
}

TEST_F(CliTest, TailExtendsTheOutputAndBlockSizeDoesNotChangeIt) {
  requirePlugin("Ombrel");
  std::vector<float> samples(2 * 1000, 0.0f);
  samples[0] = samples[1] = 1.0f;
  writeWav("in.wav", 1000, 2, samples);
  // Echo after 0.2 s; --tail 1.5 keeps it and those after it.
  const std::vector<std::string> settings = {"--set", "smooth=0", "--set", "delay time=0.2",
                                             "--set", "feedback=0.5", "--tail", "1.5"};
  std::vector<std::string> small = {"render", "Ombrel", "in.wav", "small.wav", "--block", "7"};
  std::vector<std::string> large = {"render", "Ombrel", "in.wav", "large.wav", "--block", "4096"};
  small.insert(small.end(), settings.begin(), settings.end());
  large.insert(large.end(), settings.begin(), settings.end());
  ASSERT_EQ(run(small).status, 0);
  ASSERT_EQ(run(large).status, 0);
  const Audio a = readWav("small.wav");
  const Audio b = readWav("large.wav");
  EXPECT_EQ(a.info.frames, 2500);
  EXPECT_EQ(a.samples, b.samples);
}

TEST_F(CliTest, OutputFormatFollowsTheExtension) {
  requirePlugin("Lindle");
  writeWav("in.flac", 44100, 2, {0.25f, 0.25f, 0.0f, 0.0f}, SF_FORMAT_FLAC | SF_FORMAT_PCM_16);
  struct Case {
    const char* name;
    int format;
  };
  for (const Case& c : {Case{"out.flac", SF_FORMAT_FLAC | SF_FORMAT_PCM_24},
                        Case{"out.aiff", SF_FORMAT_AIFF | SF_FORMAT_FLOAT},
                        Case{"out.wav", SF_FORMAT_WAV | SF_FORMAT_FLOAT}}) {
    const Outcome result = run({"render", "Lindle", "in.flac", c.name});
    ASSERT_EQ(result.status, 0) << c.name << ": " << result.err;
    const Audio out = readWav(c.name);
    EXPECT_EQ(out.info.format, c.format) << c.name;
    EXPECT_NEAR(out.at(0, 0), 0.5f, 1e-4f) << c.name;
  }
}

TEST_F(CliTest, SettingsPrintTheirDisplayTextAndWarnOutsideTheRange) {
  requirePlugin("Quorra");
  writeWav("in.wav", 48000, 2, {0.1f, 0.1f});
  const Outcome result = run({"render", "Quorra", "in.wav", "out.wav", "--set", "Mid Gain=0.75",
                          "--set", "side gain=1.5"});
  ASSERT_EQ(result.status, 0) << result.err;
  EXPECT_NE(result.out.find("Mid Gain = 20.00000 dB"), std::string::npos) << result.out;
  EXPECT_NE(result.err.find("warning: Side Gain = 1.5 is outside"), std::string::npos)
      << result.err;
}

TEST_F(CliTest, ScopeDrawsAPicture) {
  requirePlugin("Tessik");
  std::vector<float> samples;
  for (int i = 0; i < 4800; ++i) samples.insert(samples.end(), {0.3f, (i % 50) / 100.0f});
  writeWav("in.wav", 48000, 2, samples);
  const Outcome result = run({"render", "Tessik", "in.wav", "out.wav", "--scope", "scope.png"});
  ASSERT_EQ(result.status, 0) << result.err;
  EXPECT_EQ(readText(at("scope.png")).substr(1, 3), "PNG");
}

}  // namespace
}  // namespace clitest
