// Shared by the tests of the matrix plug-ins: loading a built plug-in the way
// a host does, stereo blocks, random samples over the whole float range, and
// bitwise comparison of channels.
#pragma once

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <limits>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "VstPlugin.h"

namespace matrixTest {

inline std::unique_ptr<host::VstPlugin> loadPlugin(const std::string& name) {
  std::string error;
  auto plugin = host::VstPlugin::load(std::string(STELLORIA_VST_DIR) + "/" + name + ".so", &error);
  EXPECT_NE(plugin, nullptr) << error;
  return plugin;
}

//! Two input and two output channels, separate from each other.
struct StereoBlock {
  explicit StereoBlock(size_t frames, float outputFill = 0.0f)
      : left(frames), right(frames), outLeft(frames, outputFill), outRight(frames, outputFill) {}

  float** inputs() {
    inputPointers[0] = left.data();
    inputPointers[1] = right.data();
    return inputPointers;
  }
  float** outputs() {
    outputPointers[0] = outLeft.data();
    outputPointers[1] = outRight.data();
    return outputPointers;
  }

  std::vector<float> left, right, outLeft, outRight;
  float* inputPointers[2] = {};
  float* outputPointers[2] = {};
};

//! Bitwise equality, except that any NaN equals any NaN: the sign and payload
//! of a NaN made from infinities are the processor's business, not ours.
inline bool sameSample(float expected, float actual) {
  if (std::isnan(expected) || std::isnan(actual)) return std::isnan(expected) && std::isnan(actual);
  return std::bit_cast<uint32_t>(expected) == std::bit_cast<uint32_t>(actual);
}

inline std::string describe(float value) {
  char text[64];
  std::snprintf(text, sizeof text, "%a (%.9g)", double{value}, double{value});
  return text;
}

inline testing::AssertionResult sameChannel(const std::vector<float>& expected,
                                            const std::vector<float>& actual) {
  if (expected.size() != actual.size()) return testing::AssertionFailure() << "length differs";
  for (size_t i = 0; i < expected.size(); ++i)
    if (!sameSample(expected[i], actual[i]))
      return testing::AssertionFailure() << "frame " << i << ": expected " << describe(expected[i])
                                         << ", got " << describe(actual[i]);
  return testing::AssertionSuccess();
}

//! Mostly audio-range noise, with samples of every exponent, the extremes,
//! subnormals, signed zeros and infinities mixed in. Never a NaN.
inline float randomSample(std::mt19937& random) {
  const int kind = std::uniform_int_distribution<int>(0, 19)(random);
  std::uniform_real_distribution<float> unit(-1.0f, 1.0f);
  constexpr float kSpecials[] = {0.0f,
                                 -0.0f,
                                 1.0f,
                                 -1.0f,
                                 std::numeric_limits<float>::max(),
                                 -std::numeric_limits<float>::max(),
                                 std::numeric_limits<float>::min(),
                                 std::numeric_limits<float>::denorm_min(),
                                 -std::numeric_limits<float>::denorm_min(),
                                 std::numeric_limits<float>::infinity(),
                                 -std::numeric_limits<float>::infinity(),
                                 0x1p-30f};
  if (kind < 12) return unit(random);
  if (kind < 16)
    return std::ldexp(unit(random), std::uniform_int_distribution<int>(-150, 128)(random));
  if (kind < 18)
    return kSpecials[std::uniform_int_distribution<size_t>(0, std::size(kSpecials) - 1)(random)];
  for (;;) {
    const float any = std::bit_cast<float>(static_cast<uint32_t>(random()));
    if (!std::isnan(any)) return any;
  }
}

inline void fillRandom(std::vector<float>& channel, std::mt19937& random) {
  for (float& sample : channel) sample = randomSample(random);
}

//! A normalised parameter value: mostly within 0..1, sometimes well outside.
inline float randomParameter(std::mt19937& random) {
  if (std::uniform_int_distribution<int>(0, 9)(random) == 0)
    return std::uniform_real_distribution<float>(-3.0f, 4.0f)(random);
  return std::uniform_real_distribution<float>(0.0f, 1.0f)(random);
}

//! The host calls with this opcode made since the log was last cleared.
inline std::vector<host::HostCall> callsWith(const host::VstPlugin& plugin, int32_t opcode) {
  std::vector<host::HostCall> found;
  for (const auto& call : plugin.calls())
    if (call.opcode == opcode) found.push_back(call);
  return found;
}

//! Drives a plug-in through a host session of random blocks (random lengths,
//! empty and negative ones included, replacing and adding, separate and
//! in-place buffers) with parameter and program changes between blocks, and
//! compares every output sample bitwise with `model`. Model supplies
//! numParams, setParameter, setProgram, getParameter and
//! frame(left, right, oldLeft, oldRight, adding) -> {left, right}.
template <class Model>
void checkRandomSession(host::VstPlugin& plugin, Model& model, uint32_t seed) {
  std::mt19937 random(seed);
  auto pick = [&random](int low, int high) {
    return std::uniform_int_distribution<int>(low, high)(random);
  };
  for (int block = 0; block < 120; ++block) {
    SCOPED_TRACE(testing::Message() << "seed " << seed << ", block " << block);
    const int action = pick(0, 5);
    if (action < 3) {
      const int32_t index = pick(0, Model::numParams - 1);
      const float value = randomParameter(random);
      plugin.setParameter(index, value);
      model.setParameter(index, value);
    } else if (action == 3) {
      const int32_t program = pick(0, 3);
      plugin.setProgram(program);
      model.setProgram(program);
    }
    for (int32_t index = 0; index < Model::numParams; ++index)
      ASSERT_TRUE(sameSample(model.getParameter(index), plugin.getParameter(index)));

    const int32_t frames = pick(0, 9) == 0 ? pick(-3, 0) : pick(1, 300);
    const bool adding = pick(0, 1) == 1;
    const bool inPlace = pick(0, 2) == 0;
    StereoBlock buffers(static_cast<size_t>(frames > 0 ? frames : 16));
    fillRandom(buffers.left, random);
    fillRandom(buffers.right, random);
    if (inPlace) {
      buffers.outLeft = buffers.left;
      buffers.outRight = buffers.right;
    } else {
      fillRandom(buffers.outLeft, random);
      fillRandom(buffers.outRight, random);
    }
    std::vector<float> expectedLeft = buffers.outLeft;
    std::vector<float> expectedRight = buffers.outRight;
    for (int32_t i = 0; i < frames; ++i) {
      const auto [left, right] = model.frame(buffers.left[i], buffers.right[i], buffers.outLeft[i],
                                             buffers.outRight[i], adding);
      expectedLeft[i] = left;
      expectedRight[i] = right;
    }

    float** inputs = buffers.inputs();
    float** outputs = inPlace ? buffers.inputs() : buffers.outputs();
    if (adding)
      plugin.process(inputs, outputs, frames);
    else
      plugin.processReplacing(inputs, outputs, frames);
    const auto& left = inPlace ? buffers.left : buffers.outLeft;
    const auto& right = inPlace ? buffers.right : buffers.outRight;
    ASSERT_TRUE(sameChannel(expectedLeft, left))
        << "left, " << frames << " frames" << (adding ? ", adding" : "")
        << (inPlace ? ", in place" : "");
    ASSERT_TRUE(sameChannel(expectedRight, right))
        << "right, " << frames << " frames" << (adding ? ", adding" : "")
        << (inPlace ? ", in place" : "");
  }
}

}  // namespace matrixTest
