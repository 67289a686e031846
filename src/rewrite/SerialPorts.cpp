#include "rewrite/SerialPorts.h"

#include <algorithm>

#include "platform/Wql.h"

namespace rewrite {

TSerialPortSnapshots::TSerialPortSnapshots(std::shared_ptr<platform::Registry> registry)
    : registry_(std::move(registry)) {}

void TSerialPortSnapshots::Snapshot(std::vector<std::string>& ports) {
  if (!registry_ || !registry_->KeyExists(platform::Hive::LocalMachine, kSerialCommKey)) {
    return;
  }
  aGetValueNames = registry_->ValueNames(platform::Hive::LocalMachine, kSerialCommKey);
  for (const std::string& name : aGetValueNames) {
    const auto value = registry_->ReadValue(platform::Hive::LocalMachine, kSerialCommKey, name);
    const auto* port = value ? std::get_if<std::string>(&*value) : nullptr;
    if (port == nullptr) {
      return;  // an unreadable value ends the snapshot: it stays partial
    }
    ports.push_back(*port);
  }
}

void TSerialPortSnapshots::TakeBeforeSnapshot() {
  Snapshot(PortasAnteriores);
}

void TSerialPortSnapshots::TakeAfterSnapshot() {
  aGetValueNames.clear();
  PortasPosteriores.clear();
  Snapshot(PortasPosteriores);
}

bool TSerialPortSnapshots::FindNewPort() {
  TakeAfterSnapshot();
  if (PortasAnteriores.size() == PortasPosteriores.size()) {
    return false;
  }
  for (const std::string& port : PortasPosteriores) {
    const bool known = std::ranges::any_of(PortasAnteriores, [&](const std::string& before) {
      return platform::EqualsIgnoreCase(before, port);
    });
    if (!known) {
      PortaSpreadStrum = port;
      return true;
    }
  }
  return false;
}

}  // namespace rewrite
