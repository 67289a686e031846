#pragma once

#include <expected>
#include <filesystem>
#include <string>
#include <string_view>

#include "sim/server/MakerServer.h"

namespace sim {

// Applies a JSON object of answers to `server`. Every member is optional:
//   "ReturnUpdate", "UpdateDbTvs": strings; "RecebeSystemLog": true or false;
//   "soapStyle": "inline" or "multiref"; "soapFaults": {"<operation>": "<message>"};
//   "geolocation", "geolocationToken": the JSON answered at "/json" without and
//   with "token"; "ignoreRanges": true or false;
//   "faults": {"<path, or prefix ending in *>": {"status", "redirect", "delayMs",
//   "bytesPerSecond", "cutAfterBytes", "chunked", "contentLength", "times"}}.
// Nothing is applied when the text is not valid; the error says why.
std::expected<void, std::string> ApplyAnswers(MakerServer& server, std::string_view json);
std::expected<void, std::string> ApplyAnswersFile(MakerServer& server,
                                                  const std::filesystem::path& path);

}  // namespace sim
