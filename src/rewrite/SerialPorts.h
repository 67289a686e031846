#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/Registry.h"

namespace rewrite {

// The key of HKEY_LOCAL_MACHINE whose values map serial devices to their
// port names ("COM5").
inline constexpr char kSerialCommKey[] = "hardware\\devicemap\\serialcomm";

// The serial-port snapshots with which the Spreadtrum port search finds the
// port a device adds when it is plugged in.
class TSerialPortSnapshots {
 public:
  explicit TSerialPortSnapshots(std::shared_ptr<platform::Registry> registry);

  // The "before" snapshot: appends the current ports to PortasAnteriores.
  void TakeBeforeSnapshot();
  // The "after" snapshot: PortasPosteriores := the current ports.
  void TakeAfterSnapshot();
  // One poll: takes the "after" snapshot and looks for a port the "before"
  // snapshot lacks (letter case ignored); true with PortaSpreadStrum set when
  // one is found. A port that vanished with none added is no new port.
  bool FindNewPort();

  std::vector<std::string> PortasAnteriores;
  std::vector<std::string> PortasPosteriores;
  std::vector<std::string> aGetValueNames;
  std::string PortaSpreadStrum;

 private:
  // Appends the string data of every value of the serial-port key to
  // `ports`, in value order; stops at the first value that is not a string.
  void Snapshot(std::vector<std::string>& ports);

  std::shared_ptr<platform::Registry> registry_;
};

}  // namespace rewrite
