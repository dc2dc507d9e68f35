// The delay Ombrel through its effect record, as a host calls it: with the
// delay settled (one setDelay per block) and during a ramp (one per sample),
// on separate and on in-place buffers. Compare with BM_Copy of the same run.
#include <benchmark/benchmark.h>

#include "BenchBuffers.h"
#include "VstPlugin.h"

namespace {

std::unique_ptr<host::VstPlugin> loadOmbrel(benchmark::State& state) {
  std::string error;
  auto plugin = host::VstPlugin::load(pluginPath("Ombrel"), &error);
  if (plugin == nullptr) state.SkipWithError(error.c_str());
  return plugin;
}

void runOmbrel(benchmark::State& state, bool ramp, bool inPlace) {
  const auto frames = static_cast<int32_t>(state.range(0));
  BenchBuffers buffers(frames);
  auto plugin = loadOmbrel(state);
  if (plugin == nullptr) return;
  plugin->setParameter(1, 0.5f);
  plugin->setParameter(5, 1.0f);
  plugin->setParameter(0, 0.25f);
  // Past the start-up sweep and the first ramp.
  for (int32_t done = 0; done < 8192; done += frames)
    plugin->processReplacing(buffers.inputs(), buffers.outputs(), frames);

  float** outputs = inPlace ? buffers.inPlace() : buffers.outputs();
  bool high = false;
  for (auto _ : state) {
    // A new target before every block keeps a 4096-sample ramp running.
    if (ramp) plugin->setParameter(0, (high = !high) ? 0.26f : 0.25f);
    plugin->processReplacing(buffers.inputs(), outputs, frames);
    benchmark::DoNotOptimize(outputs[0]);
    benchmark::DoNotOptimize(outputs[1]);
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations() * frames);
}

void BM_OmbrelSettled(benchmark::State& state) { runOmbrel(state, false, false); }
void BM_OmbrelSettledInPlace(benchmark::State& state) { runOmbrel(state, false, true); }
void BM_OmbrelRamp(benchmark::State& state) { runOmbrel(state, true, false); }
void BM_OmbrelRampInPlace(benchmark::State& state) { runOmbrel(state, true, true); }

}  // namespace

BENCHMARK(BM_OmbrelSettled)->Arg(64)->Arg(512)->Arg(4096);
BENCHMARK(BM_OmbrelSettledInPlace)->Arg(64)->Arg(512)->Arg(4096);
BENCHMARK(BM_OmbrelRamp)->Arg(64)->Arg(512)->Arg(4096);
BENCHMARK(BM_OmbrelRampInPlace)->Arg(64)->Arg(512)->Arg(4096);
