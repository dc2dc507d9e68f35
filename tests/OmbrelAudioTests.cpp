// The delay Ombrel's audio through its built library: bit for bit against an
// independent model of its formulas (OmbrelReference.h), and against delays
// read straight off the output where a test signal makes them visible.
#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>
#include <random>
#include <vector>

#include "OmbrelReference.h"
#include "PluginTestSupport.h"

namespace {

constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();
constexpr float kInfinity = std::numeric_limits<float>::infinity();

enum class Mode { kSeparate, kInPlace, kAccumulate };

struct Stereo {
  explicit Stereo(size_t frames) : left(frames), right(frames) {}
  float** channels() { return pointers; }
  std::vector<float> left, right;
  float* pointers[2] = {left.data(), right.data()};
};

void expectSameBits(const std::vector<float>& actual, const std::vector<float>& expected,
                    const char* channel) {
  ASSERT_EQ(actual.size(), expected.size());
  for (size_t i = 0; i < actual.size(); ++i) {
    if (std::bit_cast<uint32_t>(actual[i]) != std::bit_cast<uint32_t>(expected[i])) {
      ADD_FAILURE() << channel << " differs at frame " << i << ": " << actual[i] << " instead of "
                    << expected[i];
      return;
    }
  }
}

// The plug-in and the model, told the same things and fed the same noise.
class Twin {
 public:
  Twin() : plugin(loadPlugin("Ombrel")) {}

  void set(int32_t index, float value) {
    plugin->setParameter(index, value);
    model.setParameter(index, value);
  }
  void setSampleRate(float rate) {
    plugin->setSampleRate(rate);
    model.setSampleRate(rate);
  }
  //! The host asks the display of "Max delay", which re-applies "Delay time".
  void askMaxDelayDisplay() {
    plugin->paramDisplay(2);
    model.setParameter(0, model.value(0));
  }
  void suspend() {
    plugin->mainsChanged(false);
    model.clear();
  }

  //! One block of noise through both; outputs compared bit for bit.
  void expectBlock(int32_t frames, Mode mode = Mode::kSeparate) {
    Stereo input(static_cast<size_t>(frames));
    Stereo output(static_cast<size_t>(frames));
    std::uniform_real_distribution<float> noise(-1.0f, 1.0f);
    for (int32_t i = 0; i < frames; ++i) {
      input.left[i] = noise(random);
      input.right[i] = noise(random);
      output.left[i] = noise(random);
      output.right[i] = noise(random);
    }
    Stereo expected = output;
    model.run(input.left.data(), input.right.data(), expected.left.data(), expected.right.data(),
              frames, mode == Mode::kAccumulate);
    switch (mode) {
      case Mode::kSeparate:
        plugin->processReplacing(input.channels(), output.channels(), frames);
        break;
      case Mode::kAccumulate: plugin->process(input.channels(), output.channels(), frames); break;
      case Mode::kInPlace:
        plugin->processReplacing(input.channels(), input.channels(), frames);
        output = input;
        break;
    }
    expectSameBits(output.left, expected.left, "left");
    expectSameBits(output.right, expected.right, "right");
  }

  void expectBlocks(std::initializer_list<int32_t> lengths, Mode mode = Mode::kSeparate) {
    for (int32_t frames : lengths) expectBlock(frames, mode);
  }

  std::unique_ptr<host::VstPlugin> plugin;
  OmbrelReference model;

