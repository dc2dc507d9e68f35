// Stereo buffers for benchmarks: noise in, separate outputs, and the channel
// pointer arrays for separate and in-place processing.
#pragma once

#include <cstdint>
#include <random>
#include <string>
#include <vector>

struct BenchBuffers {
  explicit BenchBuffers(int32_t frames)
      : left(static_cast<size_t>(frames)), right(left.size()), outLeft(left.size()),
        outRight(left.size()) {
    std::mt19937 random(1234);
    std::uniform_real_distribution<float> noise(-0.5f, 0.5f);
    for (size_t i = 0; i < left.size(); ++i) {
      left[i] = noise(random);
      right[i] = noise(random);
    }
  }
  //! Outputs separate from the inputs.
  float** inputs() { return inputPointers; }
  float** outputs() { return outputPointers; }
  //! Outputs that are the inputs, as many hosts pass them.
  float** inPlace() { return inputPointers; }

  std::vector<float> left, right, outLeft, outRight;
  float* inputPointers[2] = {left.data(), right.data()};
  float* outputPointers[2] = {outLeft.data(), outRight.data()};
};

inline std::string pluginPath(const char* name) {
  return std::string(STELLORIA_VST_DIR) + "/" + name + ".so";
}
