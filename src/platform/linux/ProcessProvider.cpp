#include "platform/linux/LinuxWmi.h"
#include "platform/linux/ProcFs.h"

namespace platform {

WmiProvider ProcessProvider(std::shared_ptr<Shell> shell) {
  return [shell = std::move(shell)] {
    std::vector<WmiRow> rows;
    for (const ProcessEntry& entry : shell->Processes()) {
      WmiRow row;
      row.Set("Caption", entry.imageName);
      row.Set("Name", entry.imageName);
      row.Set("ProcessId", std::to_string(entry.pid));
      row.Set("ParentProcessId", std::to_string(entry.parentPid));
      row.Set("ExecutablePath", ExecutablePathOf(entry.pid));
      rows.push_back(std::move(row));
    }
    return rows;
  };
}

}  // namespace platform
