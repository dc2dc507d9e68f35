// Bad input: every failure is one line on standard error naming what is
// wrong, a non-zero exit status, and no output file, partial or whole.
#include "CliTestSupport.h"

namespace clitest {
namespace {

struct ErrorCase {
  const char* what;
  std::vector<std::string> args;  // "@x" is replaced by the path of fake plug-in x
  const char* message;
  int status;
};

std::ostream& operator<<(std::ostream& out, const ErrorCase& c) { return out << c.what; }

class CliErrorCase : public CliTest, public ::testing::WithParamInterface<ErrorCase> {
 protected:
  void SetUp() override {
    CliTest::SetUp();
    requirePlugin("Tessik");
    requirePlugin("Quorra");
    std::vector<float> stereo = {0.1f, 0.2f, 0.3f, 0.4f};
    writeWav("in.wav", 48000, 2, stereo);
    writeWav("three.wav", 48000, 3, {0.1f, 0.2f, 0.3f});
    std::ofstream(at("text.wav")) << "this is not audio\n";
    std::ofstream(at("text.so")) << "this is not a plug-in\n";
    // A WAV file cut off in the middle of its sample data.
    std::vector<float> longer(2 * 4096, 0.25f);
    writeWav("whole.wav", 48000, 2, longer);
    const std::string whole = readText(at("whole.wav"));
    std::ofstream(at("cut.wav"), std::ios::binary) << whole.substr(0, whole.size() / 2);
    ASSERT_EQ(run({"preset", "save", "Tessik", "tessik.fxp"}).status, 0);
    before = files();
  }
  std::vector<std::string> before;
};

TEST_P(CliErrorCase, FailsWithOneClearLineAndNoOutput) {
  const ErrorCase& c = GetParam();
  std::vector<std::string> args;
  for (const std::string& arg : c.args)
    args.push_back(arg[0] == '@' ? fakePath(arg.substr(1)) : arg);
  const Outcome result = run(args);
  EXPECT_EQ(result.status, c.status);
  EXPECT_NE(result.err.find(c.message), std::string::npos) << result.err;
  EXPECT_EQ(std::count(result.err.begin(), result.err.end(), '\n'), 1) << result.err;
  EXPECT_EQ(result.err.rfind("stelloria: ", 0), 0u) << result.err;
  EXPECT_EQ(files(), before) << "left output behind";
}

INSTANTIATE_TEST_SUITE_P(
    BadInput, CliErrorCase,
    ::testing::Values(
        ErrorCase{"missing input", {"render", "Tessik", "nope.wav", "out.wav"},
                  "nope.wav: no such file", 1},
        ErrorCase{"not audio", {"render", "Tessik", "text.wav", "out.wav"},
                  "text.wav: not an audio file", 1},
        ErrorCase{"damaged audio", {"render", "Tessik", "cut.wav", "out.wav"},
                  "cut.wav: damaged", 1},
        ErrorCase{"three channels", {"render", "Tessik", "three.wav", "out.wav"},
                  "three.wav: has 3 channels", 1},
        ErrorCase{"unknown parameter", {"render", "Quorra", "in.wav", "out.wav", "--set", "gain=1"},
                  "no parameter 'gain'; valid names: 'mid gain', 'side gain'", 2},
        ErrorCase{"value not a number",
                  {"render", "Tessik", "in.wav", "out.wav", "--set", "swap=loud"},
                  "'loud' is not a number", 2},
        ErrorCase{"preset for another plug-in",
                  {"render", "Quorra", "in.wav", "out.wav", "--preset", "tessik.fxp"},
                  "tessik.fxp: preset is for the plug-in with unique ID 'Tess'", 1},
        ErrorCase{"preset that is not one",
                  {"render", "Quorra", "in.wav", "out.wav", "--preset", "in.wav"},
                  "in.wav: not a VST preset file", 1},
        ErrorCase{"not a shared library", {"render", "./text.so", "in.wav", "out.wav"},
                  "text.so: cannot load", 1},
        ErrorCase{"no entry point", {"render", "@nomain", "in.wav", "out.wav"},
                  "not a VST 2 plug-in (no VSTPluginMain or main)", 1},
        ErrorCase{"null record", {"render", "@null", "in.wav", "out.wav"},
                  "returned no effect record", 1},
        ErrorCase{"wrong magic", {"info", "@magic"}, "wrong magic", 1},
        ErrorCase{"crash while examined", {"render", "@crash", "in.wav", "out.wav"},
                  "crashed while examined", 1},
        ErrorCase{"unknown plug-in name", {"info", "Nonesuch"}, "Nonesuch: no plug-in", 1},
        ErrorCase{"output folder missing", {"render", "Tessik", "in.wav", "gone/out.wav"},
                  "folder 'gone' does not exist", 1},
        ErrorCase{"preset folder missing", {"preset", "save", "Tessik", "gone/p.fxp"},
                  "folder 'gone' does not exist", 1},
        ErrorCase{"unknown output format", {"render", "Tessik", "in.wav", "out.xyz"},
                  "unknown output format", 1},
        ErrorCase{"program out of range",
                  {"render", "Tessik", "in.wav", "out.wav", "--program", "4"},
                  "--program: 4 is outside 0..3", 2},
        ErrorCase{"unknown option", {"render", "Tessik", "in.wav", "out.wav", "--loud"},
                  "unknown option --loud", 2},
        ErrorCase{"unknown command", {"mangle"}, "unknown command 'mangle'", 2}));

}  // namespace
}  // namespace clitest
