#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "system/ArchiveSafety.h"

// The RAR decompression library's interface (open, read header, process an
// entry by skipping, testing or extracting it, one callback for volumes, data
// blocks and passwords), served by libarchive for the data and by our own
// reading of the RAR 4 block headers for what libarchive does not tell.
namespace archives::unrar {

inline constexpr int ERAR_SUCCESS = 0;
inline constexpr int ERAR_END_ARCHIVE = 10;
inline constexpr int ERAR_NO_MEMORY = 11;
inline constexpr int ERAR_BAD_DATA = 12;
inline constexpr int ERAR_BAD_ARCHIVE = 13;
inline constexpr int ERAR_UNKNOWN_FORMAT = 14;
inline constexpr int ERAR_EOPEN = 15;
inline constexpr int ERAR_ECREATE = 16;
inline constexpr int ERAR_ECLOSE = 17;
inline constexpr int ERAR_EREAD = 18;
inline constexpr int ERAR_EWRITE = 19;
inline constexpr int ERAR_SMALL_BUF = 20;
inline constexpr int ERAR_UNKNOWN = 21;
inline constexpr int ERAR_MISSING_PASSWORD = 22;

inline constexpr unsigned RAR_OM_LIST = 0;
inline constexpr unsigned RAR_OM_EXTRACT = 1;
inline constexpr unsigned RAR_OM_LIST_INCSPLIT = 2;

inline constexpr int RAR_SKIP = 0;
inline constexpr int RAR_TEST = 1;
inline constexpr int RAR_EXTRACT = 2;

inline constexpr unsigned UCM_CHANGEVOLUME = 0;
inline constexpr unsigned UCM_PROCESSDATA = 1;
inline constexpr unsigned UCM_NEEDPASSWORD = 2;
inline constexpr std::int64_t RAR_VOL_ASK = 0;
inline constexpr std::int64_t RAR_VOL_NOTIFY = 1;

// The version of this interface that RARGetDllVersion reports.
inline constexpr int kInterfaceVersion = 8;

// The one callback: the message, P1 (the volume name or the password buffer,
// read and written), P2 (volume request kind, data byte count, password
// buffer size). 0 goes on, -1 stops.
using Callback = std::function<int(unsigned msg, std::string& p1, std::int64_t p2)>;

struct RAROpenArchiveDataEx {
  std::string ArcName;  // 8-bit, the system code page
  std::wstring ArcNameW;
  unsigned OpenMode = RAR_OM_LIST;
  unsigned OpenResult = 0;
  char* CmtBuf = nullptr;
  unsigned CmtBufSize = 0;
  unsigned CmtSize = 0;
  unsigned CmtState = 0;
  unsigned Flags = 0;
};

struct RARHeaderDataEx {
  std::string ArcName;
  std::wstring ArcNameW;
  std::string FileName;
  std::wstring FileNameW;
  unsigned Flags = 0;
  unsigned PackSize = 0, PackSizeHigh = 0;
  unsigned UnpSize = 0, UnpSizeHigh = 0;
  unsigned HostOS = 0;
  unsigned FileCRC = 0;
  unsigned FileTime = 0;
  unsigned UnpVer = 0;
  unsigned Method = 0;
  unsigned FileAttr = 0;
  char* CmtBuf = nullptr;
  unsigned CmtBufSize = 0;
  unsigned CmtSize = 0;
  unsigned CmtState = 0;
};

class Archive;
struct ArchiveDeleter {
  void operator()(Archive* archive) const;
};
using ArchiveHandle = std::unique_ptr<Archive, ArchiveDeleter>;

// Null with OpenResult set when the archive cannot be opened.
ArchiveHandle RAROpenArchiveEx(RAROpenArchiveDataEx& data);
int RARCloseArchive(ArchiveHandle& handle);
int RARReadHeaderEx(Archive* handle, RARHeaderDataEx& header);
// `destPath`: the folder below which the stored path is recreated;
// `destName`: the file to write instead (either may be empty).
int RARProcessFile(Archive* handle, int operation, const std::string& destPath,
                   const std::string& destName);
void RARSetCallback(Archive* handle, Callback callback);
void RARSetPassword(Archive* handle, const std::string& password);
// Our addition: the bounds of an extraction (entry count, unpacked bytes).
void RARSetLimits(Archive* handle, const ArchiveLimits& limits);
int RARGetDllVersion();

// Text of the library that reads the data ("libarchive 3.6.2 ...").
std::string LibraryDescription();

}  // namespace archives::unrar
