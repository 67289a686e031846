#include "platform/linux/ProcFs.h"

#include <filesystem>
#include <fstream>
#include <sstream>
#include <system_error>

#include "platform/linux/SystemFiles.h"

namespace platform {

namespace {

std::optional<std::string> ReadWhole(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    return std::nullopt;
  }
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

}  // namespace

std::vector<ProcessEntry> ReadProcFs() {
  std::vector<ProcessEntry> entries;
  std::error_code error;
  for (const auto& dir : std::filesystem::directory_iterator("/proc", error)) {
    const std::string name = dir.path().filename().string();
    if (name.empty() || name.find_first_not_of("0123456789") != std::string::npos) {
      continue;
    }
    const auto stat = ReadWhole(dir.path() / "stat");
    const auto fields = stat ? linux_files::ParseStat(*stat) : std::nullopt;
    if (!fields || fields->state == 'Z' || fields->state == 'X') {
      continue;  // gone, or ended and only waiting to be reaped
    }
    const std::string cmdline = ReadWhole(dir.path() / "cmdline").value_or("");
    const std::string comm = ReadWhole(dir.path() / "comm").value_or("");
    entries.push_back({std::stoll(name), fields->parentPid, linux_files::ImageName(cmdline, comm)});
  }
  return entries;
}

std::string ExecutablePathOf(std::int64_t pid) {
  std::error_code error;
  const auto target = std::filesystem::read_symlink("/proc/" + std::to_string(pid) + "/exe", error);
  return error ? std::string() : target.string();
}

}  // namespace platform
