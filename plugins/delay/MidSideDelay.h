// MidSideDelay: the signal path of the mid/side delay, apart from any plug-in
// format. Splits each stereo frame into mid and side, sends one of the two
// through STK's linearly interpolating delay line with negative feedback,
// mixes the delayed signal with the dry one and rebuilds left and right.
// A new delay time is reached by a linear ramp of the delay in force, one step
// per sample; linear interpolation makes every fractional delay of the ramp
// audible as a little high-frequency loss, which is the price of a cheap glide.
//
// The line holds 10 seconds at 44100 Hz whatever the sample rate: requests
// beyond it are clamped, never passed to STK (which would print a warning).
#pragma once

#include <cstdint>
#include <memory>

namespace stk {
class DelayL;
}

class MidSideDelay {
 public:
  //! Longest delay the line holds, in samples.
  static constexpr double kMaxDelay = 441000.0;

  //! Takes the whole line (441001 samples of 64 bits) and writes it once, so the
  //! audio thread never meets a fresh page. Throws std::bad_alloc when memory is short.
  explicit MidSideDelay(double initialDelay);
  ~MidSideDelay();

  MidSideDelay(const MidSideDelay&) = delete;
  MidSideDelay& operator=(const MidSideDelay&) = delete;

  //! Per-block settings: feedback gain (applied negated), which component is
  //! delayed, and the dry share of that component (1 - mix is the wet share).
  struct Settings {
    float feedback;
    bool delaySide;
    float mix;
  };

  //! Starts a ramp towards target (samples) lasting rampLength samples; when the
  //! target equals the delay in force the previous step is kept. Thread: any but audio.
  void setTargetDelay(double target, double rampLength);
  //! Silences the line (contents and last output); positions and ramp stay.
  void clear();

  //! Writes one block over the outputs; inputs may be the outputs. Thread: audio.
  void processReplacing(const float* const* inputs, float* const* outputs, int32_t frames,
                        const Settings& settings);
  //! Adds one block to the outputs. Thread: audio.
  void process(const float* const* inputs, float* const* outputs, int32_t frames,
               const Settings& settings);

  //! A request clamped to 0..kMaxDelay; a NaN gives kMaxDelay.
  static double clampDelay(double delay);

 private:
  template <bool accumulate>
  void run(const float* const* inputs, float* const* outputs, int32_t frames,
           const Settings& settings);
  //! Samples of this block that still move the delay; 0 when none or when the
  //! ramp cannot be counted (then the delay jumps to the target).
  int32_t rampSamples(int32_t frames);

  std::unique_ptr<stk::DelayL> delayLine;
  double targetDelay = 0.0;
  double currentDelay = 0.0;
  double delayIncrement = 0.0;
};