 private:
  std::mt19937 random{20240611};
};

TEST(OmbrelAudio, StartUpSweepOfAFreshInstance) {
  Twin twin;
  twin.expectBlocks({300, 300, 300, 300, 300, 300, 300, 1000, 4096});
}

TEST(OmbrelAudio, StartUpSweepInOneBlock) {
  Twin twin;
  twin.expectBlocks({30000});
}

TEST(OmbrelAudio, RampOfDefaultLengthInBlocksOfEveryKind) {
  for (Mode mode : {Mode::kSeparate, Mode::kInPlace, Mode::kAccumulate}) {
    Twin twin;
    twin.set(1, 0.4f);
    twin.expectBlocks({4096, 2048}, mode);
    twin.set(0, 0.3f);
    // 2048 samples of ramp, then the final step, in blocks that end just
    // before, on and after it.
    twin.expectBlocks({2047, 1, 1, 64}, mode);
    twin.set(0, 0.7f);
    twin.expectBlocks({2048, 64}, mode);
    twin.set(0, 0.45f);
    twin.expectBlocks({3000}, mode);
  }
}

TEST(OmbrelAudio, RampSpanningSeveralBlocks) {
  Twin twin;
  twin.set(5, 1.0f);
  twin.set(4, 1.0f);
  twin.set(1, 0.6f);
  twin.set(6, 0.2f);
  twin.expectBlocks({8192});
  twin.set(0, 0.123f);
  twin.expectBlocks({500, 500, 500, 500, 500, 500, 500, 500, 500, 64});
}

TEST(OmbrelAudio, RestartingARampMidway) {
  Twin twin;
  twin.expectBlocks({4096});
  twin.set(0, 0.9f);
  twin.expectBlocks({700});
  // The same value again, and a "Max delay" display, each recompute the step
  // from where the ramp stands.
  twin.set(0, 0.9f);
  twin.expectBlocks({700});
  twin.set(2, 0.05f);
  twin.expectBlocks({300});
  twin.askMaxDelayDisplay();
  twin.expectBlocks({2000, 500});
}

TEST(OmbrelAudio, SmoothZeroAndSideSelection) {
  Twin twin;
  twin.set(5, 0.0f);
  twin.set(4, 0.5f);
  twin.set(1, 0.9f);
  twin.expectBlocks({4096});
  twin.set(0, 0.01f);
  twin.expectBlocks({64, 64});
  twin.set(4, 0.2f);
  twin.expectBlocks({1000});
}

TEST(OmbrelAudio, FractionalDelaysWithSampleRateChanges) {
  Twin twin;
  twin.setSampleRate(48000.0f);
  twin.set(0, 0.0731f);
  twin.set(1, -0.7f);
  twin.expectBlocks({5000});
  twin.setSampleRate(96000.0f);
  twin.expectBlocks({100});
  twin.set(0, 0.0731f);
  twin.expectBlocks({3000});
}

TEST(OmbrelAudio, SuspendClearsTheLineMidRamp) {
  Twin twin;
  twin.set(1, 0.8f);
  twin.expectBlocks({4096});
  twin.set(0, 0.2f);
  twin.expectBlocks({1000});
  twin.suspend();
  twin.expectBlocks({1500, 100});
}

TEST(OmbrelAudio, ProgramChangeReplaysValues) {
  Twin twin;
  twin.plugin->setProgram(1);
  twin.plugin->setParameter(0, 0.3f);
  twin.plugin->setParameter(2, 0.2f);
  twin.plugin->setParameter(5, 0.25f);
  twin.plugin->setProgram(0);
  twin.expectBlocks({3000});
  twin.plugin->setProgram(1);
  for (int32_t index = 0; index < 7; ++index)
    twin.model.setParameter(index, twin.plugin->getParameter(index));
  twin.expectBlocks({3000});
}

TEST(OmbrelAudio, ZeroAndNegativeBlocksChangeNothing) {
  Twin twin;
  twin.expectBlocks({100});
  twin.set(0, 0.2f);
  Stereo silent(4);
  Stereo untouched(4);
  untouched.left = {1, 2, 3, 4};
  untouched.right = {5, 6, 7, 8};
  for (int32_t frames : {0, -1, -4096, std::numeric_limits<int32_t>::min()}) {
    Stereo output = untouched;
    twin.plugin->processReplacing(silent.channels(), output.channels(), frames);
    twin.plugin->process(silent.channels(), output.channels(), frames);
    EXPECT_EQ(output.left, untouched.left);
    EXPECT_EQ(output.right, untouched.right);
  }
  // The pending ramp starts where it would have.
  twin.expectBlocks({3000});
}

TEST(OmbrelAudio, InPlaceEqualsSeparate) {
  Twin separate;
  Twin inPlace;
  for (Twin* twin : {&separate, &inPlace}) {
    twin->set(1, 0.5f);
    twin->set(4, 0.7f);
    twin->set(6, 0.3f);
  }
  separate.expectBlocks({1000, 2000, 4096});
  inPlace.expectBlocks({1000, 2000, 4096}, Mode::kInPlace);
}

// A delay probe: mid carries a sample counter and side nothing, the mix is
// fully wet and there is no feedback, so each output sample is the counter
// value the line read, and counter minus output is the delay in force. At
// 1024 Hz a "Delay time" of k / 1024 with the default "Max delay" gives
// exactly k samples.
class Probe {
 public:
  explicit Probe(float smooth) : plugin(loadPlugin("Ombrel")) {
    plugin->setSampleRate(1024.0f);
    plugin->setParameter(6, 0.0f);
    plugin->setParameter(5, smooth);
  }

