#include "platform/linux/Builtins.h"

#include <fstream>
#include <sstream>

#include "platform/Wql.h"
#include "platform/linux/CommandLine.h"

namespace platform {

namespace {

constexpr std::uint32_t kCommandNotFound = 9009;

std::vector<std::string> SplitLines(const std::string& text) {
  std::vector<std::string> lines;
  std::string line;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r' || text[i] == '\n') {
      if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
        ++i;
      }
      lines.push_back(std::move(line));
      line.clear();
    } else {
      line += text[i];
    }
  }
  if (!line.empty()) {
    lines.push_back(std::move(line));
  }
  return lines;
}

std::string Trim(const std::string& text) {
  const std::size_t start = text.find_first_not_of(" \t");
  if (start == std::string::npos) {
    return {};
  }
  return text.substr(start, text.find_last_not_of(" \t") - start + 1);
}

// "echo", "echo." and "echo text" but not "echoes".
bool IsCommand(const std::string& line, const std::string& word) {
  if (line.size() < word.size() || !EqualsIgnoreCase(line.substr(0, word.size()), word)) {
    return false;
  }
  return line.size() == word.size() || line[word.size()] == ' ' || line[word.size()] == '\t' ||
         line[word.size()] == '.';
}

bool IsSkipped(const std::string& line) {
  return line.empty() || line.starts_with("::") || IsCommand(line, "echo") ||
         IsCommand(line, "rem");
}

}  // namespace

std::uint32_t RunBatchFile(BuiltinContext& context, const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    context.Output("O arquivo em lotes não pôde ser lido: " + path + "\r\n");
    return 1;
  }
  std::ostringstream text;
  text << in.rdbuf();
  std::uint32_t exitCode = 0;
  for (const std::string& raw : SplitLines(text.str())) {
    if (context.Killed()) {
      break;
    }
    std::string line = Trim(raw);
    if (line.starts_with('@')) {
      line = Trim(line.substr(1));
    }
    if (IsSkipped(line)) {
      continue;
    }
    auto [program, parameters] = SplitProgram(line);
    StartRequest request;
    request.file = std::move(program);
    request.parameters = std::move(parameters);
    request.workingDir = context.WorkingDir();
    request.hide = context.Hidden();
    request.captureOutput = true;
    const auto code = context.RunChild(request);
    if (!code) {
      context.Output("'" + request.file +
                     "' não é reconhecido como um comando interno\r\n"
                     "ou externo, um programa operável ou um arquivo em lotes.\r\n");
    }
    exitCode = code.value_or(kCommandNotFound);
  }
  return exitCode;
}

std::uint32_t Taskkill(BuiltinContext& context) {
  const std::vector<std::string>& arguments = context.Arguments();
  std::vector<std::string> names;
  bool tree = false;
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    const std::string& flag = arguments[i];
    if (EqualsIgnoreCase(flag, "/T")) {
      tree = true;
    } else if (EqualsIgnoreCase(flag, "/F")) {
      // Every kill is forced.
    } else if (EqualsIgnoreCase(flag, "/IM") && i + 1 < arguments.size()) {
      names.push_back(arguments[++i]);
    } else {
      context.Output("ERRO: argumento ou opção inválida - '" + flag + "'.\r\n");
      return 1;
    }
  }
  if (names.empty()) {
    context.Output("ERRO: sintaxe inválida. Nenhum processo foi indicado com /IM.\r\n");
    return 1;
  }
  bool anyKilled = false;
  for (const std::string& name : names) {
    const int killed = context.Through().KillByImageName(name, tree);
    if (killed > 0) {
      anyKilled = true;
      context.Output("ÊXITO: " + std::to_string(killed) + " processo(s) \"" + name +
                     "\" finalizado(s).\r\n");
    } else {
      context.Output("ERRO: o processo \"" + name + "\" não foi encontrado.\r\n");
    }
  }
  return anyKilled ? 0 : 128;
}

}  // namespace platform
