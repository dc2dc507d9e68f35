// stelloria render: one audio file through one plug-in, offline.
#include <cstdio>

#include "Arguments.h"
#include "AudioFile.h"
#include "CliError.h"
#include "Commands.h"
#include "PendingFile.h"
#include "PluginSession.h"
#include "PresetFile.h"
#include "Renderer.h"
#include "Scope.h"

namespace cli {

int runRender(const CommandArguments& args) {
  const Arguments arguments(args, {{"set", true},
                                   {"program", true},
                                   {"preset", true},
                                   {"block", true},
                                   {"tail", true},
                                   {"scope", true}});
  if (arguments.helpRequested()) {
    std::puts(
        "usage: stelloria render PLUGIN IN OUT [options]\n"
        "Runs IN (any file libsndfile reads: WAV, FLAC, AIFF, Ogg...; mono or\n"
        "stereo) through PLUGIN and writes OUT in the format its extension names\n"
        "(.wav and .aiff as 32-bit float, so nothing clips; .flac 24-bit; .ogg).\n"
        "\n"
        "  --set NAME=VALUE   set a parameter (by name, case ignored, or by index)\n"
        "                     to a normalised value 0..1; may be repeated\n"
        "  --program N        select program N first\n"
        "  --preset FILE      load a .fxp program or .fxb bank first\n"
        "  --block FRAMES     frames per processing call (default 512)\n"
        "  --tail SECONDS     keep processing silence after the input (default 0)\n"
        "  --scope FILE.png   draw the stereo image before and after");
    return 0;
  }
  if (arguments.positionals().size() != 3)
    throw CliError("render needs PLUGIN IN OUT (see stelloria render --help)", true);
  const std::string& inputPath = arguments.positionals()[1];
  const std::string& outputPath = arguments.positionals()[2];
  RenderSettings settings;
  settings.blockFrames =
      static_cast<int32_t>(parseInteger(arguments.value("block", "512"), "--block", 1, 1 << 20));
  settings.tailSeconds = parseNumber(arguments.value("tail", "0"), "--tail");
  if (settings.tailSeconds < 0.0 || settings.tailSeconds > 3600.0)
    throw CliError("--tail: must be between 0 and 3600 seconds", true);
  const std::string scopePath = arguments.value("scope");

  // Everything that can be checked without the plug-in is checked first.
  requireWritableFormat(outputPath);
  requireOutputFolder(outputPath);
  if (!scopePath.empty()) requireOutputFolder(scopePath);
  Preset preset;
  const std::string presetPath = arguments.value("preset");
  if (!presetPath.empty()) preset = readPreset(presetPath);
  const Audio input = readAudio(inputPath);

  PluginSession session(arguments.positionals()[0]);
  session.prepare(input.sampleRate, settings.blockFrames);
  if (arguments.has("program")) session.selectProgram(arguments.value("program"));
  if (!presetPath.empty()) applyPreset(session.plugin(), preset, presetPath);
  session.applySettings(arguments.all("set"));

  const Audio output = render(session.plugin(), input, settings);
  writeAudio(outputPath, output);
  if (!scopePath.empty())
    drawScope(scopePath, input, output, session.name() + ": " + inputPath + " -> " + outputPath);
  return 0;
}

}  // namespace cli
