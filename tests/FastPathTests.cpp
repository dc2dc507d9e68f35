// The vector paths of the matrix plug-ins against their plain loops, through
// the built modules. The plain loops are written here as they stood before any
// vector path existed (double intermediates, every float rounding point), and
// run over the same memory the plug-in gets, so that separate, in-place,
// crossed, partly overlapping and misaligned buffers are each compared bit for
// bit in the default floating-point mode and with
// flush-to-zero and denormals-are-zero switched on as some hosts leave them.
#include <xmmintrin.h>

#include <array>
#include <cmath>
#include <functional>

#include "MatrixTestSupport.h"

namespace {

using matrixTest::loadPlugin;

//! Where the four channels start in one shared arena, for a block of n frames.
struct Layout {
  const char* name;
  std::function<std::array<size_t, 4>(size_t n)> offsets;  // inLeft, inRight, outLeft, outRight
};

const Layout kLayouts[] = {
    {"separate",
     [](size_t n) {
       return std::array<size_t, 4>{0, n, 2 * n, 3 * n};
     }},
    {"separate, misaligned",
     [](size_t n) {
       return std::array<size_t, 4>{1, n + 3, 2 * n + 6, 3 * n + 9};
     }},
    {"in place",
     [](size_t n) {
       return std::array<size_t, 4>{0, n, 0, n};
     }},
    {"in place, misaligned",
     [](size_t n) {
       return std::array<size_t, 4>{3, n + 5, 3, n + 5};
     }},
    {"in place, channels crossed",
     [](size_t n) {
       return std::array<size_t, 4>{0, n, n, 0};
     }},
    {"one input for both channels",
     [](size_t n) {
       return std::array<size_t, 4>{0, 0, n, 2 * n};
     }},
    {"outputs one frame behind the inputs",
     [](size_t n) {
       return std::array<size_t, 4>{1, n + 2, 0, n + 1};
     }},
    {"outputs one frame ahead of the inputs",
     [](size_t n) {
       return std::array<size_t, 4>{0, n + 1, 1, n + 2};
     }},
    {"outputs overlapping each other",
     [](size_t n) {
       return std::array<size_t, 4>{0, n, 2 * n, 2 * n + 7};
     }},
};

const int32_t kLengths[] = {1, 2, 7, 15, 16, 17, 63, 64, 65, 511, 512, 513, 4096};

//! A sample for these tests: the matrix tests' mix, and quiet and signalling
//! NaNs with payloads and either sign.
float randomSample(std::mt19937& random) {
  if (std::uniform_int_distribution<int>(0, 24)(random) != 0)
    return matrixTest::randomSample(random);
  const auto payload = static_cast<uint32_t>(random()) & 0x003fffffu;
  const uint32_t quiet = (random() & 1) != 0 ? 0x00400000u : 0u;
  const uint32_t sign = (random() & 1) != 0 ? 0x80000000u : 0u;
  return std::bit_cast<float>(sign | 0x7f800000u | quiet | (payload | (quiet != 0 ? 0 : 1)));
}

//! Bitwise equality; a NaN equals a NaN. IEEE leaves open which payload an
//! operation on two NaNs keeps, and compilers order the operands of an
//! addition as they like, so only a NaN's presence is the plug-in's result.
bool identical(float a, float b) {
  if (std::isnan(a) || std::isnan(b)) return std::isnan(a) && std::isnan(b);
  return std::bit_cast<uint32_t>(a) == std::bit_cast<uint32_t>(b);
}

// The plain loops: frame(left, right, oldLeft, oldRight, adding) -> {left, right}.

std::pair<float, float> lindleFrame(float midIn, float sideIn, float oldLeft, float oldRight,
                                    bool adding) {
  const double m = midIn;
  const double s = sideIn;
  if (adding)
    return {static_cast<float>((m + s) + oldLeft), static_cast<float>((m - s) + oldRight)};
  return {static_cast<float>(m + s), static_cast<float>(m - s)};
}

struct TessikPlain {
  float swap = 1.0f;
  void setParameter(float value) { swap = value; }
  std::pair<float, float> operator()(float leftIn, float rightIn, float oldLeft, float oldRight,
                                     bool adding) const {
    const double sign = double{swap} > 0.5 ? -1.0 : 1.0;
    const double left = leftIn;
    const double right = sign * rightIn;
    const float a = static_cast<float>((right + left) * 0.5);
    const float b = static_cast<float>((left - right) * 0.5);
    if (adding)
      return {static_cast<float>((double{a} + b) + oldLeft),
              static_cast<float>((double{a} - b) + oldRight)};
    return {static_cast<float>(double{a} + b), static_cast<float>(double{a} - b)};
  }
};

struct QuorraPlain {
  float midGain = 0.5f;
  float sideGain = 0.5f;
  static double factor(float value) {
    return static_cast<float>(std::pow(10.0, (double{value} - 0.5) * 4.0));
  }
  std::pair<float, float> operator()(float leftIn, float rightIn, float oldLeft, float oldRight,
                                     bool adding) const {
    const double left = leftIn;
    const double right = rightIn;
    float mid = static_cast<float>((left + right) * 0.5);
    float side = static_cast<float>((left - right) * 0.5);
    mid = static_cast<float>(mid * factor(midGain));
    side = static_cast<float>(side * factor(sideGain));
    if (adding)
      return {static_cast<float>((double{mid} + side) + oldLeft),
              static_cast<float>((double{mid} - side) + oldRight)};
    return {static_cast<float>(double{mid} + side), static_cast<float>(double{mid} - side)};
  }
};

//! Sets MXCSR for one scope and restores it.
class FloatMode {
 public:
  explicit FloatMode(bool flushDenormals) : saved(_mm_getcsr()) {
    if (flushDenormals) _mm_setcsr(saved | 0x8040);  // flush-to-zero, denormals-are-zero
  }
  ~FloatMode() { _mm_setcsr(saved); }
  FloatMode(const FloatMode&) = delete;
  FloatMode& operator=(const FloatMode&) = delete;

