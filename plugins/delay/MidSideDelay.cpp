#include "MidSideDelay.h"

#include <stk/DelayL.h>

#include <algorithm>
#include <cmath>
#include <new>

#include "StereoLoop.h"

namespace {

// STK reports a failed allocation of its store only in its debug build, and
// then writes through the null pointer. Asking for the same size first turns a
// shortage into std::bad_alloc, which the plug-in's entry turns into no effect.
unsigned long checkedCapacity(double maxDelay) {
  const auto capacity = static_cast<unsigned long>(maxDelay);
  // A call of the allocation function itself, which, unlike a new-expression,
  // the compiler may not remove.
  ::operator delete(::operator new(sizeof(double) * (capacity + 1)));
  return capacity;
}

}  // namespace

MidSideDelay::MidSideDelay(double initialDelay)
    : delayLine(
          std::make_unique<stk::DelayL>(clampDelay(initialDelay), checkedCapacity(kMaxDelay))) {
  // Writes every page of the store now rather than on the audio thread.
  delayLine->clear();
}

MidSideDelay::~MidSideDelay() = default;

double MidSideDelay::clampDelay(double delay) {
  // STK only warns about a request out of range and keeps the old delay, and a
  // NaN would become an out-of-range read position inside it.
  if (!(delay <= kMaxDelay)) return kMaxDelay;
  if (delay < 0.0) return 0.0;
  return delay;
}

void MidSideDelay::setTargetDelay(double target, double rampLength) {
  targetDelay = target;
  if (targetDelay != currentDelay) delayIncrement = (targetDelay - currentDelay) / rampLength;
}

void MidSideDelay::clear() { delayLine->clear(); }

void MidSideDelay::processReplacing(const float* const* inputs, float* const* outputs,
                                    int32_t frames, const Settings& settings) {
  run<false>(inputs, outputs, frames, settings);
}

void MidSideDelay::process(const float* const* inputs, float* const* outputs, int32_t frames,
                           const Settings& settings) {
  run<true>(inputs, outputs, frames, settings);
}

int32_t MidSideDelay::rampSamples(int32_t frames) {
  if (currentDelay == targetDelay) return 0;
  const double count = std::fabs((targetDelay - currentDelay) / delayIncrement);
  // An endless or uncountable ramp (a step of 0, a NaN or infinite delay) would
  // never arrive: the delay goes to the target at once instead.
  if (!std::isfinite(count)) return 0;
  if (count >= static_cast<double>(frames)) return frames;
  return static_cast<int32_t>(count);
}

namespace {

// Frames handled per pass; the passes' buffers live on the stack.
constexpr int32_t kChunk = 256;

// The components of a run of frames, split the way the delay needs them.
struct Components {
  float delayed[kChunk];  // the component through the line
  float kept[kChunk];     // the component passed straight on
  double lineOut[kChunk];
};

// Encodes a run of frames into mid and side, rounded to float. Reads only the
// inputs, so the compiler may vectorise it.
void encode(const float* inLeft, const float* inRight, int32_t count, bool delaySide,
            Components& parts) {
  for (int32_t i = 0; i < count; ++i) {
    const double l = inLeft[i];
    const double r = inRight[i];
    const float mid = static_cast<float>((l + r) * 0.5);
    const float side = static_cast<float>((l - r) * 0.5);
    parts.delayed[i] = delaySide ? side : mid;
    parts.kept[i] = delaySide ? mid : side;
  }
}

// Mixes the delayed component with its dry share and decodes left and right.
// Every input of these frames has been read already. The outputs may even be
// one buffer (a hostile host): then, as frame by frame, right is written last.
template <bool accumulate>
void decode(const Components& parts, int32_t count, bool delaySide, float mix, double wetShare,
            float* outLeft, float* outRight) {
  for (int32_t i = 0; i < count; ++i) {
    const float dry = static_cast<float>(double{parts.delayed[i]} * double{mix});
    const float mixed = static_cast<float>(parts.lineOut[i] * wetShare + double{dry});
    const float m = delaySide ? parts.kept[i] : mixed;
    const float s = delaySide ? mixed : parts.kept[i];
    if constexpr (accumulate) {
      // The old output is added last, and the sum rounded once.
      outLeft[i] = static_cast<float>((double{m} + s) + double{outLeft[i]});
      outRight[i] = static_cast<float>((double{m} - s) + double{outRight[i]});
    } else {
      // A float sum of two floats equals their double sum rounded to float.
      outLeft[i] = m + s;
      outRight[i] = m - s;
    }
  }
}

}  // namespace

template <bool accumulate>
void MidSideDelay::run(const float* const* inputs, float* const* outputs, int32_t frames,
                       const Settings& settings) {
  // A block of no samples leaves even a pending ramp as it is.
  if (frames <= 0) return;
  const double feedback = settings.feedback;
  const float mix = settings.mix;
  const double wetShare = static_cast<float>(1.0 - double{mix});
  const bool delaySide = settings.delaySide;
  stk::DelayL& line = *delayLine;
  // Each frame is read whole before it is written. Whole runs of frames are
  // read before they are written only where no output lies over a later
  // input: separate or exactly in-place buffers; otherwise one frame a run.
  const int32_t chunk =
      stereo::layoutOf(inputs, outputs, frames) == stereo::Layout::overlapping ? 1 : kChunk;
  const int32_t rampEnd = rampSamples(frames);
  double current = currentDelay;
  Components parts;

  for (int32_t start = 0; start < frames; start += chunk) {
    const int32_t count = std::min(chunk, frames - start);
    encode(inputs[0] + start, inputs[1] + start, count, delaySide, parts);
    // The line: one sample after another, each input fed back from the last output.
    int32_t i = 0;
    // The first sample of a ramp still hears the old delay.
    for (; i < count && start + i < rampEnd; ++i) {
      line.setDelay(clampDelay(current));
      parts.lineOut[i] = line.tick(double{parts.delayed[i]} - feedback * line.lastOut());
      current += delayIncrement;
    }
    if (i < count && start + i == rampEnd) {
      // Less than a step remains (or no ramp runs): settle on the target exactly.
      current = targetDelay;
      line.setDelay(clampDelay(current));
    }
    for (; i < count; ++i)
      parts.lineOut[i] = line.tick(double{parts.delayed[i]} - feedback * line.lastOut());
    decode<accumulate>(parts, count, delaySide, mix, wetShare, outputs[0] + start,
                       outputs[1] + start);
  }
  currentDelay = current;
}
