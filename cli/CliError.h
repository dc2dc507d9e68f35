// The one kind of failure a command reports: a line for standard error that
// names the file or argument and what is wrong. Thrown anywhere below a
// command, caught once in main, so no command half-handles an error.
#pragma once

#include <stdexcept>
#include <string>

namespace cli {

class CliError : public std::runtime_error {
 public:
  //! `usage` marks a mistake in the command line itself (exit status 2, not 1).
  explicit CliError(const std::string& message, bool usage = false)
      : std::runtime_error(message), usageMistake(usage) {}
  bool isUsage() const { return usageMistake; }

 private:
  bool usageMistake;
};

}  // namespace cli
