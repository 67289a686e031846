#pragma once

#include <QString>
#include <expected>
#include <filesystem>

namespace sim {

class DemoWorld;

// The file name of the fake vendor tool program, installed beside the program.
inline constexpr char kFakeToolName[] = "solvanta-fake-tool";

// Lays the maker's archives into the world's served folder: the vendor tool
// archives under "solvanta/rewriter/", each holding the fake tool under the
// real tool's name (left out when `fakeTool` is empty), and the catalogue's
// firmware files under "solvanta/firmwares/", archives of small generated
// images. The archives are the same on every run.
std::expected<void, QString> WriteDemoArchives(const DemoWorld& world,
                                               const std::filesystem::path& fakeTool);

// Writes into the catalogue `catalogueFile` the MD5 of every firmware file
// the world serves, for the devices and their further parts, so the demo's
// downloads pass their integrity check. Links to other hosts keep theirs.
std::expected<void, QString> StampDemoChecksums(const DemoWorld& world,
                                                const QString& catalogueFile);

}  // namespace sim
