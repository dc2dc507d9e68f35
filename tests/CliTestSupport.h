// What the command-line tests share: a scratch folder per test, running the
// built stelloria binary with the build's plug-ins as its whole search path,
// and real audio files written and read through libsndfile.
#pragma once

#include <gtest/gtest.h>
#include <sndfile.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace clitest {

namespace fs = std::filesystem;

struct Outcome {
  int status;
  std::string out;
  std::string err;
};

inline std::string readText(const fs::path& path) {
  std::ifstream stream(path, std::ios::binary);
  std::ostringstream text;
  text << stream.rdbuf();
  return text.str();
}

inline std::string shellQuoted(const std::string& text) {
  std::string quoted = "'";
  for (char c : text) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return quoted + "'";
}

inline std::string pluginPath(const std::string& name) {
  return std::string(STELLORIA_VST_DIR) + "/" + name + ".so";
}

inline std::string fakePath(const std::string& kind) {
  return std::string(STELLORIA_FAKE_DIR) + "/fake_" + kind + ".so";
}

//! A fresh folder per test, removed afterwards.
class CliTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/stelloria-cli-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    dir = pattern;
  }
  void TearDown() override { fs::remove_all(dir); }

  std::string at(const std::string& name) const { return (dir / name).string(); }

  //! Runs stelloria in the scratch folder; VST_PATH defaults to the build's plug-ins.
  Outcome run(const std::vector<std::string>& args, const std::string& vstPath = STELLORIA_VST_DIR) {
    // Appended piece by piece: GCC 12 warns falsely (-Wrestrict) on "literal" + string.
    std::string command = "cd ";
    command += shellQuoted(dir.string());
    // Under AddressSanitizer a plug-in that crashes would otherwise end the
    // examining child with a plain exit status instead of a signal.
    command += " && ASAN_OPTIONS=\"$ASAN_OPTIONS:abort_on_error=1\" VST_PATH=";
    command += shellQuoted(vstPath);
    command += ' ';
    command += shellQuoted(STELLORIA_CLI);
    for (const std::string& arg : args) {
      command += ' ';
      command += shellQuoted(arg);
    }
    command += " >";
    command += shellQuoted(at(".stdout"));
    command += " 2>";
    command += shellQuoted(at(".stderr"));
    command += " </dev/null";
    const int raw = std::system(command.c_str());
    Outcome result{WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, readText(at(".stdout")),
               readText(at(".stderr"))};
    fs::remove(at(".stdout"));
    fs::remove(at(".stderr"));
    return result;
  }

  //! Skips the test when the plug-in has not been built (yet).
  void requirePlugin(const std::string& name) {
    if (!fs::exists(pluginPath(name))) GTEST_SKIP() << name << ".so is not built";
  }

  //! Writes a file of `channels` interleaved float samples.
  void writeWav(const std::string& name, int rate, int channels, const std::vector<float>& samples,
                int format = SF_FORMAT_WAV | SF_FORMAT_FLOAT) {
    SF_INFO info{};
    info.samplerate = rate;
    info.channels = channels;
    info.format = format;
    SNDFILE* file = sf_open(at(name).c_str(), SFM_WRITE, &info);
    ASSERT_NE(file, nullptr) << sf_strerror(nullptr);
    sf_writef_float(file, samples.data(), static_cast<sf_count_t>(samples.size()) / channels);
    sf_close(file);
  }

  struct Audio {
    SF_INFO info{};
    std::vector<float> samples;  // interleaved
    float at(size_t frame, int channel) const {
      return samples[frame * static_cast<size_t>(info.channels) + static_cast<size_t>(channel)];
    }
  };

  Audio readWav(const std::string& name) {
    Audio audio;
    SNDFILE* file = sf_open(at(name).c_str(), SFM_READ, &audio.info);
    EXPECT_NE(file, nullptr) << name << ": " << sf_strerror(nullptr);
    if (file == nullptr) return audio;
    audio.samples.resize(static_cast<size_t>(audio.info.frames * audio.info.channels));
    sf_readf_float(file, audio.samples.data(), audio.info.frames);
    sf_close(file);
    return audio;
  }

  //! Names in the scratch folder, hidden ones included: nothing partial may stay.
  std::vector<std::string> files() const {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(dir)) names.push_back(entry.path().filename());
    std::sort(names.begin(), names.end());
    return names;
  }

  fs::path dir;
};

}  // namespace clitest
