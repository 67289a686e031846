#pragma once

#include <optional>
#include <string>

namespace platform {

// Shell folder identifiers (CSIDL) the program asks for.
inline constexpr int kCsidlLocalAppData = 28;
inline constexpr int kCsidlWindows = 36;

// Environment variables of the running user and the shell's special folders.
class Environment {
 public:
  virtual ~Environment() = default;
  // Variable names are compared without regard to letter case.
  virtual std::optional<std::string> Variable(const std::string& name) = 0;
  // The folder's path without a trailing separator; nullopt when unknown.
  virtual std::optional<std::string> SpecialFolder(int csidl) = 0;
};

}  // namespace platform
