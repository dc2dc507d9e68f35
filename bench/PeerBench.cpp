// Peers: any VST 2 modules named in STELLORIA_PEER (paths separated by ':'),
// timed exactly as the suite's plug-ins are, so a user can set ours beside
// the plug-ins they would otherwise pick. Each runs processReplacing on
// separate buffers at its default settings; none is registered without the
// variable. Names read BM_Peer/<module file>/<frames>.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdlib>
#include <sstream>

#include "BenchBuffers.h"

namespace {

void runPeer(benchmark::State& state, const std::string& path) {
  const auto frames = static_cast<int32_t>(state.range(0));
  std::string error;
  auto plugin = startPlugin(path, frames, &error);
  if (plugin == nullptr) {
    state.SkipWithError(error.c_str());
    return;
  }
  AEffect* effect = plugin->effect();
  const auto channels = static_cast<size_t>(std::max({2, effect->numInputs, effect->numOutputs}));
  BenchBuffers buffers(frames, channels);
  const unsigned floatMode = _mm_getcsr();
  for (auto _ : state) {
    effect->processReplacing(effect, buffers.inputs(), buffers.outputs(), frames);
    benchmark::DoNotOptimize(buffers.outputs()[0]);
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations() * frames);
  // A peer that changes the mode while processing must not change our figures.
  _mm_setcsr(floatMode);
}

const bool registered = [] {
  const char* list = std::getenv("STELLORIA_PEER");
  if (list == nullptr) return false;
  std::istringstream paths(list);
  std::string path;
  while (std::getline(paths, path, ':')) {
    if (path.empty()) continue;
    const std::string file = path.substr(path.find_last_of('/') + 1);
    benchmark::RegisterBenchmark(("BM_Peer/" + file).c_str(), runPeer, path)
        ->Arg(64)
        ->Arg(512)
        ->Arg(4096);
  }
  return true;
}();

}  // namespace
