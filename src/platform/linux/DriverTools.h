#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "platform/linux/LinuxShell.h"

namespace platform {

// Exit codes of the driver tools besides 0 (success).
inline constexpr std::uint32_t kDriverFileNotFound = 2;
inline constexpr std::uint32_t kDriverBadCommandLine = 87;

// "pnputil.exe -a <file>" (or "/add-driver <file>", "/install" allowed): the
// driver file, taken from the working folder when relative; nullopt for a
// command line the tool does not understand.
std::optional<std::string> PnputilDriverFile(const BuiltinContext& context);

// Runs "pnputil.exe": checks the command line and that the file exists,
// then hands the file to `add`. Prints what it did.
std::uint32_t Pnputil(BuiltinContext& context, const std::function<void(const std::string&)>& add);

// Serves "pnputil.exe", "dpinst.exe" and "dpinst64.exe". The USB serial
// drivers are part of Linux, so the tools change nothing and report success.
void RegisterLinuxDriverTools(LinuxShell& shell);

}  // namespace platform
