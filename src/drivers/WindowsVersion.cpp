#include "drivers/WindowsVersion.h"

namespace drivers {

bool IsWindows7(std::string_view caption) {
  constexpr std::string_view kVendor = "Microsoft ";
  constexpr std::string_view kName = "Windows 7";
  if (caption.starts_with(kVendor))
    caption.remove_prefix(kVendor.size());
  return caption.starts_with(kName) &&
         (caption.size() == kName.size() || caption[kName.size()] == ' ');
}

}  // namespace drivers
