#include "Levels.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace cli {
namespace {

struct Accumulator {
  double peak = 0.0;
  double sumOfSquares = 0.0;
  void add(double x) {
    peak = std::max(peak, std::fabs(x));
    sumOfSquares += x * x;
  }
  Level level(size_t frames) const {
    return {peak, frames ? std::sqrt(sumOfSquares / static_cast<double>(frames)) : 0.0};
  }
};

}  // namespace

StereoLevels measureLevels(const Audio& audio) {
  Accumulator left, right, mid, side;
  const size_t frames = audio.frames();
  const std::vector<float>& l = audio.channels.at(0);
  const std::vector<float>& r = audio.channels.size() > 1 ? audio.channels[1] : l;
  for (size_t i = 0; i < frames; ++i) {
    left.add(l[i]);
    right.add(r[i]);
    mid.add((static_cast<double>(l[i]) + r[i]) * 0.5);
    side.add((static_cast<double>(l[i]) - r[i]) * 0.5);
  }
  return {left.level(frames), right.level(frames), mid.level(frames), side.level(frames)};
}

std::string decibelText(double linear) {
  if (linear <= 1e-9) return "-inf";
  char text[16];
  std::snprintf(text, sizeof text, "%.1f", 20.0 * std::log10(linear));
  return text;
}

std::string levelTable(const StereoLevels& in, const StereoLevels& out) {
  std::string table = "           peak in   rms in  peak out  rms out   (dBFS)\n";
  const std::pair<const char*, const Level StereoLevels::*> rows[] = {
      {"left", &StereoLevels::left},
      {"right", &StereoLevels::right},
      {"mid", &StereoLevels::mid},
      {"side", &StereoLevels::side}};
  for (const auto& [name, member] : rows) {
    char line[128];
    std::snprintf(line, sizeof line, "    %-6s %8s %8s %9s %8s\n", name,
                  decibelText((in.*member).peak).c_str(), decibelText((in.*member).rms).c_str(),
                  decibelText((out.*member).peak).c_str(), decibelText((out.*member).rms).c_str());
    table += line;
  }
  return table;
}

}  // namespace cli
