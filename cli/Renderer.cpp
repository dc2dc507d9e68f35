#include "Renderer.h"

#include <algorithm>
#include <cmath>

#include "CliError.h"
#include "Progress.h"
#include "VstPlugin.h"

namespace cli {

Audio render(host::VstPlugin& plugin, const Audio& input, const RenderSettings& settings) {
  if (plugin.numOutputs() < 1) throw CliError(plugin.library()->path() + ": plug-in has no outputs");
  const size_t block = static_cast<size_t>(settings.blockFrames);
  const size_t inputFrames = input.frames();
  const size_t totalFrames =
      inputFrames + static_cast<size_t>(std::llround(settings.tailSeconds * input.sampleRate));

  const size_t inputCount = static_cast<size_t>(std::max(plugin.numInputs(), 2));
  const size_t outputCount = static_cast<size_t>(std::max(plugin.numOutputs(), 2));
  std::vector<std::vector<float>> inputBuffers(inputCount, std::vector<float>(block));
  std::vector<std::vector<float>> outputBuffers(outputCount, std::vector<float>(block));
  std::vector<float*> inputs;
  std::vector<float*> outputs;
  for (auto& buffer : inputBuffers) inputs.push_back(buffer.data());
  for (auto& buffer : outputBuffers) outputs.push_back(buffer.data());
  const bool replacing = (plugin.flags() & effFlagsCanReplacing) != 0;

  Audio output;
  output.sampleRate = input.sampleRate;
  const size_t written = plugin.numOutputs() == 1 ? 1 : 2;
  output.channels.assign(written, std::vector<float>(totalFrames));
  const std::vector<float>& left = input.channels.at(0);
  const std::vector<float>& right = input.channels.size() > 1 ? input.channels[1] : left;

  plugin.mainsChanged(true);
  plugin.dispatch(effStartProcess);
  Progress progress("rendering", settings.showProgress ? totalFrames : 0);
  for (size_t start = 0; start < totalFrames; start += block) {
    const size_t count = std::min(block, totalFrames - start);
    for (size_t i = 0; i < count; ++i) {
      const size_t frame = start + i;
      inputBuffers[0][i] = frame < inputFrames ? left[frame] : 0.0f;
      inputBuffers[1][i] = frame < inputFrames ? right[frame] : 0.0f;
    }
    if (!replacing)
      for (auto& buffer : outputBuffers) std::fill(buffer.begin(), buffer.end(), 0.0f);
    if (replacing)
      plugin.processReplacing(inputs.data(), outputs.data(), static_cast<int32_t>(count));
    else
      plugin.process(inputs.data(), outputs.data(), static_cast<int32_t>(count));
    for (size_t channel = 0; channel < written; ++channel)
      std::copy_n(outputBuffers[channel].begin(), count, output.channels[channel].begin() +
                                                             static_cast<std::ptrdiff_t>(start));
    // A plug-in asking for the time every block would otherwise grow the call log.
    plugin.clearCalls();
    progress.update(start + count);
  }
  plugin.dispatch(effStopProcess);
  plugin.mainsChanged(false);
  return output;
}

}  // namespace cli
