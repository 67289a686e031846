#pragma once

#include <cstdint>
#include <string>

#include "platform/linux/LinuxShell.h"

namespace platform {

// The batch interpreter: one command per line, run one after the other in the
// batch's folder through the context's shell. Empty lines, "@echo off",
// "echo ...", "rem ..." and "::" lines are skipped, a leading "@" is dropped.
// The exit code is the last command's; a command that cannot start gives 9009
// and the batch goes on. Lines end at CR LF, LF or CR.
std::uint32_t RunBatchFile(BuiltinContext& context, const std::string& path);

// "taskkill.exe": /IM name (more than once allowed), /T with the process
// tree, /F accepted (every kill is forced); flags in any order and case. Exit
// code 0 when something was killed, 128 when no process matched, 1 for a
// command line it does not understand.
std::uint32_t Taskkill(BuiltinContext& context);

}  // namespace platform
