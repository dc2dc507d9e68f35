#include "MidSideDelay.h"

#include <stk/DelayL.h>

#include <cmath>
#include <new>

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

template <bool accumulate>
void MidSideDelay::run(const float* const* inputs, float* const* outputs, int32_t frames,
                       const Settings& settings) {
  // A block of no samples leaves even a pending ramp as it is.
  if (frames <= 0) return;
  const float* inLeft = inputs[0];
  const float* inRight = inputs[1];
  float* outLeft = outputs[0];
  float* outRight = outputs[1];
  const double feedback = settings.feedback;
  const float mix = settings.mix;
  const double wetShare = static_cast<float>(1.0 - double{mix});
  const bool delaySide = settings.delaySide;
  stk::DelayL& line = *delayLine;

  auto frame = [&](int32_t i) {
    const double l = inLeft[i];
    const double r = inRight[i];
    const float mid = static_cast<float>((l + r) * 0.5);
    const float side = static_cast<float>((l - r) * 0.5);
    const float delayed = delaySide ? side : mid;
    const double y = line.tick(double{delayed} - feedback * line.lastOut());
    const float dry = static_cast<float>(double{delayed} * double{mix});
    const float mixed = static_cast<float>(y * wetShare + double{dry});
    const double m = delaySide ? mid : mixed;
    const double s = delaySide ? mixed : side;
    if constexpr (accumulate) {
      // The old output is added last, and the sum rounded once.
      outLeft[i] = static_cast<float>((m + s) + double{outLeft[i]});
      outRight[i] = static_cast<float>((m - s) + double{outRight[i]});
    } else {
      outLeft[i] = static_cast<float>(m + s);
      outRight[i] = static_cast<float>(m - s);
    }
  };

  const int32_t rampEnd = rampSamples(frames);
  double current = currentDelay;
  // The first sample of a ramp still hears the old delay.
  for (int32_t i = 0; i < rampEnd; ++i) {
    line.setDelay(clampDelay(current));
    frame(i);
    current += delayIncrement;
  }
  if (rampEnd < frames) {
    // Less than a step remains (or no ramp runs): settle on the target exactly.
    current = targetDelay;
    line.setDelay(clampDelay(current));
    for (int32_t i = rampEnd; i < frames; ++i) frame(i);
  }
  currentDelay = current;
}
