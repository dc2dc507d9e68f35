#include "TestSignal.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <numbers>

namespace cli {

Audio makeTestSignal(double seconds, int sampleRate) {
  const size_t frames = static_cast<size_t>(std::llround(seconds * sampleRate));
  Audio audio;
  audio.sampleRate = sampleRate;
  audio.channels.assign(2, std::vector<float>(frames));
  const double burstSpacing = 0.5 * sampleRate;
  const double burstDecay = 0.012 * sampleRate;
  uint32_t noise = 12345;
  for (size_t i = 0; i < frames; ++i) {
    const double t = static_cast<double>(i) / sampleRate;
    double mid = 0.3 * std::sin(2.0 * std::numbers::pi * 220.0 * t);
    double side = 0.15 * std::sin(2.0 * std::numbers::pi * 660.0 * t);
    // A fade in and out keeps the file free of clicks of its own.
    const double fade = std::min({1.0, t / 0.02, (seconds - t) / 0.02});
    mid *= fade;
    side *= fade;
    const auto burst = static_cast<size_t>(static_cast<double>(i) / burstSpacing);
    const double sinceBurst = static_cast<double>(i) - static_cast<double>(burst) * burstSpacing;
    noise = noise * 1664525u + 1013904223u;
    const double white = static_cast<double>(noise >> 8) / static_cast<double>(1u << 24) * 2.0 - 1.0;
    const double transient = burst > 0 ? 0.4 * white * std::exp(-sinceBurst / burstDecay) : 0.0;
    (burst % 2 == 0 ? mid : side) += transient;
    audio.channels[0][i] = static_cast<float>(mid + side);
    audio.channels[1][i] = static_cast<float>(mid - side);
  }
  return audio;
}

Audio encodeMidSide(const Audio& stereo) {
  Audio encoded;
  encoded.sampleRate = stereo.sampleRate;
  const std::vector<float>& l = stereo.channels.at(0);
  const std::vector<float>& r = stereo.channels.size() > 1 ? stereo.channels[1] : l;
  encoded.channels.assign(2, std::vector<float>(l.size()));
  for (size_t i = 0; i < l.size(); ++i) {
    encoded.channels[0][i] = static_cast<float>((static_cast<double>(l[i]) + r[i]) * 0.5);
    encoded.channels[1][i] = static_cast<float>((static_cast<double>(l[i]) - r[i]) * 0.5);
  }
  return encoded;
}

}  // namespace cli
