// The sub-commands of stelloria. Each takes the arguments after its name,
// prints its help for "--help", and reports failures by throwing CliError.
#pragma once

#include <string>
#include <vector>

namespace cli {

using CommandArguments = std::vector<std::string>;

int runList(const CommandArguments& args);
int runInfo(const CommandArguments& args);
int runRender(const CommandArguments& args);
int runPreset(const CommandArguments& args);
int runBench(const CommandArguments& args);
int runDemo(const CommandArguments& args);

}  // namespace cli
