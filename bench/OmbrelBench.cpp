// The delay Ombrel through its effect record, as a host calls it: with the
// delay settled (one delay for the block) and during a ramp (a new delay every
// sample), processReplacing and process, on separate and in-place buffers;
// and the first ten seconds of a fresh instance against ten seconds of one
// long past its start. Compare with BM_Copy of the same run.
#include <benchmark/benchmark.h>

#include "BenchBuffers.h"

namespace {

enum Parameter : int32_t { kDelayTime, kFeedback, kMaxDelay, kSelect = 4, kSmooth, kMix };

//! A 250 ms delay with feedback, half wet, past its start-up ramp.
std::unique_ptr<host::VstPlugin> startOmbrel(benchmark::State& state, int32_t frames) {
  std::string error;
  auto plugin = startPlugin(pluginPath("Ombrel"), frames, &error);
  if (plugin == nullptr) {
    state.SkipWithError(error.c_str());
    return nullptr;
  }
  plugin->setParameter(kFeedback, 0.5f);
  plugin->setParameter(kMaxDelay, 0.1f);
  plugin->setParameter(kSmooth, 1.0f);
  plugin->setParameter(kMix, 0.5f);
  plugin->setParameter(kDelayTime, 0.25f);
  return plugin;
}

void runOmbrel(benchmark::State& state, bool ramp, bool adding, bool inPlace) {
  const auto frames = static_cast<int32_t>(state.range(0));
  auto plugin = startOmbrel(state, frames);
  if (plugin == nullptr) return;
  BenchBuffers buffers(frames);
  for (int32_t done = 0; done < 8192; done += frames)
    plugin->processReplacing(buffers.inputs(), buffers.outputs(), frames);

  AEffect* effect = plugin->effect();
  float** inputs = buffers.inputs();
  float** outputs = inPlace ? buffers.inPlace() : buffers.outputs();
  bool high = false;
  for (auto _ : state) {
    // A new target before every block keeps a 4096-sample ramp running.
    if (ramp) effect->setParameter(effect, kDelayTime, (high = !high) ? 0.26f : 0.25f);
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

constexpr int32_t kTenSeconds = 441000;

void processTenSeconds(host::VstPlugin& plugin, BenchBuffers& buffers, int32_t frames) {
  for (int32_t done = 0; done < kTenSeconds; done += frames)
    plugin.processReplacing(buffers.inputs(), buffers.outputs(), frames);
}

//! Ten seconds in blocks of the argument, from an instance made for each
//! iteration (not timed) or from one that has run ten seconds already. A delay
//! line paged in on first use would show here, not in the steady figures.
void runTenSeconds(benchmark::State& state, bool fresh) {
  const auto frames = static_cast<int32_t>(state.range(0));
  BenchBuffers buffers(frames);
  std::unique_ptr<host::VstPlugin> plugin = startOmbrel(state, frames);
  if (plugin == nullptr) return;
  processTenSeconds(*plugin, buffers, frames);
  for (auto _ : state) {
    if (fresh) {
      state.PauseTiming();
      plugin.reset();
      plugin = startOmbrel(state, frames);
      state.ResumeTiming();
    }
    processTenSeconds(*plugin, buffers, frames);
    benchmark::DoNotOptimize(buffers.outputs()[0]);
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations() * kTenSeconds);
}

const bool registered = [] {
  for (const bool ramp : {false, true})
    for (const bool adding : {false, true})
      for (const bool inPlace : {false, true}) {
        const std::string title = std::string("BM_Ombrel") + (ramp ? "Ramp" : "Settled") +
                                  (adding ? "/process" : "/processReplacing") +
                                  (inPlace ? "/inPlace" : "/separate");
        benchmark::RegisterBenchmark(title.c_str(), runOmbrel, ramp, adding, inPlace)
            ->Arg(64)
            ->Arg(512)
            ->Arg(4096);
      }
  for (const bool fresh : {false, true})
    benchmark::RegisterBenchmark(fresh ? "BM_OmbrelTenSeconds/fresh" : "BM_OmbrelTenSeconds/steady",
                                 runTenSeconds, fresh)
        ->Arg(512)
        ->Unit(benchmark::kMillisecond);
  return true;
}();

}  // namespace
