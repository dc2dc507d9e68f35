#include "PluginSession.h"

#include <algorithm>
#include <cctype>
#include <cfenv>
#include <cstdio>
#include <filesystem>

#include "Arguments.h"
#include "CliError.h"
#include "PluginProbe.h"
#include "PluginSearch.h"

namespace cli {

std::string trimmed(const std::string& text) {
  size_t start = 0;
  size_t end = text.size();
  while (start < end && std::isspace(static_cast<unsigned char>(text[start]))) ++start;
  while (end > start && std::isspace(static_cast<unsigned char>(text[end - 1]))) --end;
  return text.substr(start, end - start);
}

std::string normaliseName(const std::string& text) {
  std::string name = trimmed(text);
  std::transform(name.begin(), name.end(), name.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return name;
}

PluginSession::PluginSession(const std::string& argument) : pluginPath(resolvePlugin(argument)) {
  requireSafePlugin(pluginPath);
  std::fenv_t environment;
  std::fegetenv(&environment);
  std::string error;
  instance = host::VstPlugin::load(pluginPath, &error);
  // Some plug-ins change rounding or denormal modes while loading; the host's stay ours.
  std::fesetenv(&environment);
  if (!instance) throw CliError(error);
  instance->open();
  displayName = instance->effectName();
  if (displayName.empty()) displayName = std::filesystem::path(pluginPath).stem().string();
}

void PluginSession::prepare(double sampleRate, int32_t blockFrames) {
  instance->setAnswer(audioMasterGetSampleRate, static_cast<intptr_t>(sampleRate));
  instance->setAnswer(audioMasterGetBlockSize, blockFrames);
  instance->setSampleRate(static_cast<float>(sampleRate));
  instance->setBlockSize(blockFrames);
}

int32_t PluginSession::findParameter(const std::string& key) {
  const std::string wanted = normaliseName(key);
  for (int32_t i = 0; i < instance->numParams(); ++i)
    if (normaliseName(instance->paramName(i)) == wanted) return i;
  const bool numeric = !wanted.empty() && std::all_of(wanted.begin(), wanted.end(), [](char c) {
    return std::isdigit(static_cast<unsigned char>(c));
  });
  if (numeric && wanted.size() < 9 && std::stol(wanted) < instance->numParams())
    return static_cast<int32_t>(std::stol(wanted));

  std::string valid;
  for (int32_t i = 0; i < instance->numParams(); ++i)
    valid += (i ? ", " : "") + std::string("'") + normaliseName(instance->paramName(i)) + "'";
  if (valid.empty())
    throw CliError("--set " + key + ": " + displayName + " has no parameters");
  throw CliError("--set " + key + ": " + displayName + " has no parameter '" + wanted +
                     "'; valid names: " + valid + " (or an index 0.." +
                     std::to_string(instance->numParams() - 1) + ")",
                 true);
}

void PluginSession::applySettings(const std::vector<std::string>& settings) {
  // All are checked before any is applied, so a typo in the last changes nothing.
  std::vector<std::pair<int32_t, float>> changes;
  for (const std::string& setting : settings) {
    const size_t equals = setting.find('=');
    if (equals == std::string::npos)
      throw CliError("--set " + setting + ": expected NAME=VALUE", true);
    const int32_t index = findParameter(setting.substr(0, equals));
    const double value = parseNumber(setting.substr(equals + 1), "--set " + setting);
    changes.emplace_back(index, static_cast<float>(value));
  }
  for (const auto& [index, value] : changes) {
    if (value < 0.0f || value > 1.0f)
      std::fprintf(stderr, "stelloria: warning: %s = %g is outside the normalised range 0..1\n",
                   instance->paramName(index).c_str(), static_cast<double>(value));
    instance->setParameter(index, value);
    std::printf("  %s\n", describeParameter(index).c_str());
  }
}

void PluginSession::selectProgram(const std::string& text) {
  if (instance->numPrograms() < 1) throw CliError("--program: " + displayName + " has no programs");
  const long program = parseInteger(text, "--program", 0, instance->numPrograms() - 1);
  instance->setProgram(program);
}

std::string PluginSession::describeParameter(int32_t index) {
  std::string text =
      trimmed(instance->paramName(index)) + " = " + trimmed(instance->paramDisplay(index));
  const std::string label = trimmed(instance->paramLabel(index));
  if (!label.empty()) text += " " + label;
  char value[32];
  std::snprintf(value, sizeof value, " (%g)", static_cast<double>(instance->getParameter(index)));
  return text + value;
}

}  // namespace cli
