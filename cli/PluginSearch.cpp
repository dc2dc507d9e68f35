#include "PluginSearch.h"

#include <strings.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <set>
#include <system_error>

#include "CliError.h"
#include "PluginProbe.h"

namespace fs = std::filesystem;

namespace cli {
namespace {

std::string executableFolder() {
  std::error_code error;
  const fs::path self = fs::read_symlink("/proc/self/exe", error);
  return error ? std::string() : self.parent_path().string();
}

bool isSharedObject(const fs::path& path) {
  std::error_code error;
  return strcasecmp(path.extension().c_str(), ".so") == 0 && fs::is_regular_file(path, error);
}

}  // namespace

std::vector<std::string> searchDirectories() {
  std::vector<std::string> folders;
  if (const char* vstPath = std::getenv("VST_PATH"); vstPath != nullptr && *vstPath != '\0') {
    std::string list = vstPath;
    size_t start = 0;
    while (start <= list.size()) {
      const size_t colon = list.find(':', start);
      const std::string folder = list.substr(start, colon == std::string::npos ? colon : colon - start);
      if (!folder.empty()) folders.push_back(folder);
      if (colon == std::string::npos) break;
      start = colon + 1;
    }
    return folders;
  }
  if (const char* home = std::getenv("HOME"); home != nullptr) {
    folders.push_back(std::string(home) + "/.vst");
    folders.push_back(std::string(home) + "/.lxvst");
  }
  folders.insert(folders.end(), {"/usr/local/lib/vst", "/usr/lib/vst", "/usr/lib/lxvst"});
  folders.push_back(STELLORIA_BUILD_VST_DIR);
  // build/bin/stelloria beside build/vst; <prefix>/bin/stelloria beside <prefix>/lib/vst.
  const std::string here = executableFolder();
  if (!here.empty()) {
    folders.push_back(here + "/../vst");
    folders.push_back(here + "/../lib/vst");
  }
  return folders;
}

std::vector<std::string> findPluginFiles() {
  std::vector<std::string> files;
  std::set<std::string> seen;
  auto add = [&](const fs::path& path) {
    std::error_code error;
    const fs::path real = fs::canonical(path, error);
    if (!error && isSharedObject(path) && seen.insert(real.string()).second)
      files.push_back(path.lexically_normal().string());
  };
  for (const std::string& folder : searchDirectories()) {
    std::error_code error;
    if (!fs::is_directory(folder, error)) continue;
    std::vector<fs::path> entries;
    for (const auto& entry : fs::directory_iterator(folder, error)) entries.push_back(entry.path());
    std::sort(entries.begin(), entries.end());
    for (const fs::path& entry : entries) {
      if (fs::is_directory(entry, error)) {
        std::vector<fs::path> inner;
        for (const auto& sub : fs::directory_iterator(entry, error)) inner.push_back(sub.path());
        std::sort(inner.begin(), inner.end());
        for (const fs::path& path : inner) add(path);
      } else {
        add(entry);
      }
    }
  }
  return files;
}

std::string resolvePlugin(const std::string& argument) {
  std::error_code error;
  if (argument.find('/') != std::string::npos || fs::exists(argument, error)) {
    if (!fs::exists(argument, error)) throw CliError(argument + ": no such plug-in file");
    if (fs::is_directory(argument, error)) throw CliError(argument + ": is a folder, not a plug-in");
    return argument;
  }
  const std::vector<std::string> files = findPluginFiles();
  for (const std::string& file : files) {
    const fs::path path(file);
    if (strcasecmp(path.stem().c_str(), argument.c_str()) == 0 ||
        strcasecmp(path.filename().c_str(), argument.c_str()) == 0)
      return file;
  }
  for (const std::string& file : files) {
    const ProbeResult probe = probePlugin(file, 5.0);
    if (probe.ok && strcasecmp(probe.summary.effectName.c_str(), argument.c_str()) == 0)
      return file;
  }
  throw CliError(argument + ": no plug-in of that name on the search path (see stelloria list)");
}

}  // namespace cli
