#include "platform/linux/SystemFiles.h"

#include <QByteArray>
#include <QCryptographicHash>
#include <cctype>
#include <charconv>

namespace platform::linux_files {

namespace {

std::string_view Trim(std::string_view text) {
  while (!text.empty() && std::isspace(static_cast<unsigned char>(text.front()))) {
    text.remove_prefix(1);
  }
  while (!text.empty() && std::isspace(static_cast<unsigned char>(text.back()))) {
    text.remove_suffix(1);
  }
  return text;
}

// Calls `line` for every line of `text` until it returns true.
template <typename F>
void ForEachLine(std::string_view text, F line) {
  while (!text.empty()) {
    const std::size_t end = text.find('\n');
    if (line(text.substr(0, end))) {
      return;
    }
    text = end == std::string_view::npos ? std::string_view{} : text.substr(end + 1);
  }
}

}  // namespace

std::string OsPrettyName(std::string_view osRelease) {
  std::string result;
  ForEachLine(osRelease, [&](std::string_view line) {
    line = Trim(line);
    constexpr std::string_view kKey = "PRETTY_NAME=";
    if (!line.starts_with(kKey)) {
      return false;
    }
    std::string_view value = line.substr(kKey.size());
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front()) {
      value = value.substr(1, value.size() - 2);
    }
    // Shell-style escapes inside double quotes: \" \\ \$ \`.
    for (std::size_t i = 0; i < value.size(); ++i) {
      if (value[i] == '\\' && i + 1 < value.size()) {
        ++i;
      }
      result += value[i];
    }
    return true;
  });
  return result;
}

std::string CpuModelName(std::string_view cpuinfo) {
  std::string result;
  ForEachLine(cpuinfo, [&](std::string_view line) {
    const std::size_t colon = line.find(':');
    if (colon == std::string_view::npos || Trim(line.substr(0, colon)) != "model name") {
      return false;
    }
    result = Trim(line.substr(colon + 1));
    return true;
  });
  return result;
}

std::string SerialFromMachineId(std::string_view machineId) {
  const std::string_view id = Trim(machineId);
  if (id.empty()) {
    return {};
  }
  const QByteArray digest =
      QCryptographicHash::hash(QByteArray("AssistenteSolvanta:") +
                                   QByteArray(id.data(), static_cast<qsizetype>(id.size())),
                               QCryptographicHash::Sha256)
          .toHex()
          .toUpper();
  std::string serial;
  for (int group = 0; group < 4; ++group) {
    if (group > 0) {
      serial += '-';
    }
    serial += digest.mid(group * 5, 5).toStdString();
  }
  return serial;
}

std::optional<StatFields> ParseStat(std::string_view stat) {
  // "pid (comm) state ppid ...": comm may hold blanks and parentheses, so
  // the fields start after the last ")".
  const std::size_t close = stat.rfind(')');
  if (close == std::string_view::npos) {
    return std::nullopt;
  }
  std::string_view rest = Trim(stat.substr(close + 1));
  const std::size_t blank = rest.find(' ');
  if (blank != 1) {
    return std::nullopt;
  }
  StatFields fields;
  fields.state = rest.front();
  rest = Trim(rest.substr(blank + 1));
  const auto [end, error] =
      std::from_chars(rest.data(), rest.data() + rest.size(), fields.parentPid);
  if (error != std::errc{} || end == rest.data()) {
    return std::nullopt;
  }
  return fields;
}

std::string FileNamePart(std::string_view path) {
  const std::size_t slash = path.find_last_of("/\\");
  return std::string(slash == std::string_view::npos ? path : path.substr(slash + 1));
}

std::string ImageName(std::string_view cmdline, std::string_view comm) {
  comm = Trim(comm);
  const std::size_t firstEnd = cmdline.find('\0');
  const std::string argv0 = FileNamePart(cmdline.substr(0, firstEnd));
  if (argv0.empty()) {
    return std::string(comm);
  }
  if (!argv0.starts_with(comm) && firstEnd != std::string_view::npos) {
    const std::string_view rest = cmdline.substr(firstEnd + 1);
    const std::string argv1 = FileNamePart(rest.substr(0, rest.find('\0')));
    if (!comm.empty() && argv1.starts_with(comm)) {
      return argv1;
    }
  }
  return argv0;
}

}  // namespace platform::linux_files
