#include "PendingFile.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "CliError.h"

namespace cli {
namespace {

std::string folderOf(const std::string& path) {
  const size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

}  // namespace

void requireOutputFolder(const std::string& path) {
  const std::string folder = folderOf(path);
  struct stat info {};
  if (stat(folder.c_str(), &info) != 0 || !S_ISDIR(info.st_mode))
    throw CliError(path + ": folder '" + folder + "' does not exist");
}

PendingFile::PendingFile(const std::string& target) : target(target) {
  requireOutputFolder(target);
  const size_t slash = target.rfind('/');
  const std::string folder = slash == std::string::npos ? "" : target.substr(0, slash + 1);
  const std::string name = slash == std::string::npos ? target : target.substr(slash + 1);
  temporary = folder + "." + name + ".partial-" + std::to_string(getpid());
}

PendingFile::~PendingFile() {
  if (!committed) std::remove(temporary.c_str());
}

void PendingFile::commit() {
  if (std::rename(temporary.c_str(), target.c_str()) != 0)
    throw CliError(target + ": cannot write: " + std::strerror(errno));
  committed = true;
}

}  // namespace cli
