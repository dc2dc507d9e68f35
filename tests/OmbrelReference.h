// An independent model of the delay plug-in's audio, written from its
// formulas alone: the parameter-to-delay arithmetic, the ramp, a plain
// linearly interpolating delay line and the per-sample mid/side arithmetic.
// Tests drive it alongside the built plug-in and compare outputs bit for bit.
#pragma once

#include <cmath>
#include <cstdint>
#include <vector>

class OmbrelReference {
 public:
  OmbrelReference() {
    for (int32_t index = 0; index < 7; ++index) setParameter(index, values[index]);
  }

  void setSampleRate(float rate) { sampleRate = rate; }

  void setParameter(int32_t index, float value) {
    if (index == 0 && !(value >= 0.001f)) value = 0.001f;
    values[index] = value;
    if (index != 0) return;
    const float seconds = static_cast<float>(double{values[0]} * double{values[2]} * 10.0);
    target = double{sampleRate} * double{seconds};
    if (target != current) increment = (target - current) / (4095.0 * double{values[5]} + 1.0);
  }

  float value(int32_t index) const { return values[index]; }

  //! What suspending the plug-in does to the line.
  void clear() {
    store.assign(store.size(), 0.0);
    lastOut = 0.0;
  }

  //! One block; add selects accumulating into the outputs.
  void run(const float* inLeft, const float* inRight, float* outLeft, float* outRight,
           int32_t frames, bool add) {
    if (frames <= 0) return;
    int32_t rampEnd = 0;
    if (current != target) {
      const double count = std::fabs((target - current) / increment);
      if (std::isfinite(count)) rampEnd = count >= frames ? frames : static_cast<int32_t>(count);
    }
    const bool side = values[4] >= 0.5f;
    for (int32_t i = 0; i < frames; ++i) {
      if (i < rampEnd) {
        setDelay(current);
      } else if (i == rampEnd) {
        current = target;
        setDelay(current);
      }
      const float m = static_cast<float>((double{inLeft[i]} + double{inRight[i]}) * 0.5);
      const float s = static_cast<float>((double{inLeft[i]} - double{inRight[i]}) * 0.5);
      const float c = side ? s : m;
      const double y = tick(double{c} - double{values[1]} * lastOut);
      const float wet = static_cast<float>(1.0 - double{values[6]});
      const float dry = static_cast<float>(double{c} * double{values[6]});
      const float mixed = static_cast<float>(y * double{wet} + double{dry});
      const double mid = side ? m : mixed;
      const double sideOut = side ? mixed : s;
      if (add) {
        outLeft[i] = static_cast<float>((mid + sideOut) + double{outLeft[i]});
        outRight[i] = static_cast<float>((mid - sideOut) + double{outRight[i]});
      } else {
        outLeft[i] = static_cast<float>(mid + sideOut);
        outRight[i] = static_cast<float>(mid - sideOut);
      }
      if (i < rampEnd) current += increment;
    }
  }

 private:
  static constexpr size_t kLength = 441001;

  void setDelay(double delay) {
    if (!(delay <= 441000.0)) delay = 441000.0;
    if (delay < 0.0) delay = 0.0;
    double position = static_cast<double>(write) - delay;
    while (position < 0.0) position += static_cast<double>(kLength);
    read = static_cast<size_t>(position);
    alpha = position - static_cast<double>(read);
    if (read == kLength) read = 0;
  }

  double tick(double x) {
    store[write] = x;
    write = (write + 1) % kLength;
    lastOut = (1.0 - alpha) * store[read] + alpha * store[(read + 1) % kLength];
    read = (read + 1) % kLength;
    return lastOut;
  }

  float values[7] = {0.5f, 0.0f, 0.1f, 0.0f, 0.0f, 0.5f, 0.5f};
  float sampleRate = 44100.0f;
  double target = 0.0;
  double current = 0.0;
  double increment = 0.0;
  std::vector<double> store = std::vector<double>(kLength, 0.0);
  size_t write = 0;
  size_t read = 0;
  double alpha = 0.0;
  double lastOut = 0.0;
};
