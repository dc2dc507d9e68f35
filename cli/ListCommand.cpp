// stelloria list: every VST 2 plug-in on the search path, one line each. Each
// file is examined in a child process with a time limit, so a broken
// third-party plug-in is reported and skipped.
#include <cstdio>

#include "Arguments.h"
#include "CliError.h"
#include "Commands.h"
#include "PluginProbe.h"
#include "PluginSearch.h"
#include "VstPlugin.h"

namespace cli {

int runList(const CommandArguments& args) {
  const Arguments arguments(args, {{"timeout", true}});
  if (arguments.helpRequested()) {
    std::puts(
        "usage: stelloria list [--timeout SECONDS]\n"
        "Lists the VST 2 plug-ins on the search path: name, vendor, unique ID,\n"
        "inputs/outputs, parameter count and file. Each is examined in a child\n"
        "process; one that crashes or takes longer than SECONDS (default 5) is\n"
        "reported on standard error and skipped.");
    return 0;
  }
  if (!arguments.positionals().empty())
    throw CliError("list takes no arguments (see stelloria list --help)", true);
  const double timeout = parseNumber(arguments.value("timeout", "5"), "--timeout");
  if (timeout <= 0.0) throw CliError("--timeout: must be more than 0 seconds", true);

  const std::vector<std::string> files = findPluginFiles();
  int found = 0;
  for (const std::string& file : files) {
    const ProbeResult probe = probePlugin(file, timeout);
    if (!probe.ok) {
      std::fprintf(stderr, "stelloria: skipped %s\n", probe.error.c_str());
      continue;
    }
    const PluginSummary& plugin = probe.summary;
    std::printf("%-20s %-24s %s  %d/%d  %3d params  %s\n", plugin.effectName.c_str(),
                plugin.vendor.c_str(), host::fourCharText(plugin.uniqueID).c_str(),
                plugin.numInputs, plugin.numOutputs, plugin.numParams, file.c_str());
    std::fflush(stdout);
    ++found;
  }
  if (found == 0) {
    std::string folders;
    for (const std::string& folder : searchDirectories()) folders += " " + folder;
    std::fprintf(stderr, "stelloria: no VST 2 plug-ins found in:%s\n", folders.c_str());
  }
  return 0;
}

}  // namespace cli