  static float delayTime(int32_t samples) { return static_cast<float>(samples) / 1024.0f; }

  //! The delays in force over the next `frames` samples.
  std::vector<double> delays(int32_t frames) {
    Stereo input(static_cast<size_t>(frames));
    Stereo output(static_cast<size_t>(frames));
    for (int32_t i = 0; i < frames; ++i) {
      input.left[i] = input.right[i] = static_cast<float>(clock + i);
    }
    plugin->processReplacing(input.channels(), output.channels(), frames);
    std::vector<double> result(static_cast<size_t>(frames));
    for (int32_t i = 0; i < frames; ++i) {
      EXPECT_EQ(output.left[i], output.right[i]);
      result[i] = static_cast<double>(clock + i) - output.left[i];
    }
    clock += frames;
    return result;
  }

  //! Runs a block and expects one delay throughout.
  void expectSettled(int32_t frames, double delay) {
    const std::vector<double> measured = delays(frames);
    for (int32_t i = 0; i < frames; ++i) ASSERT_EQ(measured[i], delay) << "frame " << i;
  }

  std::unique_ptr<host::VstPlugin> plugin;
  int64_t clock = 0;
};

TEST(OmbrelProbe, SmoothZeroAppliesTheNewDelayFromTheSecondSample) {
  Probe probe(0.0f);
  probe.plugin->setParameter(0, Probe::delayTime(100));
  probe.delays(3000);
  probe.expectSettled(64, 100);
  probe.plugin->setParameter(0, Probe::delayTime(37));
  const std::vector<double> next = probe.delays(64);
  EXPECT_EQ(next[0], 100);
  for (size_t i = 1; i < next.size(); ++i) ASSERT_EQ(next[i], 37) << i;
}

TEST(OmbrelProbe, RampIs2048LinearStepsThenTheTarget) {
  Probe probe(0.5f);
  probe.plugin->setParameter(0, Probe::delayTime(100));
  probe.delays(5000);
  probe.expectSettled(64, 100);
  probe.plugin->setParameter(0, Probe::delayTime(1100));
  const double step = 1000.0 / 2048.5;
  const std::vector<double> ramp = probe.delays(2048 + 64);
  for (size_t i = 0; i < 2048; ++i) ASSERT_NEAR(ramp[i], 100.0 + step * i, 0.01) << i;
  for (size_t i = 2048; i < ramp.size(); ++i) ASSERT_EQ(ramp[i], 1100) << i;
}

TEST(OmbrelProbe, MaxDelayActsOnceItsDisplayIsAsked) {
  Probe probe(0.0f);
  probe.plugin->setParameter(0, Probe::delayTime(100));
  probe.delays(3000);
  probe.plugin->setParameter(2, 0.2f);
  probe.expectSettled(500, 100);
  EXPECT_EQ(probe.plugin->paramDisplay(2), "2000.000");
  EXPECT_EQ(probe.delays(1)[0], 100);
  probe.expectSettled(500, 200);
}

TEST(OmbrelProbe, ProgramChangeUsesThePreviousMaxDelay) {
  Probe probe(0.0f);
  probe.plugin->setParameter(0, Probe::delayTime(100));
  probe.plugin->setProgram(1);
  probe.plugin->setParameter(5, 0.0f);
  probe.plugin->setParameter(6, 0.0f);
  probe.plugin->setParameter(2, 0.2f);
  probe.plugin->setParameter(0, Probe::delayTime(300));
  // Program 0 comes back with program 1's "Max delay" still in force.
  probe.plugin->setProgram(0);
  probe.delays(3000);
  probe.expectSettled(64, 200);

  probe.plugin->setProgram(1);
  probe.delays(1);
  probe.expectSettled(500, 300);
  probe.plugin->setParameter(0, Probe::delayTime(300));
  probe.delays(1);
  probe.expectSettled(500, 600);
}

TEST(OmbrelProbe, DelayIsClampedToTheLineAt96kHz) {
  Probe probe(0.0f);
  probe.plugin->setSampleRate(96000.0f);
  probe.plugin->setParameter(2, 1.0f);
  probe.plugin->setParameter(0, 1.0f);
  EXPECT_EQ(probe.plugin->paramDisplay(0), "10000.00");
  testing::internal::CaptureStderr();
  probe.delays(441000 + 5);
  probe.expectSettled(1000, 441000);
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
}

TEST(OmbrelProbe, ImpulseReturnsWithAlternatingFeedback) {
  const int32_t d = 100;
  for (float gain : {0.5f, 0.3f, -0.8f}) {
    SCOPED_TRACE(gain);
    Probe probe(0.0f);
    probe.plugin->setParameter(0, Probe::delayTime(d));
    probe.plugin->setParameter(1, gain);
    Stereo silence(4096);
    Stereo output(4096);
    probe.plugin->processReplacing(silence.channels(), output.channels(), 4096);

    Stereo impulse(4 * d + 10);
    impulse.left[0] = impulse.right[0] = 1.0f;
    Stereo echoes(impulse.left.size());
    probe.plugin->processReplacing(impulse.channels(), echoes.channels(),
                                   static_cast<int32_t>(impulse.left.size()));
    std::vector<float> expected(impulse.left.size(), 0.0f);
    const double g = gain;
    expected[d] = 1.0f;
    expected[2 * d + 1] = static_cast<float>(-g);
    expected[3 * d + 2] = static_cast<float>(g * g);
    expected[4 * d + 3] = static_cast<float>(-(g * g) * g);
    expectSameBits(echoes.left, expected, "left");
    expectSameBits(echoes.right, expected, "right");
  }
}

TEST(OmbrelProbe, SuspendSilencesEchoesAndKeepsTheDelay) {
  Probe probe(0.0f);
  probe.plugin->setParameter(0, Probe::delayTime(100));
  probe.plugin->setParameter(1, 0.9f);
  probe.delays(3000);
  probe.plugin->mainsChanged(false);
  Stereo silence(1000);
  Stereo output(1000);
  probe.plugin->processReplacing(silence.channels(), output.channels(), 1000);
  for (size_t i = 0; i < output.left.size(); ++i) ASSERT_EQ(output.left[i], 0.0f) << i;
  probe.plugin->setParameter(1, 0.0f);
  probe.clock += 1000;
  probe.delays(100);
  probe.expectSettled(500, 100);
}

TEST(OmbrelProbe, FullyDryMixPassesTheInput) {
  Twin twin;
  twin.set(6, 1.0f);
  twin.set(1, 0.95f);
  Stereo input(5000);
  Stereo output(5000);
  std::mt19937 random(7);
  std::uniform_real_distribution<float> noise(-1.0f, 1.0f);
  for (size_t i = 0; i < input.left.size(); ++i) {
    input.left[i] = noise(random);
    input.right[i] = noise(random);
  }
  twin.plugin->processReplacing(input.channels(), output.channels(), 5000);
  for (size_t i = 0; i < input.left.size(); ++i) {
    const double l = input.left[i];
    const double r = input.right[i];
    const double m = static_cast<float>((l + r) * 0.5);
    const double s = static_cast<float>((l - r) * 0.5);
    ASSERT_EQ(output.left[i], static_cast<float>(m + s)) << i;
    ASSERT_EQ(output.right[i], static_cast<float>(m - s)) << i;
  }
}

TEST(OmbrelProbe, SettledMidDelayLeavesSideAlone) {
  for (float select : {0.0f, 1.0f}) {
    SCOPED_TRACE(select);
    Probe probe(0.0f);
    const int32_t d = 50;
    probe.plugin->setParameter(0, Probe::delayTime(d));
    probe.plugin->setParameter(4, select);
    Stereo input(3000);
    std::mt19937 random(3);
    std::uniform_real_distribution<float> noise(-1.0f, 1.0f);
    for (size_t i = 0; i < input.left.size(); ++i) {
      input.left[i] = noise(random);
      input.right[i] = noise(random);
    }
    Stereo output(3000);
    probe.plugin->processReplacing(input.channels(), output.channels(), 3000);
    auto mid = [&](size_t i) {
      return static_cast<float>((double{input.left[i]} + input.right[i]) * 0.5);
    };
    auto side = [&](size_t i) {
      return static_cast<float>((double{input.left[i]} - input.right[i]) * 0.5);
    };
    for (size_t t = 2000; t < 3000; ++t) {
      const double m = select < 0.5f ? mid(t - d) : mid(t);
      const double s = select < 0.5f ? side(t) : side(t - d);
      ASSERT_EQ(output.left[t], static_cast<float>(m + s)) << t;
      ASSERT_EQ(output.right[t], static_cast<float>(m - s)) << t;
    }
  }
}

// Anything a host may send: the audio stays inside its buffers, nothing is
// printed, and finite settings bring finite output back.
TEST(OmbrelBadInput, NeverCrashesNeverSticks) {
  const float values[] = {kNaN, kInfinity, -kInfinity, 1e30f, -1e30f, -1.0f, 3.0f, 1e-40f};
  const float rates[] = {0.0f, -44100.0f, kNaN, kInfinity, 1e30f, 1e-40f, 44100.0f};
  std::mt19937 random(99);
  std::uniform_real_distribution<float> noise(-1.0f, 1.0f);
  Stereo input(512);
  for (size_t i = 0; i < 512; ++i) input.left[i] = input.right[i] = noise(random);

  testing::internal::CaptureStderr();
  for (int32_t index = 0; index < 7; ++index) {
    for (float value : values) {
      for (float rate : rates) {
        SCOPED_TRACE(testing::Message()
                     << "parameter " << index << " at " << value << ", " << rate << " Hz");
        auto plugin = loadPlugin("Ombrel");
        plugin->setSampleRate(rate);
        plugin->setParameter(5, 0.01f);
        plugin->setParameter(index, value);
        plugin->setParameter(0, 0.5f);
        Stereo output(512);
        plugin->processReplacing(input.channels(), output.channels(), 512);
        plugin->process(input.channels(), output.channels(), 256);
        plugin->paramDisplay(index);
        plugin->paramDisplay(2);
        plugin->processReplacing(input.channels(), input.channels(), 0);
        plugin->processReplacing(input.channels(), output.channels(), 100);

        // Finite settings again, a cleared line, and "Delay time" once more.
        plugin->setSampleRate(44100.0f);
        const float defaults[] = {0.5f, 0.0f, 0.1f, 0.0f, 0.0f, 0.01f, 0.5f};
        for (int32_t i = 0; i < 7; ++i) plugin->setParameter(i, defaults[i]);
        plugin->mainsChanged(false);
        plugin->setParameter(0, 0.002f);
        Stereo after(512);
        plugin->processReplacing(input.channels(), after.channels(), 512);
        for (size_t i = 0; i < 512; ++i) {
          ASSERT_TRUE(std::isfinite(after.left[i]) && std::isfinite(after.right[i])) << i;
        }
      }
    }
  }
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
}

// A delay that cannot be counted towards (an endless ramp, a NaN in force)
// goes to the target at once instead of never arriving.
TEST(OmbrelBadInput, UncountableRampsJumpToTheTarget) {
  Probe endless(kInfinity);
  endless.plugin->setParameter(0, Probe::delayTime(100));
  endless.delays(200);
  endless.expectSettled(3000, 100);
  endless.plugin->setParameter(0, Probe::delayTime(40));
  endless.expectSettled(64, 40);

  Probe lost(0.0f);
  lost.plugin->setSampleRate(kNaN);
  lost.plugin->setParameter(0, Probe::delayTime(100));
  lost.delays(64);
  lost.plugin->setSampleRate(1024.0f);
  lost.plugin->setParameter(0, Probe::delayTime(100));
  lost.delays(3000);
  lost.expectSettled(64, 100);
}

}  // namespace

