#include "platform/linux/LinuxEnvironment.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>

#include "platform/Wql.h"

extern char** environ;

namespace platform {

namespace {

std::string WithoutTrailingSlash(std::string path) {
  while (path.size() > 1 && path.back() == '/') {
    path.pop_back();
  }
  return path;
}

std::optional<std::string> Lookup(const std::string& name) {
  if (const char* value = std::getenv(name.c_str())) {
    return std::string(value);
  }
  for (char** entry = environ; entry && *entry; ++entry) {
    const char* equals = std::strchr(*entry, '=');
    if (equals &&
        EqualsIgnoreCase(std::string(*entry, static_cast<std::size_t>(equals - *entry)), name)) {
      return std::string(equals + 1);
    }
  }
  return std::nullopt;
}

std::optional<std::string> NonEmpty(const char* name) {
  const char* value = std::getenv(name);
  return value && *value ? std::optional<std::string>(value) : std::nullopt;
}

std::optional<std::string> HomeFolder() {
  if (auto home = NonEmpty("HOME")) {
    return home;
  }
  if (const passwd* user = ::getpwuid(::getuid()); user && user->pw_dir && *user->pw_dir) {
    return std::string(user->pw_dir);
  }
  return std::nullopt;
}

}  // namespace

std::optional<std::string> LinuxEnvironment::Variable(const std::string& name) {
  const bool isTemp = EqualsIgnoreCase(name, "temp") || EqualsIgnoreCase(name, "tmp");
  const bool isFolder = isTemp || EqualsIgnoreCase(name, "ProgramFiles");
  std::optional<std::string> value = Lookup(name);
  if (!value && isTemp) {
    value = NonEmpty("TMPDIR").value_or("/tmp");
  }
  if (!value && isFolder) {
    value = SOLVANTA_PROGRAM_FILES;
  }
  if (value && isFolder) {
    return WithoutTrailingSlash(*value);
  }
  return value;
}

std::optional<std::string> LinuxEnvironment::SpecialFolder(int csidl) {
  if (csidl == kCsidlWindows) {
    return "/usr";
  }
  if (csidl != kCsidlLocalAppData) {
    return std::nullopt;
  }
  if (auto dataHome = NonEmpty("XDG_DATA_HOME"); dataHome && dataHome->starts_with('/')) {
    return WithoutTrailingSlash(*dataHome);
  }
  if (auto home = HomeFolder()) {
    return WithoutTrailingSlash(*home) + "/.local/share";
  }
  return std::nullopt;
}

}  // namespace platform
