#include "system/RAR.h"

#include <archive.h>

#include <QDate>
#include <QFileInfo>
#include <QTime>
#include <algorithm>
#include <cstdio>
#include <filesystem>

namespace fs = std::filesystem;
using namespace archives::unrar;

namespace {

// libarchive 3.6 is the first to read RAR 5 and to refuse unsafe paths the
// way the readers rely on.
constexpr int kOldestLibrary = 3006000;
constexpr std::size_t kCommentSize = 65536;
constexpr int kNotLoaded = 99;

std::string HostOsText(unsigned hostOs) {
  switch (hostOs) {
    case 0:
      return "DOS";
    case 1:
      return "IBM OS/2";
    case 2:
      return "Windows";
    case 3:
      return "Unix";
    default:
      return "unknown";
  }
}

QDateTime FromDosTime(std::uint32_t t) {
  const QDate date(static_cast<int>((t >> 25) + 1980), static_cast<int>((t >> 21) & 0x0F),
                   static_cast<int>((t >> 16) & 0x1F));
  const QTime time(static_cast<int>((t >> 11) & 0x1F), static_cast<int>((t >> 5) & 0x3F),
                   static_cast<int>((t & 0x1F) * 2));
  return QDateTime(date, time);
}

bool ReportedCodeAborts(int code) {
  return code == ERAR_NO_MEMORY || code == ERAR_BAD_DATA ||
         (code >= ERAR_UNKNOWN_FORMAT && code <= ERAR_UNKNOWN) || code == kNotLoaded;
}

std::string WithSeparator(std::string path) {
  if (path.empty() || (path.back() != '/' && path.back() != '\\'))
    path += '/';
  return path;
}

}  // namespace

TRAR::TRAR() : fDLLName(archive_version_string()) {}

TRAR::~TRAR() {
  UnloadDLL();
}

bool TRAR::LoadDLL() {
  RARDLLInstance = archive_version_number() >= kOldestLibrary;
  return RARDLLInstance;
}

void TRAR::UnloadDLL() {
  RARDLLInstance = false;
}

int TRAR::GetDllVersion() {
  if (!RARDLLInstance && !LoadDLL()) {
    Report(kNotLoaded, TRAROperation::roInitArchive);
    return 0;
  }
  return RARGetDllVersion();
}

void TRAR::Report(int code, TRAROperation operation) {
  if (ReportedCodeAborts(code))
    fAbort = true;
  if (OnError)
    OnError(*this, code, operation);
}

bool TRAR::OpenFile(const std::string& FileName) {
  fArchiveInformation = {};
  if (!RARDLLInstance && !LoadDLL()) {
    Report(kNotLoaded, TRAROperation::roInitArchive);
    return false;
  }
  fArchiveInformation.FileName = FileName;
  const bool listed = List();
  fArchiveInformation.fOpened = true;
  return listed;
}

ArchiveHandle TRAR::Open(unsigned mode, TRAROperation operation) {
  if (Comment.empty())
    Comment.assign(kCommentSize, '\0');
  ArchiveData = {};
  ArchiveData.ArcName = fArchiveInformation.FileName;
  ArchiveData.OpenMode = mode;
  ArchiveData.CmtBuf = Comment.data();
  ArchiveData.CmtBufSize = kCommentSize;
  ArchiveHandle handle = RAROpenArchiveEx(ArchiveData);
  if (!handle) {
    Report(kNotLoaded, operation);
    return nullptr;
  }
  const unsigned flags = ArchiveData.Flags;
  fArchiveInformation.Locked = (flags & 0x04) != 0;
  fArchiveInformation.Signed = (flags & 0x20) != 0;
  fArchiveInformation.Recovery = (flags & 0x40) != 0;
  fArchiveInformation.Solid = (flags & 0x08) != 0;
  fArchiveInformation.ArchiveComment = (flags & 0x02) != 0;
  fArchiveInformation.HeaderEncrypted = (flags & 0x80) != 0;
  switch (ArchiveData.CmtState) {
    case 0:
      fArchiveInformation.Comment.clear();
      fArchiveInformation.ArchiveComment = false;
      break;
    case 1:
      fArchiveInformation.Comment.assign(Comment.data(),
                                         std::min<std::size_t>(ArchiveData.CmtSize, kCommentSize));
      fArchiveInformation.ArchiveComment = true;
      break;
    default:
      Report(static_cast<int>(ArchiveData.CmtState), operation);
      Close(handle, operation);
      return nullptr;
  }
  RARSetLimits(handle.get(), Limits);
  RARSetCallback(handle.get(), [this](unsigned msg, std::string& p1, std::int64_t p2) {
    return Callback(msg, p1, p2);
  });
  if (!Password.empty())
    RARSetPassword(handle.get(), Password);
  return handle;
}

