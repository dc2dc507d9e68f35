// Shared by the benchmarks: stereo noise buffers with separate outputs and the
// channel pointer arrays for separate and in-place processing, where the
// plug-ins are, and a plug-in set up the way a host starts one.
#pragma once

#include <xmmintrin.h>

#include <cstdint>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "VstPlugin.h"

struct BenchBuffers {
  explicit BenchBuffers(int32_t frames, size_t channels = 2) {
    std::mt19937 random(1234);
    std::uniform_real_distribution<float> noise(-0.5f, 0.5f);
    for (size_t c = 0; c < channels; ++c) {
      in.emplace_back(static_cast<size_t>(frames));
      out.emplace_back(static_cast<size_t>(frames));
      for (float& sample : in.back()) sample = noise(random);
      inputPointers.push_back(in.back().data());
      outputPointers.push_back(out.back().data());
    }
  }
  //! Outputs separate from the inputs.
  float** inputs() { return inputPointers.data(); }
  float** outputs() { return outputPointers.data(); }
  //! Outputs that are the inputs, as many hosts pass them.
  float** inPlace() { return inputPointers.data(); }

  std::vector<std::vector<float>> in, out;
  std::vector<float*> inputPointers, outputPointers;
};

inline std::string pluginPath(const char* name) {
  return std::string(STELLORIA_VST_DIR) + "/" + name + ".so";
}

//! Loads a plug-in and starts it at 44100 Hz for blocks of `frames`, then puts
//! back the floating-point control register: some Linux plug-ins switch
//! flush-to-zero on while loading and leave it on, which would change the
//! figures of everything measured after them in this process.
inline std::unique_ptr<host::VstPlugin> startPlugin(const std::string& path, int32_t frames,
                                                    std::string* error) {
  const unsigned floatMode = _mm_getcsr();
  auto plugin = host::VstPlugin::load(path, error);
  if (plugin != nullptr) {
    plugin->open();
    plugin->setSampleRate(44100.0f);
    plugin->setBlockSize(frames);
    plugin->mainsChanged(true);
  }
  _mm_setcsr(floatMode);
  return plugin;
}
