// The floor every plug-in is measured against: copying two input channels to
// two outputs, for the same block sizes and buffers the plug-ins get.
#include <benchmark/benchmark.h>

#include <cstring>

#include "BenchBuffers.h"

static void BM_Copy(benchmark::State& state) {
  const auto frames = static_cast<int32_t>(state.range(0));
  BenchBuffers buffers(frames);
  for (auto _ : state) {
    float** in = buffers.inputs();
    float** out = buffers.outputs();
    std::memcpy(out[0], in[0], sizeof(float) * static_cast<size_t>(frames));
    std::memcpy(out[1], in[1], sizeof(float) * static_cast<size_t>(frames));
    benchmark::DoNotOptimize(out[0]);
    benchmark::DoNotOptimize(out[1]);
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations() * frames);
}
BENCHMARK(BM_Copy)->Arg(64)->Arg(512)->Arg(4096);
