#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <variant>
#include <vector>

namespace platform {

enum class Hive { CurrentUser, LocalMachine };

// REG_SZ is a UTF-8 string, REG_DWORD an unsigned 32-bit number.
using RegistryValue = std::variant<std::string, std::uint32_t>;

// Keys and typed values. Key paths use "\" between their parts and, like
// value names, compare without regard to letter case. No call throws: a
// failure answers false or nullopt. HKEY_LOCAL_MACHINE is read-only.
class Registry {
 public:
  virtual ~Registry() = default;
  virtual bool KeyExists(Hive hive, const std::string& key) = 0;
  // Creates the key with every missing parent; true when it exists afterwards.
  virtual bool CreateKey(Hive hive, const std::string& key) = 0;
  virtual std::optional<RegistryValue> ReadValue(Hive hive, const std::string& key,
                                                 const std::string& name) = 0;
  virtual bool WriteValue(Hive hive, const std::string& key, const std::string& name,
                          const RegistryValue& value) = 0;
  virtual bool DeleteValue(Hive hive, const std::string& key, const std::string& name) = 0;
  // Value names of the key in the order they were written.
  virtual std::vector<std::string> ValueNames(Hive hive, const std::string& key) = 0;
};

}  // namespace platform
