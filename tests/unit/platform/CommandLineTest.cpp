#include <gtest/gtest.h>

#include "platform/linux/CommandLine.h"

namespace platform {
namespace {

using Arguments = std::vector<std::string>;

TEST(SplitCommandLine, FollowsTheWindowsQuotingAndBackslashRules) {
  const struct {
    std::string text;
    Arguments expected;
  } cases[] = {
      {"", {}},
      {"   \t ", {}},
      {"/T /F /IM CmdDloader.exe", {"/T", "/F", "/IM", "CmdDloader.exe"}},
      {R"("abc" d e)", {"abc", "d", "e"}},
      {R"(a\\b d"e f"g h)", {R"(a\\b)", "de fg", "h"}},
      {R"(a\\\"b c d)", {R"(a\"b)", "c", "d"}},
      {R"(a\\\\"b c" d e)", {R"(a\\b c)", "d", "e"}},
      {R"(-a "C:\Program Files\x.inf")", {"-a", R"(C:\Program Files\x.inf)"}},
      {R"("" x)", {"", "x"}},
      {R"("a""b c")", {"a\"b", "c"}},
      {R"("unterminated group)", {"unterminated group"}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(SplitCommandLine(c.text), c.expected) << c.text;
  }
}

TEST(SplitProgram, SeparatesAQuotedOrBareProgramFromItsParameters) {
  const struct {
    std::string line;
    std::string program;
    std::string rest;
  } cases[] = {
      {R"(  "C:\dir with blank\flash_tool.exe" -b -d "x y")", R"(C:\dir with blank\flash_tool.exe)",
       R"(-b -d "x y")"},
      {"pnputil.exe -a x.inf", "pnputil.exe", "-a x.inf"},
      {"alone", "alone", ""},
      {R"("open quote)", "open quote", ""},
  };
  for (const auto& c : cases) {
    const auto [program, rest] = SplitProgram(c.line);
    EXPECT_EQ(program, c.program) << c.line;
    EXPECT_EQ(rest, c.rest) << c.line;
  }
}

}  // namespace
}  // namespace platform
