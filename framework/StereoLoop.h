// StereoLoop: runs a plug-in's per-frame matrix over one stereo block, as a
// vector loop where the buffers allow it and as the plain loop otherwise.
// A compiler vectorises a loop only when it can rule out that an output store
// changes a later input; hosts pass either separate buffers or the inputs
// themselves as outputs, and in the second case its run-time alias check fails
// and leaves the loop scalar. So the layout is decided once per block: separate
// buffers and exact in-place buffers each get a loop whose pointers are
// declared not to alias; anything else (a partial overlap, one buffer for both
// channels) runs the plain loop, which reads both channels of a frame before
// writing either. The vector width is chosen once, from the processor, so the
// modules run on any x86-64 and use AVX2 or AVX-512 where present. Every path
// performs the same IEEE operations in the same order, so all give the same bits.
//
// Every plug-in of the suite ends a frame by decoding a mid/side pair of floats
// into left = mid + side and right = mid - side. A frame is a callable
// frame(float left, float right, float& mid, float& side) giving that pair;
// the loop decodes it. Replacing, the decode is a float addition: the sum of
// two floats taken in double and rounded to float is the float sum (double
// holds more than twice float's precision plus two bits, so the double
// rounding is innocuous, and overflow and underflow round alike), and float
// vectors hold twice the frames. Accumulating, the old output joins the sum in
// double and the three-term sum is rounded once.
#pragma once

#include <cstdint>

namespace stereo {

enum class Layout { separate, inPlace, overlapping };

//! How outputs relate to inputs over frames samples. Thread: any.
Layout layoutOf(const float* const* inputs, const float* const* outputs, int32_t frames);

enum class VectorWidth { sse2, avx2, avx512 };

//! The widest vectors this processor runs, found once when the module loads.
VectorWidth vectorWidth();

//! The plain loop, which every other path repeats with other promises. With
//! accumulate, each output is added to the old one before the single rounding.
template <bool accumulate, class Frame>
[[gnu::always_inline]] inline void plainLoop(const Frame& frame, const float* inLeft,
                                             const float* inRight, float* outLeft, float* outRight,
                                             int32_t frames) {
  for (int32_t i = 0; i < frames; ++i) {
    float mid;
    float side;
    frame(inLeft[i], inRight[i], mid, side);
    if constexpr (accumulate) {
      outLeft[i] = static_cast<float>((double{mid} + side) + double{outLeft[i]});
      outRight[i] = static_cast<float>((double{mid} - side) + double{outRight[i]});
    } else {
      outLeft[i] = mid + side;
      outRight[i] = mid - side;
    }
  }
}

// The same loop compiled for each width. The pointers' restrict promises are
// what the layout check established.
template <bool accumulate, class Frame>
void separateLoop(const Frame& frame, const float* __restrict inLeft,
                  const float* __restrict inRight, float* __restrict outLeft,
                  float* __restrict outRight, int32_t frames) {
  plainLoop<accumulate>(frame, inLeft, inRight, outLeft, outRight, frames);
}

template <bool accumulate, class Frame>
[[gnu::target("avx2")]] void separateLoopAvx2(const Frame& frame, const float* __restrict inLeft,
                                              const float* __restrict inRight,
                                              float* __restrict outLeft, float* __restrict outRight,
                                              int32_t frames) {
  plainLoop<accumulate>(frame, inLeft, inRight, outLeft, outRight, frames);
}

template <bool accumulate, class Frame>
[[gnu::target("avx512f")]] void separateLoopAvx512(const Frame& frame,
                                                   const float* __restrict inLeft,
                                                   const float* __restrict inRight,
                                                   float* __restrict outLeft,
                                                   float* __restrict outRight, int32_t frames) {
  plainLoop<accumulate>(frame, inLeft, inRight, outLeft, outRight, frames);
}

template <bool accumulate, class Frame>
void inPlaceLoop(const Frame& frame, float* __restrict left, float* __restrict right,
                 int32_t frames) {
  plainLoop<accumulate>(frame, left, right, left, right, frames);
}

template <bool accumulate, class Frame>
[[gnu::target("avx2")]] void inPlaceLoopAvx2(const Frame& frame, float* __restrict left,
                                             float* __restrict right, int32_t frames) {
  plainLoop<accumulate>(frame, left, right, left, right, frames);
}

template <bool accumulate, class Frame>
[[gnu::target("avx512f")]] void inPlaceLoopAvx512(const Frame& frame, float* __restrict left,
                                                  float* __restrict right, int32_t frames) {
  plainLoop<accumulate>(frame, left, right, left, right, frames);
}

//! Runs frame over the block through the fastest path the buffers and the
//! processor allow. Thread: audio; allocates and locks nothing.
template <bool accumulate, class Frame>
void run(const Frame& frame, const float* const* inputs, float* const* outputs, int32_t frames) {
  switch (layoutOf(inputs, outputs, frames)) {
    case Layout::separate:
      switch (vectorWidth()) {
        case VectorWidth::avx512:
          return separateLoopAvx512<accumulate>(frame, inputs[0], inputs[1], outputs[0], outputs[1],
                                                frames);
        case VectorWidth::avx2:
          return separateLoopAvx2<accumulate>(frame, inputs[0], inputs[1], outputs[0], outputs[1],
                                              frames);
        case VectorWidth::sse2:
          return separateLoop<accumulate>(frame, inputs[0], inputs[1], outputs[0], outputs[1],
                                          frames);
      }
      break;
    case Layout::inPlace:
      switch (vectorWidth()) {
        case VectorWidth::avx512:
          return inPlaceLoopAvx512<accumulate>(frame, outputs[0], outputs[1], frames);
        case VectorWidth::avx2:
          return inPlaceLoopAvx2<accumulate>(frame, outputs[0], outputs[1], frames);
        case VectorWidth::sse2:
          return inPlaceLoop<accumulate>(frame, outputs[0], outputs[1], frames);
      }
      break;
    case Layout::overlapping: break;
  }
  plainLoop<accumulate>(frame, inputs[0], inputs[1], outputs[0], outputs[1], frames);
}

}  // namespace stereo
