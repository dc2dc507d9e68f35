#include "StereoLoop.h"

#include <cstddef>

namespace stereo {

namespace {

// Addresses compared as integers: ordering pointers into unrelated buffers is
// unspecified in C++.
struct Span {
  uintptr_t begin;
  uintptr_t end;
};

Span spanOf(const float* samples, int32_t frames) {
  const auto begin = reinterpret_cast<uintptr_t>(samples);
  return {begin, begin + sizeof(float) * static_cast<size_t>(frames)};
}

bool overlap(Span a, Span b) { return a.begin < b.end && b.begin < a.end; }

VectorWidth detectWidth() {
  // Needed before the first query when this runs among the module's constructors.
  __builtin_cpu_init();
  if (__builtin_cpu_supports("avx512f")) return VectorWidth::avx512;
  if (__builtin_cpu_supports("avx2")) return VectorWidth::avx2;
  return VectorWidth::sse2;
}

// Found while the module loads, so the audio thread only reads it.
const VectorWidth kWidth = detectWidth();

}  // namespace

Layout layoutOf(const float* const* inputs, const float* const* outputs, int32_t frames) {
  if (frames <= 0) return Layout::overlapping;
  const Span inLeft = spanOf(inputs[0], frames);
  const Span inRight = spanOf(inputs[1], frames);
  const Span outLeft = spanOf(outputs[0], frames);
  const Span outRight = spanOf(outputs[1], frames);
  // Inputs may share a buffer (a mono source on both channels): they are only read.
  if (overlap(outLeft, outRight)) return Layout::overlapping;
  const bool outputsApart = !overlap(outLeft, inLeft) && !overlap(outLeft, inRight) &&
                            !overlap(outRight, inLeft) && !overlap(outRight, inRight);
  if (outputsApart) return Layout::separate;
  const bool exactlyInPlace =
      outputs[0] == inputs[0] && outputs[1] == inputs[1] && !overlap(inLeft, inRight);
  return exactlyInPlace ? Layout::inPlace : Layout::overlapping;
}

VectorWidth vectorWidth() { return kWidth; }

}  // namespace stereo
