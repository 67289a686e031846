#pragma once

#include "platform/JsonRegistry.h"
#include "platform/JsonStateFile.h"

namespace platform {

// HKEY_CURRENT_USER in one JSON file of the user ({"HKCU": hive}, the hive as
// JsonRegistry describes it), changed atomically under a file lock; a file
// that cannot be parsed is moved aside to "<file>.corrupt" before the next
// write, so the program goes on with an empty hive and nothing is lost.
// HKEY_LOCAL_MACHINE is read-only and built from the system's facts.
class LinuxRegistry : public JsonRegistry {
 public:
  explicit LinuxRegistry(std::string path);

  // $SOLVANTA_REGISTRY_FILE, else $XDG_CONFIG_HOME (or ~/.config) +
  // "/AssistenteSolvanta/registry.json".
  static std::string DefaultPath();

 protected:
  QJsonObject LoadHive(Hive hive) override;
  bool UpdateHive(Hive hive, const std::function<bool(QJsonObject&)>& change) override;

 private:
  JsonStateFile file_;
};

}  // namespace platform
