// What denormals cost Ombrel. Nothing on the audio path flushes them (results
// stay bit-exact), so while the feedback decays through the denormal range of
// the delay line's 64-bit samples every sample meets them. Both cases run the
// same settings on silence: delay 0, all wet, "Feedback" 1, which keeps a
// circulating value at its size (y[t] = -y[t-1]). In one the value is normal
// (0.1), in the other it was first decayed to about 1e-308, a 64-bit denormal.
#include <benchmark/benchmark.h>

#include <memory>
#include <string>
#include <vector>

#include "BenchBuffers.h"
#include "VstPlugin.h"

namespace {

enum Parameter : int32_t { kDelayTime, kFeedback, kMaxDelay, kSelect = 4, kSmooth, kMix };

//! Ombrel at delay 0, all wet, holding one circulating value made from `start`
//! and decayed by `decay` once per sample for `decaySamples` samples.
std::unique_ptr<host::VstPlugin> circulating(float start, float decay, int32_t decaySamples) {
  std::string error;
  auto plugin = host::VstPlugin::load(pluginPath("Ombrel"), &error);
  if (plugin == nullptr) return nullptr;
  plugin->open();
  plugin->setSampleRate(44100.0f);
  plugin->setBlockSize(4096);
  plugin->setParameter(kSmooth, 0.0f);
  plugin->setParameter(kMaxDelay, 0.0f);
  plugin->setParameter(kDelayTime, 0.001f);  // 0.001 of a full scale of 0: delay 0
  plugin->setParameter(kSelect, 0.0f);
  plugin->setParameter(kMix, 0.0f);
  plugin->mainsChanged(true);
  std::vector<float> silence(4096, 0.0f), out(4096);
  float* inputs[2] = {silence.data(), silence.data()};
  float* outputs[2] = {out.data(), out.data()};
  plugin->processReplacing(inputs, outputs, 4096);  // the delay settles at 0
  plugin->mainsChanged(false);                      // and the line is cleared

  std::vector<float> impulse(static_cast<size_t>(decaySamples), 0.0f);
  impulse[0] = start;
  float* impulseInputs[2] = {impulse.data(), impulse.data()};
  plugin->setParameter(kFeedback, decay);
  plugin->processReplacing(impulseInputs, outputs, decaySamples);
  plugin->setParameter(kFeedback, 1.0f);
  return plugin;
}

void run(benchmark::State& state, std::unique_ptr<host::VstPlugin> plugin) {
  if (plugin == nullptr) {
    state.SkipWithError("Ombrel not built");
    return;
  }
  const auto frames = static_cast<int32_t>(state.range(0));
  std::vector<float> silence(static_cast<size_t>(frames), 0.0f), out(silence.size());
  float* inputs[2] = {silence.data(), silence.data()};
  float* outputs[2] = {out.data(), out.data()};
  for (auto _ : state) {
    plugin->processReplacing(inputs, outputs, frames);
    benchmark::DoNotOptimize(out.data());
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations() * frames);
}

}  // namespace

static void BM_OmbrelFeedbackNormal(benchmark::State& state) {
  run(state, circulating(0.1f, 1.0f, 1));
}

// 1e-38 times (1e-30)^9: the tenth sample of the decay holds about 1e-308.
static void BM_OmbrelFeedbackDenormal(benchmark::State& state) {
  run(state, circulating(1e-38f, 1e-30f, 10));
}

BENCHMARK(BM_OmbrelFeedbackNormal)->Arg(64)->Arg(512)->Arg(4096);
BENCHMARK(BM_OmbrelFeedbackDenormal)->Arg(64)->Arg(512)->Arg(4096);
