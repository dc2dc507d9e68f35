// stelloria demo: renders a test signal through each Stelloria plug-in with a
// few telling settings and prints what each did to left, right, mid and side.
// Plug-ins not found on the search path are skipped with a note, so the demo
// also runs on a partial build.
#include <strings.h>

#include <cstdio>
#include <filesystem>
#include <system_error>

#include "Arguments.h"
#include "AudioFile.h"
#include "CliError.h"
#include "Commands.h"
#include "Levels.h"
#include "PluginSearch.h"
#include "PluginSession.h"
#include "Renderer.h"
#include "Scope.h"
#include "TestSignal.h"

namespace cli {
namespace {

struct DemoRender {
  const char* plugin;
  const char* stem;
  const char* what;
  std::vector<std::string> settings;
  bool encodedInput;  // the decoder is fed a mid/side pair
  double tailSeconds;
};

const std::vector<DemoRender>& demoRenders() {
  static const std::vector<DemoRender> renders = {
      {"Lindle", "lindle-decode", "decoder on an encoded pair: mid/side back to left/right",
       {}, true, 0.0},
      {"Tessik", "tessik-swap-on", "swap on: mid and side change places", {" Swap=1"}, false, 0.0},
      {"Tessik", "tessik-swap-off", "swap off: passes the signal through", {" Swap=0"}, false, 0.0},
      {"Quorra", "quorra-side-40db", "side at -40 dB: close to mono", {"Side Gain=0"}, false, 0.0},
      {"Quorra", "quorra-mid+6db", "mid at +6 dB: narrower, louder centre", {"Mid Gain=0.575"},
       false, 0.0},
      {"Ombrel", "ombrel-mid-delay", "250 ms delay on the mid with feedback",
       {"Select=0", "Delay time=0.25", "Feedback=0.5", "Mix wet-dry=0.5"}, false, 1.5},
      {"Ombrel", "ombrel-side-delay", "250 ms delay on the side with feedback",
       {"Select=1", "Delay time=0.25", "Feedback=0.5", "Mix wet-dry=0.5"}, false, 1.5},
  };
  return renders;
}

// By file name only: examining every plug-in on the system would be slow.
std::string findSuitePlugin(const std::string& name) {
  for (const std::string& file : findPluginFiles())
    if (strcasecmp(std::filesystem::path(file).stem().c_str(), name.c_str()) == 0) return file;
  return "";
}

}  // namespace

int runDemo(const CommandArguments& args) {
  const Arguments arguments(args, {{"out", true}, {"seconds", true}, {"no-scope", false}});
  if (arguments.helpRequested()) {
    std::puts(
        "usage: stelloria demo [IN] [--out DIR] [--seconds S] [--no-scope]\n"
        "Renders IN, or without it a generated stereo test signal of S seconds\n"
        "(default 4) with mid and side tones and transients, through each\n"
        "Stelloria plug-in with a few telling settings. Writes the input, each\n"
        "render and a picture of each (vectorscope and mid/side levels, input\n"
        "beside output) to DIR (default out/demo), and prints peak and RMS of\n"
        "left, right, mid and side before and after.");
    return 0;
  }
  if (arguments.positionals().size() > 1)
    throw CliError("demo takes at most one input file (see stelloria demo --help)", true);
  const std::string folder = arguments.value("out", "out/demo");
  const double seconds = parseNumber(arguments.value("seconds", "4"), "--seconds");
  if (seconds <= 0.0 || seconds > 600.0)
    throw CliError("--seconds: must be more than 0 and at most 600", true);
  const bool drawPictures = !arguments.has("no-scope");

  const Audio input = arguments.positionals().empty() ? makeTestSignal(seconds, 48000)
                                                      : readAudio(arguments.positionals()[0]);
  std::error_code error;
  std::filesystem::create_directories(folder, error);
  if (error) throw CliError(folder + ": cannot create folder (" + error.message() + ")");
  const Audio encoded = encodeMidSide(input);
  writeAudio(folder + "/input.wav", input);
  writeAudio(folder + "/input-encoded.wav", encoded);
  std::printf("Input: %s, %.1f s at %d Hz -> %s/input.wav (and its mid/side pair, input-encoded.wav)\n\n",
              arguments.positionals().empty() ? "test signal (220 Hz mid, 660 Hz side, bursts)"
                                              : arguments.positionals()[0].c_str(),
              static_cast<double>(input.frames()) / input.sampleRate, input.sampleRate,
              folder.c_str());

  int rendered = 0;
  for (const DemoRender& demo : demoRenders()) {
    const std::string path = findSuitePlugin(demo.plugin);
    if (path.empty()) {
      std::printf("%s: not found on the search path; skipped (%s)\n\n", demo.plugin, demo.what);
      continue;
    }
    std::printf("%s: %s\n", demo.plugin, demo.what);
    std::fflush(stdout);
    PluginSession session(path);
    RenderSettings settings;
    settings.tailSeconds = demo.tailSeconds;
    const Audio& source = demo.encodedInput ? encoded : input;
    session.prepare(source.sampleRate, settings.blockFrames);
    session.applySettings(demo.settings);
    const Audio output = render(session.plugin(), source, settings);
    const std::string outputPath = folder + "/" + demo.stem + ".wav";
    writeAudio(outputPath, output);
    std::printf("  -> %s", outputPath.c_str());
    if (drawPictures) {
      const std::string picture = folder + "/" + demo.stem + ".png";
      drawScope(picture, source, output, std::string(demo.plugin) + ": " + demo.what);
      std::printf(", %s", picture.c_str());
    }
    // The decoder's "in" is the stereo signal its mid/side pair stands for.
    std::printf("\n%s\n", levelTable(measureLevels(input), measureLevels(output)).c_str());
    ++rendered;
  }
  if (rendered == 0)
    throw CliError("no Stelloria plug-in found on the search path (build them first)");
  std::printf("%d renders in %s/\n", rendered, folder.c_str());
  return 0;
}

}  // namespace cli
