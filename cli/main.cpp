// stelloria: a command-line VST 2 host. Lists, inspects, renders, benchmarks
// and demonstrates VST 2 plug-ins on Linux, the Stelloria suite and any other.
#include <cstdio>
#include <cstring>
#include <string>

#include "CliError.h"
#include "Commands.h"

namespace {

const char* const kUsage =
    "usage: stelloria COMMAND [ARGUMENTS]   (stelloria COMMAND --help for more)\n"
    "\n"
    "commands:\n"
    "  list                      the VST 2 plug-ins on the search path\n"
    "  info PLUGIN [--json]      identity, capabilities, parameters and programs\n"
    "  render PLUGIN IN OUT      run an audio file through a plug-in\n"
    "  preset save PLUGIN FILE   write a .fxp program or .fxb bank file\n"
    "  bench PLUGIN...           processing cost against a plain copy\n"
    "  demo [IN]                 render a test signal through the Stelloria plug-ins\n"
    "\n"
    "PLUGIN is a path to a .so file or a name found on the search path: VST_PATH\n"
    "if set, else ~/.vst, ~/.lxvst, /usr/local/lib/vst, /usr/lib/vst, /usr/lib/lxvst\n"
    "and the plug-ins built or installed with stelloria.\n";

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2 || std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "help") == 0) {
    std::fputs(kUsage, argc < 2 ? stderr : stdout);
    return argc < 2 ? 2 : 0;
  }
  const std::string command = argv[1];
  const cli::CommandArguments args(argv + 2, argv + argc);
  try {
    if (command == "list") return cli::runList(args);
    if (command == "info") return cli::runInfo(args);
    if (command == "render") return cli::runRender(args);
    if (command == "preset") return cli::runPreset(args);
    if (command == "bench") return cli::runBench(args);
    if (command == "demo") return cli::runDemo(args);
    throw cli::CliError("unknown command '" + command + "' (see stelloria --help)", true);
  } catch (const cli::CliError& error) {
    std::fflush(stdout);
    std::fprintf(stderr, "stelloria: %s\n", error.what());
    return error.isUsage() ? 2 : 1;
  } catch (const std::exception& error) {
    std::fflush(stdout);
    std::fprintf(stderr, "stelloria: %s\n", error.what());
    return 1;
  }
}
