// list, info, bench and demo end to end, and --help on every command.
#include <fstream>

#include "CliTestSupport.h"

namespace clitest {
namespace {

TEST_F(CliTest, ListSkipsPluginsThatCrashOrHang) {
  requirePlugin("Lindle");
  fs::create_directory(dir / "vst");
  fs::create_symlink(pluginPath("Lindle"), dir / "vst" / "Lindle.so");
  fs::create_symlink(fakePath("crash"), dir / "vst" / "crash.so");
  fs::create_symlink(fakePath("hang"), dir / "vst" / "hang.so");
  const Outcome result = run({"list", "--timeout", "1"}, (dir / "vst").string());
  EXPECT_EQ(result.status, 0);
  EXPECT_NE(result.out.find("Lindle"), std::string::npos) << result.out;
  EXPECT_NE(result.out.find("Lind  2/2"), std::string::npos) << result.out;
  EXPECT_NE(result.err.find("crash.so: plug-in crashed while examined"), std::string::npos)
      << result.err;
  EXPECT_NE(result.err.find("hang.so: plug-in did not answer within 1 s"), std::string::npos)
      << result.err;
}

TEST_F(CliTest, InfoFindsAPluginByNameAndAnswersInJson) {
  requirePlugin("Tessik");
  const Outcome result = run({"info", "tessik", "--json"});
  ASSERT_EQ(result.status, 0) << result.err;
  for (const char* expected :
       {"\"effectName\": \"Tessik\"", "\"uniqueID\": \"Tess\"", "\"vstVersion\": 2300",
        "\"receiveVstEvents\": 1", "{\"index\": 0, \"name\": \" Swap\", \"label\": \"\", "
                                   "\"value\": 1, \"display\": \"On\"}",
        "\"programs\": [\"Tessik\", \"Tessik\", \"Tessik\", \"Tessik\"]"})
    EXPECT_NE(result.out.find(expected), std::string::npos) << expected << "\n" << result.out;
}

TEST_F(CliTest, BenchComparesEachPluginWithACopy) {
  requirePlugin("Lindle");
  requirePlugin("Tessik");
  const Outcome result = run({"bench", "Lindle", "Tessik", "--seconds", "0.02", "--block", "64"});
  ASSERT_EQ(result.status, 0) << result.err;
  EXPECT_NE(result.out.find("stereo copy (baseline)"), std::string::npos) << result.out;
  EXPECT_NE(result.out.find("\nLindle "), std::string::npos) << result.out;
  EXPECT_NE(result.out.find("\nTessik "), std::string::npos) << result.out;
}

TEST_F(CliTest, DemoWritesEveryRenderAndPicture) {
  requirePlugin("Lindle");
  const Outcome result = run({"demo", "--out", "demo", "--seconds", "0.5"});
  ASSERT_EQ(result.status, 0) << result.err;
  EXPECT_NE(result.out.find("peak in"), std::string::npos) << result.out;
  const Audio input = readWav("demo/input.wav");
  EXPECT_EQ(input.info.frames, 24000);
  // The decoder gives back left = mid + side and right = mid - side of the pair it was fed.
  const Audio pair = readWav("demo/input-encoded.wav");
  const Audio decoded = readWav("demo/lindle-decode.wav");
  ASSERT_EQ(decoded.info.frames, pair.info.frames);
  for (size_t i = 0; i < static_cast<size_t>(pair.info.frames); ++i) {
    const double mid = pair.at(i, 0);
    const double side = pair.at(i, 1);
    ASSERT_EQ(decoded.at(i, 0), static_cast<float>(mid + side)) << i;
    ASSERT_EQ(decoded.at(i, 1), static_cast<float>(mid - side)) << i;
    ASSERT_NEAR(decoded.at(i, 0), input.at(i, 0), 1e-6f) << i;
  }
  const char* const renders[][2] = {{"Lindle", "lindle-decode"},     {"Tessik", "tessik-swap-on"},
                                    {"Tessik", "tessik-swap-off"},   {"Quorra", "quorra-side-40db"},
                                    {"Quorra", "quorra-mid+6db"},    {"Ombrel", "ombrel-mid-delay"},
                                    {"Ombrel", "ombrel-side-delay"}};
  for (const auto& [plugin, stem] : renders) {
    if (!fs::exists(pluginPath(plugin))) continue;
    EXPECT_TRUE(fs::exists(dir / "demo" / (std::string(stem) + ".wav"))) << stem;
    EXPECT_EQ(readText(dir / "demo" / (std::string(stem) + ".png")).substr(1, 3), "PNG") << stem;
  }
}

TEST_F(CliTest, EveryCommandHasHelp) {
  for (const char* command : {"list", "info", "render", "preset", "bench", "demo"}) {
    const Outcome result = run({command, "--help"});
    EXPECT_EQ(result.status, 0) << command;
    EXPECT_EQ(result.out.rfind("usage: stelloria ", 0), 0u) << command << ": " << result.out;
  }
}

}  // namespace
}  // namespace clitest
