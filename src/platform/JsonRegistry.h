#pragma once

#include <QJsonObject>
#include <functional>

#include "platform/Registry.h"

namespace platform {

// The registry port over hives kept as JSON objects. A hive maps each key
// path (parts joined by "\", letter case as first created) to the array of
// its values in the order they were written:
//   {"SOFTWARE\\AssistenteSolvanta": [{"name": "ishomologacao", "type": "dword", "data": 1}],
//    "SOFTWARE\\AssistenteSolvanta\\ClientData": [{"name": "Nome", "type": "sz", "data": "Ana"}]}
// An array keeps the order, which a JSON object does not. Backends say where
// the hives live.
class JsonRegistry : public Registry {
 public:
  bool KeyExists(Hive hive, const std::string& key) override;
  bool CreateKey(Hive hive, const std::string& key) override;
  std::optional<RegistryValue> ReadValue(Hive hive, const std::string& key,
                                         const std::string& name) override;
  bool WriteValue(Hive hive, const std::string& key, const std::string& name,
                  const RegistryValue& value) override;
  bool DeleteValue(Hive hive, const std::string& key, const std::string& name) override;
  std::vector<std::string> ValueNames(Hive hive, const std::string& key) override;

 protected:
  // The hive as it is now; empty when it cannot be read.
  virtual QJsonObject LoadHive(Hive hive) = 0;
  // Read-modify-write of the hive; `change` returns false to write nothing.
  // False when the hive is read-only, `change` declines or the write fails.
  virtual bool UpdateHive(Hive hive, const std::function<bool(QJsonObject&)>& change) = 0;
};

}  // namespace platform