namespace {

// Outputs that lie partly over the inputs (shifted by a few frames, so a
// write may change an input not yet read) take the frame-by-frame path: the
// result is what the model gives on the same overlapping buffers.
TEST(OmbrelAudio, PartlyOverlappingBuffersFollowTheFrameOrder) {
  for (int shift : {1, -1, 7, -300}) {
    auto plugin = loadPlugin("Ombrel");
    OmbrelReference reference;
    for (auto [index, value] : {std::pair{0, 0.004f}, {1, 0.4f}, {4, 0.2f}, {6, 0.25f}}) {
      plugin->setParameter(index, value);
      reference.setParameter(index, value);
    }
    constexpr int32_t kFrames = 1500;
    const int margin = std::abs(shift);
    std::mt19937 random(static_cast<unsigned>(shift + 100));
    std::uniform_real_distribution<float> sample(-1.0f, 1.0f);
    std::vector<float> left(kFrames + margin), right(kFrames + margin);
    for (size_t i = 0; i < left.size(); ++i) {
      left[i] = sample(random);
      right[i] = sample(random);
    }
    std::vector<float> modelLeft = left, modelRight = right;
    const int inOffset = shift > 0 ? 0 : margin;
    const int outOffset = shift > 0 ? margin : 0;
    for (int32_t block : {700, 800}) {
      const int32_t start = block == 700 ? 0 : 700;
      float* in[2] = {left.data() + inOffset + start, right.data() + inOffset + start};
      float* out[2] = {left.data() + outOffset + start, right.data() + outOffset + start};
      plugin->processReplacing(in, out, block);
      reference.run(modelLeft.data() + inOffset + start, modelRight.data() + inOffset + start,
                    modelLeft.data() + outOffset + start, modelRight.data() + outOffset + start,
                    block, false);
    }
    for (size_t i = 0; i < left.size(); ++i) {
      ASSERT_EQ(std::bit_cast<uint32_t>(left[i]), std::bit_cast<uint32_t>(modelLeft[i]))
          << "shift " << shift << ", sample " << i;
      ASSERT_EQ(std::bit_cast<uint32_t>(right[i]), std::bit_cast<uint32_t>(modelRight[i]))
          << "shift " << shift << ", sample " << i;
    }
  }
}

}  // namespace
