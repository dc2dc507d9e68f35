// A one-line progress bar on standard error, shown only when standard error
// is a terminal and the work has already taken more than half a second, so
// quick runs and scripts see nothing.
#pragma once

#include <chrono>
#include <cstddef>
#include <string>

namespace cli {

class Progress {
 public:
  Progress(std::string label, size_t total);
  ~Progress();
  //! `done` units of `total` finished.
  void update(size_t done);

 private:
  std::string label;
  size_t total;
  bool terminal;
  bool shown = false;
  int lastPercent = -1;
  std::chrono::steady_clock::time_point start;
};

}  // namespace cli
