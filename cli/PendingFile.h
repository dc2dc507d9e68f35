// An output file that appears whole or not at all: everything is written to a
// hidden temporary file beside the target and renamed over it on commit(). A
// PendingFile destroyed without commit() removes its temporary file, so an
// error anywhere leaves no partial output behind.
#pragma once

#include <string>

namespace cli {

class PendingFile {
 public:
  //! Throws CliError if the target's folder does not exist.
  explicit PendingFile(const std::string& target);
  ~PendingFile();
  PendingFile(const PendingFile&) = delete;
  PendingFile& operator=(const PendingFile&) = delete;

  //! Where to write now.
  const std::string& temporaryPath() const { return temporary; }
  const std::string& targetPath() const { return target; }
  //! Moves the temporary file onto the target; throws CliError on failure.
  void commit();

 private:
  std::string target;
  std::string temporary;
  bool committed = false;
};

//! Throws CliError unless the folder that would hold `path` exists.
void requireOutputFolder(const std::string& path);

}  // namespace cli
