// libFuzzer target: one plug-in, named at build time, driven by a hostile
// host (HostActions). After the hostile actions the host settles on finite
// settings and demands finite output for finite input; anything else, and
// every sanitizer report, is a finding.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include "HostActions.h"

namespace {

std::shared_ptr<host::PluginLibrary> library;

}  // namespace

// The library is opened once, before the first input, so that its coverage
// counters are known to libFuzzer from the start.
extern "C" int LLVMFuzzerInitialize(int*, char***) {
  std::string error;
  library = host::PluginLibrary::open(STELLORIA_FUZZ_PLUGIN, &error);
  if (library == nullptr) {
    std::fprintf(stderr, "cannot load %s: %s\n", STELLORIA_FUZZ_PLUGIN, error.c_str());
    std::exit(1);
  }
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  HostActions actions(library);
  actions.play(data, size);
  const uint32_t seed = static_cast<uint32_t>(size);
  actions.restoreFiniteSettings(seed);
  if (!actions.finiteInGivesFiniteOut(seed, false)) {
    std::fprintf(stderr, "non-finite output for finite input after finite settings\n");
    __builtin_trap();
  }
  return 0;
}
