// Examines a plug-in in a child process with a time limit, so that a plug-in
// that crashes or hangs while loading, in `main` or on effOpen costs the child
// and not stelloria. The price is one fork per plug-in, which is small next to
// loading a plug-in library.
#pragma once

#include <cstdint>
#include <string>

namespace cli {

struct PluginSummary {
  std::string effectName;
  std::string vendor;
  int32_t uniqueID = 0;
  int32_t numInputs = 0;
  int32_t numOutputs = 0;
  int32_t numParams = 0;
};

struct ProbeResult {
  bool ok = false;
  std::string error;  // one line naming the file, when not ok
  PluginSummary summary;
};

//! Loads, opens and closes the plug-in in a child; never throws for a bad plug-in.
ProbeResult probePlugin(const std::string& path, double timeoutSeconds);

//! probePlugin, throwing CliError with its message when the plug-in is unusable.
PluginSummary requireSafePlugin(const std::string& path);

}  // namespace cli
