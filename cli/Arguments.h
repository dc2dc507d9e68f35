// A command's arguments: positionals, options with or without a value
// ("--block 512" or "--block=512"), repeatable options, and "--help".
// Deliberately small: every command declares its options up front, so an
// unknown or incomplete option fails before any work starts.
#pragma once

#include <map>
#include <string>
#include <vector>

namespace cli {

struct KnownOption {
  std::string name;  // without the leading "--"
  bool takesValue;
};

class Arguments {
 public:
  //! Throws CliError (usage) for an unknown option or a missing value.
  Arguments(const std::vector<std::string>& args, const std::vector<KnownOption>& options);

  bool helpRequested() const { return help; }
  bool has(const std::string& name) const { return values.count(name) != 0; }
  //! The last value given for the option, or `fallback`.
  std::string value(const std::string& name, const std::string& fallback = "") const;
  //! Every value given for a repeatable option, in command-line order.
  std::vector<std::string> all(const std::string& name) const;
  const std::vector<std::string>& positionals() const { return positional; }

 private:
  bool help = false;
  std::map<std::string, std::vector<std::string>> values;
  std::vector<std::string> positional;
};

//! The whole text as a number, or CliError naming `what`.
double parseNumber(const std::string& text, const std::string& what);
//! The whole text as an integer in [low, high], or CliError naming `what`.
long parseInteger(const std::string& text, const std::string& what, long low, long high);

}  // namespace cli
