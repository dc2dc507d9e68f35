#include "Progress.h"

#include <unistd.h>

#include <cstdio>

namespace cli {

Progress::Progress(std::string label, size_t total)
    : label(std::move(label)),
      total(total),
      terminal(isatty(STDERR_FILENO) != 0),
      start(std::chrono::steady_clock::now()) {}

Progress::~Progress() {
  if (shown) std::fprintf(stderr, "\r\033[K");
}

void Progress::update(size_t done) {
  if (!terminal || total == 0) return;
  if (!shown && std::chrono::steady_clock::now() - start < std::chrono::milliseconds(500)) return;
  const int percent = static_cast<int>(100.0 * static_cast<double>(done) / static_cast<double>(total));
  if (percent == lastPercent) return;
  lastPercent = percent;
  shown = true;
  const int width = 30;
  const int filled = percent * width / 100;
  std::fprintf(stderr, "\r%s [%.*s%*s] %3d%%", label.c_str(), filled,
               "##############################", width - filled, "", percent);
  std::fflush(stderr);
}

}  // namespace cli
