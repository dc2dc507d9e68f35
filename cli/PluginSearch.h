// Where VST 2 plug-ins are looked for, and how a name on the command line
// becomes a file: a path is taken as it is; otherwise a file named NAME.so
// (any case) on the search path; otherwise a plug-in whose effect name is NAME,
// each candidate examined in a child process.
#pragma once

#include <string>
#include <vector>

namespace cli {

//! VST_PATH (colon-separated) if set; else ~/.vst, ~/.lxvst, /usr/local/lib/vst,
//! /usr/lib/vst, /usr/lib/lxvst, then this build's and this install's plug-in folders.
std::vector<std::string> searchDirectories();

//! Every .so file in the search directories (and one level of sub-folders),
//! each real file once, in search order.
std::vector<std::string> findPluginFiles();

//! The plug-in file for a command-line argument; throws CliError when none.
std::string resolvePlugin(const std::string& argument);

}  // namespace cli
