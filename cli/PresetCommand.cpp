// stelloria preset save: writes a plug-in's program or bank as a standard
// .fxp or .fxb file in parameter form.
#include <cstdio>

#include "Arguments.h"
#include "CliError.h"
#include "Commands.h"
#include "PendingFile.h"
#include "PluginSession.h"
#include "PresetFile.h"

namespace cli {

int runPreset(const CommandArguments& args) {
  const Arguments arguments(args, {{"set", true}, {"program", true}, {"preset", true}});
  if (arguments.helpRequested() || arguments.positionals().empty()) {
    if (!arguments.helpRequested())
      throw CliError("preset needs a sub-command: save (see stelloria preset --help)", true);
    std::puts(
        "usage: stelloria preset save PLUGIN OUT.fxp|OUT.fxb [options]\n"
        "Writes the plug-in's current program (.fxp) or all its programs (.fxb)\n"
        "as a standard VST 2 preset file in parameter form.\n"
        "\n"
        "  --program N        select program N first\n"
        "  --preset FILE      load a .fxp or .fxb first (to convert or edit one)\n"
        "  --set NAME=VALUE   set a parameter (name or index, normalised 0..1)");
    return 0;
  }
  if (arguments.positionals()[0] != "save")
    throw CliError("preset: unknown sub-command '" + arguments.positionals()[0] + "' (use save)",
                   true);
  if (arguments.positionals().size() != 3)
    throw CliError("preset save needs PLUGIN and OUT.fxp|OUT.fxb", true);
  const std::string& outputPath = arguments.positionals()[2];
  const bool bank = isBankPath(outputPath);
  requireOutputFolder(outputPath);
  const std::string presetPath = arguments.value("preset");
  Preset loaded;
  if (!presetPath.empty()) loaded = readPreset(presetPath);

  PluginSession session(arguments.positionals()[1]);
  if (!presetPath.empty()) applyPreset(session.plugin(), loaded, presetPath);
  if (arguments.has("program")) session.selectProgram(arguments.value("program"));
  session.applySettings(arguments.all("set"));
  if (session.plugin().flags() & effFlagsProgramChunks)
    std::fprintf(stderr,
                 "stelloria: warning: %s keeps private chunk state; only its parameters are saved\n",
                 session.name().c_str());
  writePreset(outputPath, capturePreset(session.plugin(), bank));
  return 0;
}

}  // namespace cli