 private:
  unsigned saved;
};

//! One block over every layout and length: the plug-in on one arena, the plain
//! loop on a copy of it, frame by frame as the plain loop would see the memory.
template <class Plain, class Configure>
void compareAllLayouts(const char* name, Plain plain, Configure configure, uint32_t seed) {
  auto plugin = loadPlugin(name);
  ASSERT_NE(plugin, nullptr);
  std::mt19937 random(seed);
  for (const bool flushDenormals : {false, true}) {
    for (const Layout& layout : kLayouts) {
      for (const int32_t frames : kLengths) {
        for (const bool adding : {false, true}) {
          configure(*plugin, plain, random);
          const auto n = static_cast<size_t>(frames);
          std::vector<float> arena(4 * n + 16);
          for (float& sample : arena) sample = randomSample(random);
          std::vector<float> expected = arena;
          const auto at = layout.offsets(n);
          float* inputs[2] = {arena.data() + at[0], arena.data() + at[1]};
          float* outputs[2] = {arena.data() + at[2], arena.data() + at[3]};
          float* expectedAt[4] = {expected.data() + at[0], expected.data() + at[1],
                                  expected.data() + at[2], expected.data() + at[3]};
          {
            FloatMode mode(flushDenormals);
            for (size_t i = 0; i < n; ++i) {
              const float left = expectedAt[0][i];
              const float right = expectedAt[1][i];
              expectedAt[2][i] = plain(left, right, expectedAt[2][i], 0.0f, adding).first;
              // The old right output is read after the left one is written.
              expectedAt[3][i] = plain(left, right, 0.0f, expectedAt[3][i], adding).second;
            }
            if (adding)
              plugin->process(inputs, outputs, frames);
            else
              plugin->processReplacing(inputs, outputs, frames);
          }
          for (size_t i = 0; i < arena.size(); ++i)
            ASSERT_TRUE(identical(expected[i], arena[i]))
                << name << ", " << layout.name << ", " << frames << " frames"
                << (adding ? ", adding" : "") << (flushDenormals ? ", FTZ/DAZ" : "")
                << ": arena sample " << i << " expected " << matrixTest::describe(expected[i])
                << ", got " << matrixTest::describe(arena[i]);
        }
      }
    }
  }
}

TEST(FastPathTest, LindleMatchesItsPlainLoopOnEveryLayout) {
  compareAllLayouts(
      "Lindle", lindleFrame, [](host::VstPlugin&, auto&, std::mt19937&) {}, 11);
}

TEST(FastPathTest, TessikMatchesItsPlainLoopOnEveryLayout) {
  compareAllLayouts(
      "Tessik", TessikPlain{},
      [](host::VstPlugin& plugin, TessikPlain& plain, std::mt19937& random) {
        const float value = std::uniform_int_distribution<int>(0, 9)(random) == 0
                                ? std::numeric_limits<float>::quiet_NaN()
                                : matrixTest::randomParameter(random);
        plugin.setParameter(0, value);
        plain.setParameter(value);
      },
      12);
}

TEST(FastPathTest, QuorraMatchesItsPlainLoopOnEveryLayout) {
  compareAllLayouts(
      "Quorra", QuorraPlain{},
      [](host::VstPlugin& plugin, QuorraPlain& plain, std::mt19937& random) {
        // Often unchanged, so the kept gains are used; sometimes NaN twice running.
        const int change = std::uniform_int_distribution<int>(0, 5)(random);
        if (change == 0) {
          plain.midGain = matrixTest::randomParameter(random);
          plugin.setParameter(0, plain.midGain);
        } else if (change == 1) {
          plain.sideGain = matrixTest::randomParameter(random);
          plugin.setParameter(1, plain.sideGain);
        } else if (change == 2) {
          plain.midGain = std::numeric_limits<float>::quiet_NaN();
          plugin.setParameter(0, plain.midGain);
        } else if (change == 3) {
          // A value beyond the law's range: a gain of zero or infinity.
          plain.sideGain = std::uniform_int_distribution<int>(0, 1)(random) == 0 ? -80.0f : 80.0f;
          plugin.setParameter(1, plain.sideGain);
        }
      },
      13);
}

}  // namespace
