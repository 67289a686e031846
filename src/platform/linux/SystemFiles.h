#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// Parsers of the system files the Linux backend reads, kept apart from the
// reads so they run on captured text.
namespace platform::linux_files {

// PRETTY_NAME of an os-release text, unquoted; empty when absent.
std::string OsPrettyName(std::string_view osRelease);

// The first "model name" of a /proc/cpuinfo text; empty when absent.
std::string CpuModelName(std::string_view cpuinfo);

// Four groups of five upper-case characters joined by "-", derived from the
// machine id (a hash of it, so the id itself is not disclosed); empty when
// the text holds no id.
std::string SerialFromMachineId(std::string_view machineId);

struct StatFields {
  char state = '?';  // 'R', 'S', 'Z' (ended, not yet reaped), ...
  std::int64_t parentPid = 0;
};

// State and parent pid from a /proc/<pid>/stat text; nullopt when malformed.
std::optional<StatFields> ParseStat(std::string_view stat);

// Image name of a process: the file name of argv[0] of its NUL-separated
// /proc/<pid>/cmdline. A script's argv[0] is its interpreter; when argv[0]
// does not match the kernel's `comm` but argv[1] does, the script's name is
// taken. `comm` alone when the command line is empty (kernel threads).
std::string ImageName(std::string_view cmdline, std::string_view comm);

// The part after the last "/" or "\".
std::string FileNamePart(std::string_view path);

}  // namespace platform::linux_files
