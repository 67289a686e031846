#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace platform {

// Drive types with the original's numbering (GetDriveType).
enum class DriveType : int {
  Unknown = 0,
  NoRootDir = 1,
  Removable = 2,
  Fixed = 3,
  Remote = 4,
  CdRom = 5,
  RamDisk = 6
};

struct VolumeInfo {
  std::string letter;    // "E:"
  std::string rootPath;  // where the volume's files are reached
  std::string label;
  std::string fileSystem;  // "FAT32", "NTFS", ...
  DriveType type = DriveType::Unknown;
  std::uint64_t size = 0;
  std::uint64_t freeSpace = 0;
  int diskIndex = -1;  // physical disk the volume lives on
};

// Mounted volumes, and the lock, dismount and eject controls of a drive.
class Volumes {
 public:
  virtual ~Volumes() = default;
  virtual std::vector<VolumeInfo> List() = 0;
  virtual std::optional<VolumeInfo> Find(const std::string& letter) = 0;
  virtual bool Lock(const std::string& letter) = 0;
  virtual bool Dismount(const std::string& letter) = 0;
  virtual bool Eject(const std::string& letter) = 0;
};

}  // namespace platform
