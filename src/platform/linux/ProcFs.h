#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/Shell.h"

namespace platform {

// The processes of the machine from /proc (pid, parent pid, image name as
// linux_files::ImageName gives it). Ended processes not yet reaped and those
// that end during the walk are left out.
std::vector<ProcessEntry> ReadProcFs();

// Target of /proc/<pid>/exe; empty when it cannot be read.
std::string ExecutablePathOf(std::int64_t pid);

}  // namespace platform
