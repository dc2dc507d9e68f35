// One plug-in instance as stelloria drives it: examined first in a child
// process, then loaded, opened and told the sample rate and block size the
// way a DAW does, with parameters reachable by name or index. Owns the
// instance; closes it when destroyed.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "VstPlugin.h"

namespace cli {

class PluginSession {
 public:
  //! Resolves `argument` (path or name), examines and loads the plug-in; throws CliError.
  explicit PluginSession(const std::string& argument);

  host::VstPlugin& plugin() { return *instance; }
  const std::string& path() const { return pluginPath; }
  //! The effect name, or the file name when the plug-in gives none.
  const std::string& name() const { return displayName; }

  //! effSetSampleRate and effSetBlockSize, also answering the host queries for them.
  void prepare(double sampleRate, int32_t blockFrames);

  //! Index of a parameter given by name (case and surrounding blanks ignored) or
  //! by index; throws CliError listing the valid names.
  int32_t findParameter(const std::string& key);
  //! Applies "NAME=VALUE" settings in order, printing each changed parameter's
  //! display text to standard output; warns on standard error outside 0..1.
  void applySettings(const std::vector<std::string>& settings);
  //! Selects program `text` (an index), or throws CliError.
  void selectProgram(const std::string& text);

  //! "Name = display label" for one parameter.
  std::string describeParameter(int32_t index);

 private:
  std::string pluginPath;
  std::string displayName;
  std::unique_ptr<host::VstPlugin> instance;
};

//! Without surrounding blanks.
std::string trimmed(const std::string& text);
//! Lower case, without surrounding blanks: how parameter names are compared.
std::string normaliseName(const std::string& text);

}  // namespace cli
