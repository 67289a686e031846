#include "platform/linux/CommandLine.h"

namespace platform {

namespace {

bool IsBlank(char c) {
  return c == ' ' || c == '\t';
}

}  // namespace

std::vector<std::string> SplitCommandLine(std::string_view text) {
  std::vector<std::string> arguments;
  std::size_t i = 0;
  while (true) {
    while (i < text.size() && IsBlank(text[i])) {
      ++i;
    }
    if (i >= text.size()) {
      return arguments;
    }
    std::string argument;
    bool quoted = false;
    while (i < text.size() && (quoted || !IsBlank(text[i]))) {
      if (text[i] == '\\') {
        std::size_t backslashes = 0;
        while (i < text.size() && text[i] == '\\') {
          ++backslashes;
          ++i;
        }
        if (i < text.size() && text[i] == '"') {
          argument.append(backslashes / 2, '\\');
          if (backslashes % 2 == 1) {
            argument += '"';
            ++i;
          }
        } else {
          argument.append(backslashes, '\\');
        }
      } else if (text[i] == '"') {
        ++i;
        if (quoted && i < text.size() && text[i] == '"') {
          argument += '"';  // and the group ends, as CommandLineToArgvW does
          ++i;
          quoted = false;
        } else {
          quoted = !quoted;
        }
      } else {
        argument += text[i++];
      }
    }
    arguments.push_back(std::move(argument));
  }
}

std::pair<std::string, std::string> SplitProgram(std::string_view line) {
  std::size_t i = 0;
  while (i < line.size() && IsBlank(line[i])) {
    ++i;
  }
  std::string program;
  if (i < line.size() && line[i] == '"') {
    const std::size_t close = line.find('"', i + 1);
    const std::size_t end = close == std::string_view::npos ? line.size() : close;
    program = line.substr(i + 1, end - i - 1);
    i = close == std::string_view::npos ? line.size() : close + 1;
  } else {
    const std::size_t start = i;
    while (i < line.size() && !IsBlank(line[i])) {
      ++i;
    }
    program = line.substr(start, i - start);
  }
  while (i < line.size() && IsBlank(line[i])) {
    ++i;
  }
  return {program, std::string(line.substr(i))};
}

}  // namespace platform
