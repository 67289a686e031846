#pragma once

#include <QString>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "platform/Wmi.h"

// The facts of the PC the program runs on, as the main window and the log
// show them.
namespace report {

struct MachineInfo {
  QString InfoCpu, InfoMemoria, InfoMemoriaFree, InfoDiscoCapacidade, InfoDiscoFree;
  QString InfoIp, InfoCidade, InfoEstado;
};

// The access token of the geolocation service, sent on the second try.
inline constexpr const char* kGeoToken = "7c41e9a05bd2f3";
inline constexpr long kGeoTimeoutMs = 8000;

// numerator / denominator rounded to the nearest whole number, halves to the
// even neighbour (8191.5 gives 8192, 8190.5 gives 8190); both positive or
// numerator 0.
std::int64_t RoundHalfEven(std::int64_t numerator, std::int64_t denominator);

// The four blocks of the gathering, each on a WMI connection of its own (the
// address lookup over HTTP). A block that fails leaves its fields as they were.
void ReadProcessor(const std::shared_ptr<platform::Wmi>& wmi, MachineInfo& info);
void ReadMemory(const std::shared_ptr<platform::Wmi>& wmi, MachineInfo& info);
void ReadDriveC(const std::shared_ptr<platform::Wmi>& wmi, MachineInfo& info);
// GET `geoBaseUrl` + "/json", once more with "?token=" when the first answer
// fails or lacks a member; the three fields empty when both fail.
void ReadPublicAddress(const std::string& geoBaseUrl, MachineInfo& info);

void GatherMachineInfo(const std::shared_ptr<platform::Wmi>& wmi, const std::string& geoBaseUrl,
                       MachineInfo& info);

struct PublicAddress {
  QString ip, city, region;
};
// The string members "ip", "city" and "region" of a JSON object in UTF-8;
// nullopt when the text is no such object.
std::optional<PublicAddress> ParsePublicAddress(const std::string& json);

// Whole seconds from the tick count `since` to `now`, the difference taken
// modulo 2^32 so that a wrap of the counter in between still counts right.
std::uint32_t ElapsedSeconds(std::uint32_t now, std::uint32_t since);

}  // namespace report
