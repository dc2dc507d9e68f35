#include "Arguments.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>

#include "CliError.h"

namespace cli {

Arguments::Arguments(const std::vector<std::string>& args,
                     const std::vector<KnownOption>& options) {
  bool optionsEnded = false;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (optionsEnded || arg.size() < 3 || arg.compare(0, 2, "--") != 0) {
      if (arg == "--")
        optionsEnded = true;
      else
        positional.push_back(arg);
      continue;
    }
    if (arg == "--help") {
      help = true;
      continue;
    }
    const size_t equals = arg.find('=');
    const std::string name = arg.substr(2, equals == std::string::npos ? std::string::npos
                                                                       : equals - 2);
    const KnownOption* known = nullptr;
    for (const KnownOption& option : options)
      if (option.name == name) known = &option;
    if (known == nullptr) throw CliError("unknown option --" + name, true);
    if (!known->takesValue) {
      if (equals != std::string::npos) throw CliError("--" + name + " takes no value", true);
      values[name].push_back("");
    } else if (equals != std::string::npos) {
      values[name].push_back(arg.substr(equals + 1));
    } else {
      if (i + 1 >= args.size()) throw CliError("--" + name + " needs a value", true);
      values[name].push_back(args[++i]);
    }
  }
}

std::string Arguments::value(const std::string& name, const std::string& fallback) const {
  const auto found = values.find(name);
  return found == values.end() ? fallback : found->second.back();
}

std::vector<std::string> Arguments::all(const std::string& name) const {
  const auto found = values.find(name);
  return found == values.end() ? std::vector<std::string>{} : found->second;
}

double parseNumber(const std::string& text, const std::string& what) {
  errno = 0;
  char* end = nullptr;
  const double number = std::strtod(text.c_str(), &end);
  // strtod accepts leading blanks but we also want trailing ones forgiven.
  while (end != nullptr && (*end == ' ' || *end == '\t')) ++end;
  if (text.empty() || end == text.c_str() || *end != '\0' || errno == ERANGE ||
      !std::isfinite(number))
    throw CliError(what + ": '" + text + "' is not a number", true);
  return number;
}

long parseInteger(const std::string& text, const std::string& what, long low, long high) {
  errno = 0;
  char* end = nullptr;
  const long number = std::strtol(text.c_str(), &end, 10);
  if (text.empty() || *end != '\0' || errno == ERANGE)
    throw CliError(what + ": '" + text + "' is not a whole number", true);
  if (number < low || number > high)
    throw CliError(what + ": " + text + " is outside " + std::to_string(low) + ".." +
                       std::to_string(high),
                   true);
  return number;
}

}  // namespace cli
