#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace platform {

// Splits a parameter text into arguments with the Windows command-line rules:
// blanks and tabs separate, double quotes group, 2n backslashes before a quote
// give n backslashes and the quote toggles grouping, 2n+1 give n backslashes
// and a literal quote, other backslashes are literal; inside a group two
// quotes give a literal quote and end the group.
std::vector<std::string> SplitCommandLine(std::string_view parameters);

// Splits a command line into its program (the first token, quoted or not,
// quotes removed) and the rest as one parameter text.
std::pair<std::string, std::string> SplitProgram(std::string_view line);

}  // namespace platform