bool TRAR::Close(ArchiveHandle& handle, TRAROperation operation) {
  const int result = RARCloseArchive(handle);
  if (result == ERAR_ECLOSE)
    Report(result, operation);
  return result == ERAR_SUCCESS;
}

int TRAR::Callback(unsigned msg, std::string& p1, std::int64_t p2) {
  if (fAbort)
    return -1;
  switch (msg) {
    case UCM_CHANGEVOLUME: {
      if (p2 != RAR_VOL_ASK)
        return 0;
      if (!fArchiveInformation.fOpened && !ReadMultiVolumeToEnd)
        return -1;
      if (!OnNextVolumeRequired)
        return 0;
      std::string newName;
      bool cancel = false;
      OnNextVolumeRequired(*this, p1, newName, cancel);
      if (cancel)
        return -1;
      p1 = newName;
      return 0;
    }
    case UCM_PROCESSDATA: {
      fProgressInfo.FileBytesDone += static_cast<std::uint32_t>(p2);
      fProgressInfo.TotalSize += static_cast<std::uint32_t>(p2);
      if (OnProgress) {
        OnProgress(*this, fProgressInfo.FileName,
                   static_cast<std::uint32_t>(fArchiveInformation.UnCompressedSize),
                   fProgressInfo.TotalSize, fProgressInfo.FileBytesTotal,
                   fProgressInfo.FileBytesDone);
      }
      return fAbort ? -1 : 0;
    }
    case UCM_NEEDPASSWORD: {
      std::string name;
      if (!fArchiveInformation.fOpened) {
        fArchiveInformation.HeaderEncrypted = true;
        name = fArchiveInformation.FileName;
      } else {
        name = hdrData.FileName;
      }
      std::string password;
      bool cancel = false;
      if (OnPasswordRequired) {
        OnPasswordRequired(*this, !fArchiveInformation.fOpened, name, password, cancel);
      }
      if (cancel)
        return -1;
      p1 = password.substr(0, static_cast<std::size_t>(std::max<std::int64_t>(p2, 0)));
      return 0;
    }
    default:
      return 0;
  }
}

void TRAR::Account(const RARHeaderDataEx& header) {
  TRARArchiveInformation& info = fArchiveInformation;
  std::uint64_t packSize = header.PackSize;
  if (ReadMultiVolumeToEnd) {
    if ((header.Flags & 0x02) != 0) {
      fPackedSizeMVVolume += header.PackSize;
      return;
    }
    if ((header.Flags & 0x01) != 0) {
      packSize = fPackedSizeMVVolume + header.PackSize;
      fPackedSizeMVVolume = 0;
    }
  }
  const int version = static_cast<int>(header.UnpVer);
  if (version > info.ArchiverMajorVersion * 10 + info.ArchiverMinorVersion) {
    info.ArchiverMajorVersion = version / 10;
    info.ArchiverMinorVersion = version % 10;
  }
  if ((header.Flags & 0x04) != 0)
    info.Encryption = true;
  if ((header.Flags & 0x10) != 0)
    info.Solid = true;
  info.HostOS = HostOsText(header.HostOS);
  if ((header.Flags & 0x70) != 0x70 && header.FileAttr != 16) {
    ++info.TotalFiles;
    const unsigned code = (header.Flags >> 5) & 0x07;
    if (code < 7)
      info.DictionarySize = 65536u << code;
  }
  info.CompressedSize += packSize;
  info.UnCompressedSize += header.UnpSize;
  if ((header.Flags & 0x03) != 0)
    info.MultiVolume = true;
  if (header.CmtSize != 0)
    info.FileComment = true;

  if (!OnListFile)
    return;
  TRARFileItem item;
  item.FileName = header.FileName;
  item.FileNameW = header.FileNameW;
  item.CompressedSize = static_cast<std::uint32_t>(packSize);
  item.UnCompressedSize = header.UnpSize;
  item.HostOS = HostOsText(header.HostOS);
  char crc[9];
  std::snprintf(crc, sizeof crc, "%08X", header.FileCRC);
  item.CRC32 = crc;
  item.Attributes = header.FileAttr;
  item.Time = FromDosTime(header.FileTime);
  item.CompressionStrength = static_cast<int>(header.Method);
  item.ArchiverVersion = static_cast<int>(header.UnpVer);
  item.Encrypted = (header.Flags & 0x04) != 0;
  OnListFile(*this, item);
}

