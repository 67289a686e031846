#pragma once

#include <cstdint>
#include <expected>
#include <filesystem>
#include <string>
#include <vector>

// Writers of the archive formats the program reads, for the demo world's
// served files and for the tests' fixtures. Entry names are written exactly
// as given, so hostile names ("../x", "/x") can be made on purpose.
namespace sim {

struct ArchiveFile {
  std::string name;
  std::string contents;  // the data; a link's target for a symbolic link
  bool directory = false;
  bool executable = false;
  bool symlink = false;
};

// A ZIP archive (deflate) written with libarchive.
std::expected<void, std::string> WriteZip(const std::filesystem::path& file,
                                          const std::vector<ArchiveFile>& entries);

// A RAR 4 archive of stored ("store" method) entries made by a Unix host.
// With `volumeDataSize` 0 it is one file; otherwise the entries' data are cut
// into volumes holding at most that many data bytes each, an entry split over
// volumes as the format splits it. Volumes are named "x.part1.rar",
// "x.part2.rar"... (`first` is the first one's name) or, without
// `newNumbering`, "x.rar", "x.r00", "x.r01"... Returns the volumes' paths.
std::expected<std::vector<std::filesystem::path>, std::string> WriteStoredRar4(
    const std::filesystem::path& first, const std::vector<ArchiveFile>& entries,
    std::uint64_t volumeDataSize = 0, bool newNumbering = true);

}  // namespace sim
