#pragma once

#include <cstdint>
#include <expected>
#include <filesystem>
#include <string>
#include <vector>

// The block headers of one RAR 4 volume: what the archive states about itself
// and its entries (flags, host system, versions, checksums), which the
// decompression library does not hand out.
namespace archives::rar4 {

inline constexpr char kSignature[] = "Rar!\x1A\x07\x00";
inline constexpr char kSignature5[] = "Rar!\x1A\x07\x01\x00";

// Main header flags.
inline constexpr std::uint16_t kVolume = 0x0001;
inline constexpr std::uint16_t kNewNumbering = 0x0010;
inline constexpr std::uint16_t kEncryptedHeaders = 0x0080;
// File header flags.
inline constexpr std::uint16_t kSplitBefore = 0x0001;
inline constexpr std::uint16_t kSplitAfter = 0x0002;
inline constexpr std::uint16_t kDirectoryBits = 0x00E0;
inline constexpr std::uint16_t kLarge = 0x0100;
inline constexpr std::uint16_t kUnicode = 0x0200;
inline constexpr std::uint16_t kLongBlock = 0x8000;
// End-of-archive flag: another volume follows.
inline constexpr std::uint16_t kNextVolume = 0x0001;

struct FileHeader {
  std::uint16_t flags = 0;
  std::uint64_t packSize = 0;
  std::uint64_t unpSize = 0;
  std::uint8_t hostOs = 0;
  std::uint32_t fileCrc = 0;
  std::uint32_t fileTime = 0;  // DOS date and time
  std::uint8_t unpVer = 0;
  std::uint8_t method = 0;
  std::uint32_t attributes = 0;
  std::string name;  // as stored: 8-bit, the part before a Unicode encoding
  bool IsDirectory() const { return (flags & kDirectoryBits) == kDirectoryBits; }
};

struct Volume {
  std::uint16_t mainFlags = 0;
  std::vector<FileHeader> files;
  bool endBlock = false;
  std::uint16_t endFlags = 0;
  // Whether the archive goes on in a next volume.
  bool Continues() const;
};

enum class Kind { kRar4, kRar5, kOther };
Kind Identify(const std::filesystem::path& file);

// Reads the headers of a RAR 4 volume; checks every header's CRC16.
std::expected<Volume, std::string> ReadVolume(const std::filesystem::path& file);

// The name of the volume after `current` ("x.part1.rar" -> "x.part2.rar" with
// new numbering; "x.rar" -> "x.r00" -> "x.r01" otherwise).
std::string NextVolumeName(const std::string& current, bool newNumbering);

// CRC-32 (the archive's data checksum) and its low 16 bits for headers.
std::uint32_t Crc32(const void* data, std::size_t size, std::uint32_t crc = 0);

}  // namespace archives::rar4
