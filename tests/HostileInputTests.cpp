// Hostile hosts: whatever a host did before (NaN and infinite parameters,
// sample rates of zero, absurd block sizes, programs out of range, names too
// long, blocks of NaN), once it settles on finite settings (parameters back in
// 0..1, a valid sample rate, "Delay time" set again, a suspend) finite input
// gives finite output. Also the regression tests for what the fuzzer found.
#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <cstring>
#include <functional>
#include <limits>
#include <random>
#include <vector>

#include "HostActions.h"
#include "PluginTestSupport.h"

namespace {

const char* const kPlugins[] = {"Lindle", "Ombrel", "Quorra", "Tessik"};
constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();
constexpr float kInfinity = std::numeric_limits<float>::infinity();

std::shared_ptr<host::PluginLibrary> openLibrary(const std::string& name) {
  std::string error;
  auto library = host::PluginLibrary::open(pluginPath(name), &error);
  EXPECT_NE(library, nullptr) << error;
  return library;
}

//! One block of `value` in every input sample, processed in place.
void processConstant(host::VstPlugin& plugin, float value, int32_t frames) {
  std::vector<float> left(static_cast<size_t>(frames), value), right = left;
  float* channels[2] = {left.data(), right.data()};
  plugin.processReplacing(channels, channels, frames);
}

struct Scenario {
  const char* name;
  std::function<void(host::VstPlugin&)> act;
};

// What hosts and automation have been seen to do, one at a time.
const Scenario kScenarios[] = {
    {"NaNParameters",
     [](host::VstPlugin& p) {
       for (int32_t i = 0; i < p.numParams(); ++i) p.setParameter(i, kNaN);
       processConstant(p, 0.5f, 512);
     }},
    {"InfiniteParameters",
     [](host::VstPlugin& p) {
       for (int32_t i = 0; i < p.numParams(); ++i) p.setParameter(i, -kInfinity);
       processConstant(p, 0.5f, 512);
       for (int32_t i = 0; i < p.numParams(); ++i) p.setParameter(i, kInfinity);
       processConstant(p, 0.5f, 512);
     }},
    {"HugeAndDenormalParameters",
     [](host::VstPlugin& p) {
       for (int32_t i = 0; i < p.numParams(); ++i) p.setParameter(i, FLT_MAX);
       processConstant(p, 1.0f, 700);
       for (int32_t i = 0; i < p.numParams(); ++i) p.setParameter(i, FLT_TRUE_MIN);
       processConstant(p, 1.0f, 700);
     }},
    {"ParameterIndexesOutOfRange",
     [](host::VstPlugin& p) {
       for (const int32_t index : {-1, 7, 8, 1000, INT32_MAX, INT32_MIN}) {
         p.setParameter(index, 0.5f);
         p.getParameter(index);
         p.paramDisplay(index);
       }
     }},
    {"SampleRateZeroThenDelayTime",
     [](host::VstPlugin& p) {
       p.setSampleRate(0.0f);
       if (p.numParams() > 0) p.setParameter(0, 0.7f);
       processConstant(p, 0.5f, 1024);
     }},
    {"SampleRateNaNNegativeAndHuge",
     [](host::VstPlugin& p) {
       for (const float rate : {kNaN, -44100.0f, kInfinity, 1e30f}) {
         p.setSampleRate(rate);
         if (p.numParams() > 0) p.setParameter(0, 0.3f);
         processConstant(p, 0.5f, 300);
       }
     }},
    {"SmoothOfMinusOneStepGivesRampOfNoLength",
     [](host::VstPlugin& p) {
       // For the delay a ramp length of 4095 * smooth + 1 = 0 samples.
       for (int32_t i = 0; i < p.numParams(); ++i) p.setParameter(i, -1.0f / 4095.0f);
       if (p.numParams() > 0) p.setParameter(0, 0.9f);
       processConstant(p, 0.5f, 1024);
     }},
    {"BlockSizesAbsurd",
     [](host::VstPlugin& p) {
       for (const intptr_t size : {intptr_t{0}, intptr_t{-1}, intptr_t{INT32_MAX}}) {
         p.setBlockSize(static_cast<int32_t>(size));
         p.dispatch(effSetBlockSizeAndSampleRate, 0, size, nullptr, kNaN);
       }
       processConstant(p, 0.5f, 64);
     }},
    {"ProgramsOutOfRange",
     [](host::VstPlugin& p) {
       for (const intptr_t program : {intptr_t{-1}, intptr_t{4}, intptr_t{1} << 32,
                                      (intptr_t{1} << 32) + 1, INTPTR_MIN, INTPTR_MAX}) {
         p.setProgram(program);
         p.programName();
         p.dispatchText(effGetProgramNameIndexed, static_cast<int32_t>(program));
       }
       EXPECT_GE(p.getProgram(), 0);
       EXPECT_LT(p.getProgram(), p.numPrograms());
     }},
    {"ProgramNamesOfAnyLength",
     [](host::VstPlugin& p) {
       for (const size_t length : {size_t{0}, size_t{23}, size_t{24}, size_t{100}, size_t{4000}}) {
         p.setProgramName(std::string(length, 'x'));
         EXPECT_LE(p.programName().size(), 23u);
       }
     }},
    {"NonFiniteAudioIn",
     [](host::VstPlugin& p) {
       if (p.numParams() > 1) p.setParameter(1, 0.9f);
       for (const float value : {kNaN, kInfinity, -kInfinity, FLT_MAX, FLT_TRUE_MIN})
         processConstant(p, value, 512);
     }},
    {"ProgramChangeReplaysHostileValues",
     [](host::VstPlugin& p) {
       for (int32_t program = 0; program < p.numPrograms(); ++program) {
         p.setProgram(program);
         for (int32_t i = 0; i < p.numParams(); ++i) p.setParameter(i, program % 2 ? kNaN : -5.0f);
       }
       p.setProgram(1);
       processConstant(p, 0.5f, 512);
       p.setProgram(2);
     }},
    {"EveryOpcodeWithHostileArguments",
     [](host::VstPlugin& p) {
       char text[512] = "receiveVstEvents";
       for (int32_t opcode = -1; opcode <= 80; ++opcode) {
         if (opcode == effClose || opcode == effGetSpeakerArrangement ||
             opcode == effSetSpeakerArrangement || opcode == effGetChunk)
           continue;  // these take holders or records: played by the fuzzer's host
         for (const int32_t index : {-1, 0, 7, INT32_MAX}) {
           p.dispatch(opcode, index, -1, text, kNaN);
           text[sizeof text - 1] = '\0';
         }
       }
     }},
};

class HostileScenario : public testing::TestWithParam<std::tuple<const char*, const Scenario*>> {};

TEST_P(HostileScenario, FiniteSettingsGiveFiniteOutputAfterwards) {
  auto library = openLibrary(std::get<0>(GetParam()));
  ASSERT_NE(library, nullptr);
  HostActions host(library);
  host.plugin().open();
  host.plugin().mainsChanged(true);
  processConstant(host.plugin(), 0.25f, 256);
  std::get<1>(GetParam())->act(host.plugin());
  host.restoreFiniteSettings(7);
  EXPECT_TRUE(host.finiteInGivesFiniteOut(7));
}

std::vector<const Scenario*> scenarios() {
  std::vector<const Scenario*> all;
  for (const Scenario& scenario : kScenarios) all.push_back(&scenario);
  return all;
}

INSTANTIATE_TEST_SUITE_P(EveryPlugin, HostileScenario,
                         testing::Combine(testing::ValuesIn(kPlugins),
                                          testing::ValuesIn(scenarios())),
                         [](const auto& info) {
                           return std::string(std::get<0>(info.param)) + "_" +
                                  std::get<1>(info.param)->name;
                         });

// Pseudo-random action strings, the same on every run.
class RandomHostileSequences : public testing::TestWithParam<const char*> {};

TEST_P(RandomHostileSequences, FiniteSettingsGiveFiniteOutputAfterwards) {
  auto library = openLibrary(GetParam());
  ASSERT_NE(library, nullptr);
  std::mt19937 random(20240601);
  for (uint32_t sequence = 0; sequence < 60; ++sequence) {
    std::vector<uint8_t> bytes(1 + random() % 1500);
    for (uint8_t& byte : bytes) byte = static_cast<uint8_t>(random());
    HostActions host(library);
    host.play(bytes.data(), bytes.size());
    host.restoreFiniteSettings(sequence);
    ASSERT_TRUE(host.finiteInGivesFiniteOut(sequence)) << "sequence " << sequence;
  }
}

// Texts the plug-ins write for hostile values still fit the buffers hosts
// pass (the program-name size, 24 bytes, being the smallest in common use).
class HostileTexts : public testing::TestWithParam<const char*> {};

TEST_P(HostileTexts, FitWhateverTheValue) {
  auto plugin = loadPlugin(GetParam());
  ASSERT_NE(plugin, nullptr);
  for (const float value : {kNaN, kInfinity, -kInfinity, FLT_MAX, -FLT_MAX, 1e-40f, -1e9f}) {
    for (int32_t i = 0; i < plugin->numParams(); ++i) plugin->setParameter(i, value);
    for (int32_t i = -1; i <= plugin->numParams(); ++i) {
      EXPECT_LT(plugin->paramDisplay(i).size(), 24u) << "parameter " << i << " at " << value;
      EXPECT_LT(plugin->paramLabel(i).size(), 24u);
      EXPECT_LT(plugin->paramName(i).size(), 24u);
    }
  }
}

INSTANTIATE_TEST_SUITE_P(EveryPlugin, RandomHostileSequences, testing::ValuesIn(kPlugins),
                         [](const auto& info) { return std::string(info.param); });
INSTANTIATE_TEST_SUITE_P(EveryPlugin, HostileTexts, testing::ValuesIn(kPlugins),
                         [](const auto& info) { return std::string(info.param); });

}  // namespace
