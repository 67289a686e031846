#pragma once

#include <array>
#include <memory>
#include <span>
#include <string>

#include "platform/Wmi.h"

namespace rewrite {

// Vendor texts looked for in the Plug and Play device identifiers, in the
// order they are tested. Matched exactly as written, letter case included.
inline constexpr std::array<const char*, 10> kSolvantaVendorIds = {
    "VID_0E8D", "VID_0BB4", "VID_1782", "VID_1f3a", "VID_2207",
    "VID_18d1", "VID_03f0", "VID_071b", "VID_10d6", "VID_05C6"};
inline constexpr std::array<const char*, 2> kSpreadtrumVendorIds = {"VID_0BB4", "VID_1782"};
inline constexpr std::array<const char*, 1> kRockchipBurnVendorIds = {"VID_2207"};

// The DeviceID of every row of "SELECT deviceid FROM Win32_PnPEntity", in row
// order, joined without a separator. A failing query gives "".
std::string IdentifierText(const std::shared_ptr<platform::Wmi>& wmi);

// True when `text` contains any of `ids` (plain, case-sensitive substring
// test, stopping at the first hit).
bool ContainsAnyId(const std::string& text, std::span<const char* const> ids);

// True when a device of the maker is attached, in any mode.
bool IsanySolvantaConnected(const std::shared_ptr<platform::Wmi>& wmi);
// True when a Spreadtrum device is attached.
bool IsSpreadsTrumconnected(const std::shared_ptr<platform::Wmi>& wmi);
// True when a Rockchip device in burn mode is attached.
bool Verify_BurnModeRockchip(const std::shared_ptr<platform::Wmi>& wmi);

}  // namespace rewrite
