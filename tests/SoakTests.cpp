// Lifecycle soak: every plug-in opened and closed thousands of times, dozens
// of instances alive at once, the library loaded and unloaded again and
// again, and the memory in use back where it started. Leaks are also caught
// by LeakSanitizer in the sanitizer build, where mallinfo2 says nothing useful.
#include <gtest/gtest.h>
#include <malloc.h>

#include <vector>

#include "PluginTestSupport.h"

namespace {

const char* const kPlugins[] = {"Lindle", "Ombrel", "Quorra", "Tessik"};
constexpr int kCycles = 2000;
constexpr int kAtOnce = 48;
constexpr int kReloads = 100;

//! Bytes the C allocator has handed out and not had back, mapped blocks included.
size_t bytesInUse() {
  const struct mallinfo2 info = mallinfo2();
  return info.uordblks + info.hblkhd;
}

// Far less than one instance of the delay (3.4 MiB), far more than allocator noise.
constexpr size_t kSlack = 256 * 1024;

class Soak : public testing::TestWithParam<const char*> {
 protected:
  void SetUp() override {
    std::string error;
    library = host::PluginLibrary::open(pluginPath(GetParam()), &error);
    ASSERT_NE(library, nullptr) << error;
  }

  //! A short host session: open, settings, one block, close.
  void session(host::VstPlugin& plugin) {
    plugin.open();
    plugin.setSampleRate(48000.0f);
    plugin.setBlockSize(64);
    plugin.mainsChanged(true);
    plugin.processReplacing(inputs, outputs, 64);
    plugin.mainsChanged(false);
  }

  std::shared_ptr<host::PluginLibrary> library;
  std::vector<float> buffer = std::vector<float>(4 * 64, 0.25f);
  float* inputs[2] = {buffer.data(), buffer.data() + 64};
  float* outputs[2] = {buffer.data() + 128, buffer.data() + 192};
};

TEST_P(Soak, ThousandsOfOpenCloseCyclesGiveBackAllMemory) {
  std::string error;
  // One instance first, so that what the library sets up once is not counted.
  { ASSERT_NE(host::VstPlugin::create(library, &error), nullptr) << error; }
  const size_t start = bytesInUse();
  for (int cycle = 0; cycle < kCycles; ++cycle) {
    auto plugin = host::VstPlugin::create(library, &error);
    ASSERT_NE(plugin, nullptr) << "cycle " << cycle << ": " << error;
    session(*plugin);
    EXPECT_EQ(plugin->close(), 1);
  }
  EXPECT_LE(bytesInUse(), start + kSlack);
}

TEST_P(Soak, DozensOfInstancesAtOnceStayApartAndGiveBackAllMemory) {
  std::string error;
  { ASSERT_NE(host::VstPlugin::create(library, &error), nullptr) << error; }
  const size_t start = bytesInUse();
  for (int round = 0; round < 3; ++round) {
    std::vector<std::unique_ptr<host::VstPlugin>> plugins;
    for (int i = 0; i < kAtOnce; ++i) {
      plugins.push_back(host::VstPlugin::create(library, &error));
      ASSERT_NE(plugins.back(), nullptr) << error;
      session(*plugins.back());
    }
    // Each record is its own, and a name given to one reaches no other.
    for (int i = 0; i < kAtOnce; ++i) {
      plugins[i]->setProgramName("inst " + std::to_string(i));
      for (int j = 0; j < i; ++j) ASSERT_NE(plugins[i]->effect(), plugins[j]->effect());
    }
    for (int i = 0; i < kAtOnce; ++i)
      EXPECT_EQ(plugins[i]->programName(), "inst " + std::to_string(i));
    // Closed in an order unlike the opening one.
    for (int i = 0; i < kAtOnce; i += 2) plugins[i].reset();
    plugins.clear();
  }
  EXPECT_LE(bytesInUse(), start + kSlack);
}

TEST_P(Soak, LibraryLoadedAndUnloadedAgainAndAgain) {
  const std::string path = pluginPath(GetParam());
  library.reset();
  for (int reload = 0; reload < kReloads; ++reload) {
    std::string error;
    auto plugin = host::VstPlugin::load(path, &error);
    ASSERT_NE(plugin, nullptr) << "reload " << reload << ": " << error;
    session(*plugin);
  }
}

INSTANTIATE_TEST_SUITE_P(EveryPlugin, Soak, testing::ValuesIn(kPlugins),
                         [](const auto& info) { return std::string(info.param); });

}  // namespace
