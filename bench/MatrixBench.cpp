// The matrix plug-ins (Quorra, Tessik, Lindle) timed the way a host drives
// them: loaded from their modules, processReplacing called through the effect
// record, with separate and with in-place buffers. Compare with BM_Copy.
#include <benchmark/benchmark.h>

#include "BenchBuffers.h"
#include "VstPlugin.h"

static void BM_Matrix(benchmark::State& state, const char* name, bool inPlace) {
  const auto frames = static_cast<int32_t>(state.range(0));
  std::string error;
  auto plugin = host::VstPlugin::load(pluginPath(name), &error);
  if (!plugin) {
    state.SkipWithError(error.c_str());
    return;
  }
  plugin->setSampleRate(44100.0f);
  plugin->setBlockSize(frames);
  plugin->mainsChanged(true);
  AEffect* effect = plugin->effect();
  BenchBuffers buffers(frames);
  float** inputs = buffers.inputs();
  // In place, Lindle doubles the signal every second block until it is
  // infinite; SSE arithmetic on infinities and NaNs runs at full speed, so
  // the timing is unaffected. The default settings of Quorra and Tessik keep
  // the level.
  float** outputs = inPlace ? buffers.inPlace() : buffers.outputs();
  for (auto _ : state) {
    effect->processReplacing(effect, inputs, outputs, frames);
    benchmark::DoNotOptimize(outputs[0]);
    benchmark::DoNotOptimize(outputs[1]);
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations() * frames);
}

BENCHMARK_CAPTURE(BM_Matrix, Quorra, "Quorra", false)->Arg(64)->Arg(512)->Arg(4096);
BENCHMARK_CAPTURE(BM_Matrix, Quorra_inPlace, "Quorra", true)->Arg(64)->Arg(512)->Arg(4096);
BENCHMARK_CAPTURE(BM_Matrix, Tessik, "Tessik", false)->Arg(64)->Arg(512)->Arg(4096);
BENCHMARK_CAPTURE(BM_Matrix, Tessik_inPlace, "Tessik", true)->Arg(64)->Arg(512)->Arg(4096);
BENCHMARK_CAPTURE(BM_Matrix, Lindle, "Lindle", false)->Arg(64)->Arg(512)->Arg(4096);
BENCHMARK_CAPTURE(BM_Matrix, Lindle_inPlace, "Lindle", true)->Arg(64)->Arg(512)->Arg(4096);
