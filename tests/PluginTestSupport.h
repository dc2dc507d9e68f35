// Helpers for driving a built plug-in the way a host does.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "VstPlugin.h"

inline std::string pluginPath(const std::string& name) {
  return std::string(STELLORIA_VST_DIR) + "/" + name + ".so";
}

//! Loads build/vst/<name>.so and creates one instance; fails the test otherwise.
inline std::unique_ptr<host::VstPlugin> loadPlugin(const std::string& name,
                                                   host::VstPlugin::Answers answers = {}) {
  std::string error;
  auto plugin = host::VstPlugin::load(pluginPath(name), &error, std::move(answers));
  EXPECT_NE(plugin, nullptr) << error;
  return plugin;
}

//! Number of host calls with the given opcode.
inline int countCalls(const host::VstPlugin& plugin, int32_t opcode) {
  int count = 0;
  for (const auto& call : plugin.calls())
    if (call.opcode == opcode) ++count;
  return count;
}
