#pragma once

#include "platform/Environment.h"

namespace platform {

// The process environment. A name not set as written is looked for without
// regard to letter case; "temp"/"tmp" fall back to $TMPDIR or "/tmp" and
// "ProgramFiles" to the build's installation parent. CSIDL 28 is the XDG
// data home, CSIDL 36 "/usr". Folders come without a trailing "/".
class LinuxEnvironment : public Environment {
 public:
  std::optional<std::string> Variable(const std::string& name) override;
  std::optional<std::string> SpecialFolder(int csidl) override;
};

}  // namespace platform
