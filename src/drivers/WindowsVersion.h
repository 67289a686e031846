#pragma once

#include <string_view>

namespace drivers {

// Whether the operating system caption (as "Microsoft Windows 7 Professional")
// names Windows 7: the version name "Windows 7", whatever the edition.
bool IsWindows7(std::string_view caption);

}  // namespace drivers
