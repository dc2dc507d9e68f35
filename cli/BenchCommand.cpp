// stelloria bench: the cost of processReplacing per frame for each plug-in
// named, measured in one run against a plain stereo copy of the same buffers,
// as a ratio to that copy and as real-time instances at 48 kHz. Wall-clock
// timing on a shared machine is noisy; the ratio to a baseline taken
// minutes apart would be noisier, hence one run.
#include <chrono>
#include <cstdio>
#include <cstring>
#include <memory>

#include "Arguments.h"
#include "CliError.h"
#include "Commands.h"
#include "PluginSession.h"

namespace cli {
namespace {

constexpr double kRealTimeRate = 48000.0;

// Stereo buffers sized for one block, filled with a deterministic signal at
// about -6 dBFS so no plug-in meets denormals or silence shortcuts.
struct Buffers {
  explicit Buffers(size_t inputs, size_t outputs, size_t frames)
      : input(inputs, std::vector<float>(frames)), output(outputs, std::vector<float>(frames)) {
    uint32_t noise = 1;
    for (auto& channel : input)
      for (float& sample : channel) {
        noise = noise * 1664525u + 1013904223u;
        sample = static_cast<float>(static_cast<double>(noise >> 8) / (1u << 24) - 0.5);
      }
    for (auto& channel : input) inputPointers.push_back(channel.data());
    for (auto& channel : output) outputPointers.push_back(channel.data());
  }
  std::vector<std::vector<float>> input, output;
  std::vector<float*> inputPointers, outputPointers;
};

// Runs `block` again and again for `seconds`; answers nanoseconds per frame.
template <typename Block>
double nanosecondsPerFrame(Block block, size_t frames, double seconds) {
  using Clock = std::chrono::steady_clock;
  for (int i = 0; i < 8; ++i) block();  // warm caches and branch predictors
  const auto start = Clock::now();
  const auto end = start + std::chrono::duration<double>(seconds);
  size_t calls = 0;
  auto now = start;
  do {
    for (int i = 0; i < 16; ++i) block();
    calls += 16;
    now = Clock::now();
  } while (now < end);
  const double elapsed = std::chrono::duration<double, std::nano>(now - start).count();
  return elapsed / static_cast<double>(calls * frames);
}

void printRow(const std::string& name, double nanoseconds, double baseline) {
  const double instances = 1e9 / kRealTimeRate / nanoseconds;
  std::printf("%-24s %10.3f %9.2f %14.0f\n", name.c_str(), nanoseconds, nanoseconds / baseline,
              instances);
}

}  // namespace

int runBench(const CommandArguments& args) {
  const Arguments arguments(args, {{"block", true}, {"seconds", true}});
  if (arguments.helpRequested()) {
    std::puts(
        "usage: stelloria bench PLUGIN... [--block FRAMES] [--seconds S]\n"
        "Times processReplacing for each plug-in named (default block 512 frames,\n"
        "S = 1 second each) next to a plain stereo copy of the same buffers, and\n"
        "prints nanoseconds per frame, the ratio to the copy and how many\n"
        "instances would run in real time at 48 kHz on one core.");
    return 0;
  }
  if (arguments.positionals().empty())
    throw CliError("bench needs at least one PLUGIN (see stelloria bench --help)", true);
  const auto frames =
      static_cast<size_t>(parseInteger(arguments.value("block", "512"), "--block", 1, 1 << 16));
  const double seconds = parseNumber(arguments.value("seconds", "1"), "--seconds");
  if (seconds <= 0.0 || seconds > 600.0)
    throw CliError("--seconds: must be more than 0 and at most 600", true);

  std::vector<std::unique_ptr<PluginSession>> sessions;
  for (const std::string& name : arguments.positionals()) {
    sessions.push_back(std::make_unique<PluginSession>(name));
    PluginSession& session = *sessions.back();
    session.prepare(kRealTimeRate, static_cast<int32_t>(frames));
    session.plugin().mainsChanged(true);
    session.plugin().dispatch(effStartProcess);
  }

  Buffers copyBuffers(2, 2, frames);
  const double baseline = nanosecondsPerFrame(
      [&] {
        std::memcpy(copyBuffers.outputPointers[0], copyBuffers.inputPointers[0], frames * 4);
        std::memcpy(copyBuffers.outputPointers[1], copyBuffers.inputPointers[1], frames * 4);
        // Keeps the copy from being optimised away.
        asm volatile("" : : "r"(copyBuffers.outputPointers[0]) : "memory");
      },
      frames, seconds);

  std::printf("block %zu frames, %g s per plug-in; real time at 48 kHz is %.0f ns per frame\n",
              frames, seconds, 1e9 / kRealTimeRate);
  std::printf("%-24s %10s %9s %14s\n", "", "ns/frame", "x copy", "instances");
  printRow("stereo copy (baseline)", baseline, baseline);
  for (auto& session : sessions) {
    host::VstPlugin& plugin = session->plugin();
    Buffers buffers(static_cast<size_t>(std::max(plugin.numInputs(), 2)),
                    static_cast<size_t>(std::max(plugin.numOutputs(), 2)), frames);
    const double cost = nanosecondsPerFrame(
        [&] {
          plugin.processReplacing(buffers.inputPointers.data(), buffers.outputPointers.data(),
                                  static_cast<int32_t>(frames));
        },
        frames, seconds);
    plugin.clearCalls();
    printRow(session->name(), cost, baseline);
    plugin.dispatch(effStopProcess);
    plugin.mainsChanged(false);
  }
  return 0;
}

}  // namespace cli
