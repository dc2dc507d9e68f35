// Each deliverable exports exactly one symbol, `main`: nothing of the
// framework, the C++ runtime or STK may leak into a host's symbol space.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "Deliverables.h"
#include "PluginTestSupport.h"

namespace {

std::vector<std::string> definedDynamicSymbols(const std::string& path) {
  std::vector<std::string> symbols;
  const std::string command = "nm -D --defined-only --format=just-symbols '" + path + "' 2>&1";
  FILE* pipe = popen(command.c_str(), "r");
  if (pipe == nullptr) return symbols;
  char line[512];
  while (std::fgets(line, sizeof line, pipe) != nullptr) {
    std::string symbol(line);
    while (!symbol.empty() && (symbol.back() == '\n' || symbol.back() == '\r')) symbol.pop_back();
    if (!symbol.empty()) symbols.push_back(symbol);
  }
  pclose(pipe);
  return symbols;
}

class ExportTest : public ::testing::TestWithParam<const char*> {};

TEST_P(ExportTest, OnlyMainIsExported) {
  EXPECT_EQ(definedDynamicSymbols(pluginPath(GetParam())), std::vector<std::string>{"main"});
}

// The four deliverables of the suite must all be built.
TEST(Deliverables, AllFourAreBuilt) {
  const std::vector<std::string> built = {STELLORIA_DELIVERABLES};
  EXPECT_EQ(built, (std::vector<std::string>{"Lindle", "Ombrel", "Quorra", "Tessik"}));
}

INSTANTIATE_TEST_SUITE_P(Deliverables, ExportTest,
                         ::testing::Values(STELLORIA_DELIVERABLES));

}  // namespace
