// The matrix plug-ins (Lindle, Tessik, Quorra) timed the way a host drives
// them: loaded from their modules and called through the effect record,
// processReplacing and process, on separate and on in-place buffers.
// Names read BM_<plug-in>/<call>/<buffers>/<frames>; compare with BM_Copy of
// the same run.
#include <benchmark/benchmark.h>

#include "BenchBuffers.h"

namespace {

void runMatrix(benchmark::State& state, const char* name, bool adding, bool inPlace) {
  const auto frames = static_cast<int32_t>(state.range(0));
  std::string error;
  auto plugin = startPlugin(pluginPath(name), frames, &error);
  if (plugin == nullptr) {
    state.SkipWithError(error.c_str());
    return;
  }
  AEffect* effect = plugin->effect();
  BenchBuffers buffers(frames);
  float** inputs = buffers.inputs();
  // In place, and when adding, the level grows until it is infinite; vector
  // and scalar arithmetic on infinities and NaNs runs at full speed, so the
  // timing is unaffected (unlike subnormals, which never arise here).
  float** outputs = inPlace ? buffers.inPlace() : buffers.outputs();
  for (auto _ : state) {
    if (adding)
      effect->process(effect, inputs, outputs, frames);
    else
      effect->processReplacing(effect, inputs, outputs, frames);
    benchmark::DoNotOptimize(outputs[0]);
    benchmark::DoNotOptimize(outputs[1]);
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations() * frames);
}

const bool registered = [] {
  for (const char* name : {"Lindle", "Tessik", "Quorra"})
    for (const bool adding : {false, true})
      for (const bool inPlace : {false, true}) {
        const std::string title = std::string("BM_") + name +
                                  (adding ? "/process" : "/processReplacing") +
                                  (inPlace ? "/inPlace" : "/separate");
        benchmark::RegisterBenchmark(title.c_str(), runMatrix, name, adding, inPlace)
            ->Arg(64)
            ->Arg(512)
            ->Arg(4096);
      }
  return true;
}();

}  // namespace