bool TRAR::List() {
  if (!fs::exists(fArchiveInformation.FileName))
    throw ERARAssertion();
  fAbort = false;
  ArchiveHandle handle =
      Open(ReadMultiVolumeToEnd ? RAR_OM_LIST_INCSPLIT : RAR_OM_LIST, TRAROperation::roListFiles);
  if (!handle)
    return false;
  if (fAbort) {
    Close(handle, TRAROperation::roListFiles);
    return false;
  }
  fPackedSizeMVVolume = 0;
  bool failed = false;
  for (;;) {
    const int read = RARReadHeaderEx(handle.get(), hdrData);
    if (read == ERAR_END_ARCHIVE)
      break;
    if (read != ERAR_SUCCESS)
      failed = true;
    Report(read, TRAROperation::roListFiles);
    if (read != ERAR_SUCCESS)
      break;
    Account(hdrData);
    const int skipped = RARProcessFile(handle.get(), RAR_SKIP, {}, {});
    Report(skipped, TRAROperation::roListFiles);
    if (skipped != ERAR_SUCCESS) {
      failed = true;
      break;
    }
  }
  Close(handle, TRAROperation::roListFiles);
  return !failed;
}

bool TRAR::Extract(const std::string& Path, bool RestoreFolder,
                   const std::vector<std::string>& Files) {
  return Process(false, Path, RestoreFolder, Files);
}

bool TRAR::Test() {
  return Process(true, {}, false, {});
}

bool TRAR::Process(bool test, const std::string& path, bool restoreFolder,
                   const std::vector<std::string>& files) {
  if (!fs::exists(fArchiveInformation.FileName))
    throw ERARAssertion();
  const TRAROperation operation = test ? TRAROperation::roTest : TRAROperation::roExtract;
  fAbort = false;
  ArchiveHandle handle = Open(RAR_OM_EXTRACT, operation);
  if (!handle)
    return false;
  if (fAbort) {
    Close(handle, operation);
    return false;
  }
  const std::string folder = WithSeparator(path);
  fProgressInfo.TotalSize = 0;
  bool failed = false;
  while (!failed) {
    const int read = RARReadHeaderEx(handle.get(), hdrData);
    if (read == ERAR_END_ARCHIVE)
      break;
    if (read != ERAR_SUCCESS) {
      failed = true;
      Report(read, operation);
      break;
    }
    fProgressInfo.FileBytesDone = 0;
    fProgressInfo.FileBytesTotal = hdrData.UnpSize;
    fProgressInfo.FileName = hdrData.FileNameW;

    int result;
    if (test) {
      result = RARProcessFile(handle.get(), RAR_TEST, {}, {});
    } else if (!files.empty() &&
               std::find(files.begin(), files.end(), hdrData.FileName) == files.end()) {
      result = RARProcessFile(handle.get(), RAR_SKIP, {}, {});
    } else {
      const auto relative = archives::SafeRelativePath(hdrData.FileName);
      const bool folderEntry = (hdrData.Flags & 0xE0) == 0xE0;
      std::string target;
      if (relative) {
        target = folder + (restoreFolder ? relative->string() : relative->filename().string());
      }
      TRARReplace action = TRARReplace::rrOverwrite;
      std::error_code error;
      if (!target.empty() && OnReplace && fs::exists(target, error)) {
        TRARReplaceData existing;
        existing.FileName = target;
        existing.Size = fs::is_regular_file(target, error)
                            ? static_cast<std::int64_t>(fs::file_size(target, error))
                            : 0;
        existing.Time = QFileInfo(QString::fromStdString(target)).lastModified();
        TRARReplaceData incoming;
        incoming.FileName = hdrData.FileName;
        incoming.Size = static_cast<std::int64_t>(hdrData.UnpSize) |
                        static_cast<std::int64_t>(hdrData.UnpSizeHigh) << 32;
        incoming.Time = FromDosTime(hdrData.FileTime);
        OnReplace(*this, existing, incoming, action);
      }
      switch (action) {
        case TRARReplace::rrCancel:
          fAbort = true;
          result = ERAR_SUCCESS;
          break;
        case TRARReplace::rrSkip:
          result = RARProcessFile(handle.get(), RAR_SKIP, {}, {});
          fProgressInfo.FileBytesDone += hdrData.UnpSize;
          break;
        case TRARReplace::rrOverwrite:
          if (restoreFolder) {
            result = RARProcessFile(handle.get(), RAR_EXTRACT, folder, {});
          } else if (folderEntry) {
            result = RARProcessFile(handle.get(), RAR_SKIP, {}, {});
          } else if (target.empty()) {
            result = ERAR_ECREATE;  // the name climbs out or is absolute
          } else {
            result = RARProcessFile(handle.get(), RAR_EXTRACT, {}, target);
          }
          break;
      }
    }
    if (result != ERAR_SUCCESS) {
      failed = true;
      Report(result, operation);
    }
    if (fAbort)
      failed = true;
  }
  Close(handle, operation);
  return !failed;
}
