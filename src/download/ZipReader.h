#pragma once

#include <atomic>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "system/ArchiveSafety.h"

namespace download {

// What an extraction did: the entries written, the entries refused (with
// why; a refused entry does not stop the others) and the failure that stopped
// it (unreadable archive, limits passed, abort).
struct ZipResult {
  int extracted = 0;
  std::vector<std::string> refused;
  std::string error;
  bool ok() const { return refused.empty() && error.empty(); }
};

// The ZIP reader the extraction screens use: a base folder, the options to
// create folders and to restore the stored paths, the archive, "extract all
// matching a mask", and two progress events in percent. Runs on the calling
// thread; Abort may be called from any thread and stops at the next block.
class ZipReader {
 public:
  std::filesystem::path BaseDirectory;
  bool CreateDirs = true;   // create the base folder (and, restoring paths, the stored ones)
  bool RestorePath = true;  // keep the stored folders; otherwise every file lands in the base
  std::filesystem::path FileName;
  archives::ArchiveLimits Limits;

  // Whole-archive and current-entry progress, 0 to 100, raised when the
  // percentage changes.
  std::function<void(int)> OnArchiveProgress;
  std::function<void(int)> OnArchiveItemProgress;

  // Extracts the entries whose file name matches `mask` ("*.*" is every
  // entry). An archive beyond the limits is refused before anything is
  // written; an entry whose unpacked bytes pass them is removed again.
  ZipResult ExtractFiles(const std::string& mask);
  void CloseArchive() {}
  void Abort() { abort_ = true; }

 private:
  std::atomic<bool> abort_{false};
};

// Whether a file name matches a mask with "*" and "?"; "*.*" matches every
// name, also one without a dot.
bool MatchesMask(const std::string& fileName, const std::string& mask);

}  // namespace download
