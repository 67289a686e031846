#pragma once

#include <cstdint>
#include <expected>
#include <filesystem>
#include <string>
#include <string_view>

// Archives come from the network: every entry is written below its
// destination folder and nowhere else, and a whole extraction is bounded.
namespace archives {

// Bounds of one extraction; an archive that passes them is refused from that
// entry on (an archive bomb).
struct ArchiveLimits {
  std::uint64_t maxEntries = 200'000;
  std::uint64_t maxTotalBytes = 64ULL << 30;  // unpacked bytes of the whole extraction
};

// The relative path an entry name stands for, in '/' form: backslashes are
// folder separators, "." parts are dropped. Refused (nullopt): empty names,
// absolute paths ("/x", "\x", "C:x", "//server"), and ".." parts.
std::expected<std::filesystem::path, std::string> SafeRelativePath(std::string_view entryName);

// Whether a symbolic link stored at `linkPath` (relative to the destination)
// with the text `target` resolves inside the destination.
bool LinkStaysInside(const std::filesystem::path& linkPath, std::string_view target);

// A destination folder held open; files and folders are created below it one
// path component at a time without following any symbolic link, so an entry
// can never be redirected out through a link planted by an earlier entry or
// already on disk.
class Destination {
 public:
  Destination() = default;
  ~Destination();
  Destination(const Destination&) = delete;
  Destination& operator=(const Destination&) = delete;

  // Opens (with `create`, first creates with its parents) the folder.
  std::expected<void, std::string> Open(const std::filesystem::path& folder, bool create);
  const std::filesystem::path& Folder() const { return folder_; }

  // Creates the folders of `relative` (all its components).
  std::expected<void, std::string> MakeFolders(const std::filesystem::path& relative);
  // Creates or truncates the file at `relative`, its folders first; a file
  // descriptor open for writing.
  std::expected<int, std::string> CreateFile(const std::filesystem::path& relative);
  // Removes the file at `relative` (a refused or interrupted entry).
  void RemoveFile(const std::filesystem::path& relative);
  std::expected<void, std::string> MakeSymlink(const std::filesystem::path& relative,
                                               const std::string& target);

 private:
  // A descriptor of the folder holding `relative`'s last component, created
  // when missing; the caller closes it (unless it is the root's).
  std::expected<int, std::string> ParentOf(const std::filesystem::path& relative);

  std::filesystem::path folder_;
  int fd_ = -1;
};

// Counts the entries and the unpacked bytes of one extraction against limits.
class Budget {
 public:
  explicit Budget(const ArchiveLimits& limits) : limits_(limits) {}
  std::expected<void, std::string> AddEntry();
  std::expected<void, std::string> AddBytes(std::uint64_t bytes);

 private:
  ArchiveLimits limits_;
  std::uint64_t entries_ = 0;
  std::uint64_t bytes_ = 0;
};

// Writes all of `size` bytes to `fd` at `offset`.
bool WriteAt(int fd, const void* data, std::size_t size, std::int64_t offset);

}  // namespace archives
