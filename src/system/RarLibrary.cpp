#include "system/RarLibrary.h"

#include <archive.h>
#include <archive_entry.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QString>
#include <ctime>
#include <vector>

#include "system/Rar4Headers.h"

namespace archives::unrar {

namespace fs = std::filesystem;
namespace rar4 = archives::rar4;

namespace {

struct ReaderDeleter {
  void operator()(archive* a) const { archive_read_free(a); }
};
using ReaderPtr = std::unique_ptr<archive, ReaderDeleter>;

std::wstring Wide(const std::string& utf8) {
  return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size())).toStdWString();
}

std::uint32_t DosTime(std::time_t t) {
  std::tm tm{};
  localtime_r(&t, &tm);
  if (tm.tm_year < 80)
    return (1u << 21) | (1u << 16);
  return static_cast<std::uint32_t>((tm.tm_year - 80) << 25 | (tm.tm_mon + 1) << 21 |
                                    tm.tm_mday << 16 | tm.tm_hour << 11 | tm.tm_min << 5 |
                                    tm.tm_sec / 2);
}

}  // namespace

class Archive {
 public:
  std::string path;
  unsigned mode = RAR_OM_LIST;
  Callback callback;
  std::string password;
  ArchiveLimits limits;

  bool isRar4 = false;
  std::vector<std::string> volumes;
  std::vector<rar4::Volume> scans;
  std::size_t volume = 0;  // current volume (RAR 4 headers)
  std::size_t piece = 0;   // next file header in it
  bool pending = false;    // a header was read and awaits RARProcessFile
  bool chainResolved = false;
  bool chainComplete = true;
  ReaderPtr reader;  // libarchive, for the data (and for RAR 5 headers)
  archive_entry* entry = nullptr;
  rar4::FileHeader current;
  std::unique_ptr<Budget> budget;

  int Ask(unsigned msg, std::string& p1, std::int64_t p2) {
    return callback ? callback(msg, p1, p2) : 0;
  }
  // Makes the volume after the current last one known, asking for it when
  // it is missing; false when it cannot be had.
  bool AddNextVolume();
  bool ResolveChain();
  // libarchive over the volumes from `first` on.
  bool OpenReader(std::size_t first = 0);
  int ReadRar4Header(RARHeaderDataEx& header);
  int ReadReaderHeader(RARHeaderDataEx& header);
  std::uint32_t WholeFileCrc() const;
  int ProcessData(int operation, const std::string& destPath, const std::string& destName);
  void Fill(RARHeaderDataEx& header) const;
};

bool Archive::AddNextVolume() {
  const bool newNumbering = (scans.front().mainFlags & rar4::kNewNumbering) != 0;
  std::string name = rar4::NextVolumeName(volumes.back(), newNumbering);
  // A listing asks before it goes on to the next volume; an extraction asks
  // only for a volume it cannot find.
  bool ask = mode != RAR_OM_EXTRACT;
  while (ask || !fs::exists(name)) {
    std::string asked = name;
    if (Ask(UCM_CHANGEVOLUME, asked, RAR_VOL_ASK) == -1 || asked.empty())
      return false;
    if (asked == name && !fs::exists(asked))
      return false;
    name = asked;
    ask = false;
  }
  auto scan = rar4::ReadVolume(name);
  if (!scan)
    return false;
  volumes.push_back(name);
  scans.push_back(std::move(*scan));
  std::string notified = name;
  return Ask(UCM_CHANGEVOLUME, notified, RAR_VOL_NOTIFY) != -1;
}

// The CRC-32 of the whole current entry: its last piece's.
std::uint32_t Archive::WholeFileCrc() const {
  if ((current.flags & rar4::kSplitAfter) == 0)
    return current.fileCrc;
  for (std::size_t v = volume + 1; v < scans.size(); ++v) {
    for (const rar4::FileHeader& h : scans[v].files) {
      if ((h.flags & rar4::kSplitBefore) != 0 && (h.flags & rar4::kSplitAfter) == 0 &&
          h.name == current.name) {
        return h.fileCrc;
      }
    }
  }
  return current.fileCrc;
}

bool Archive::ResolveChain() {
  if (chainResolved)
    return chainComplete;
  chainResolved = true;
  while (scans.back().Continues()) {
    if (!AddNextVolume()) {
      chainComplete = false;
      break;
    }
  }
  return chainComplete;
}

bool Archive::OpenReader(std::size_t first) {
  reader.reset(archive_read_new());
  archive_read_support_format_rar(reader.get());
  archive_read_support_format_rar5(reader.get());
  std::vector<const char*> names;
  for (std::size_t v = first; v < volumes.size(); ++v)
    names.push_back(volumes[v].c_str());
  names.push_back(nullptr);
  return archive_read_open_filenames(reader.get(), names.data(), 1 << 16) == ARCHIVE_OK;
}

void Archive::Fill(RARHeaderDataEx& header) const {
  header.ArcName = volumes[std::min(volume, volumes.size() - 1)];
  header.ArcNameW = Wide(header.ArcName);
  header.FileName = current.name;
  header.FileNameW = Wide(current.name);
  header.Flags = current.flags;
  header.PackSize = static_cast<unsigned>(current.packSize & 0xFFFFFFFF);
  header.PackSizeHigh = static_cast<unsigned>(current.packSize >> 32);
  header.UnpSize = static_cast<unsigned>(current.unpSize & 0xFFFFFFFF);
  header.UnpSizeHigh = static_cast<unsigned>(current.unpSize >> 32);
  header.HostOS = current.hostOs;
  header.FileCRC = current.fileCrc;
  header.FileTime = current.fileTime;
  header.UnpVer = current.unpVer;
  header.Method = current.method;
  header.FileAttr = current.attributes;
  header.CmtSize = 0;
  header.CmtState = 0;
}

int Archive::ReadRar4Header(RARHeaderDataEx& header) {
  if ((scans.front().mainFlags & rar4::kEncryptedHeaders) != 0) {
    std::string asked = password;
    if (password.empty() && Ask(UCM_NEEDPASSWORD, asked, 128) == -1)
      return ERAR_MISSING_PASSWORD;
    // libarchive cannot decrypt RAR 4 headers.
    return asked.empty() ? ERAR_MISSING_PASSWORD : ERAR_BAD_DATA;
  }
  if (mode == RAR_OM_EXTRACT && !chainResolved) {
    ResolveChain();
    std::uint64_t total = 0;
    std::uint64_t files = 0;
    for (const rar4::Volume& v : scans) {
      for (const rar4::FileHeader& f : v.files) {
        if ((f.flags & rar4::kSplitBefore) != 0)
          continue;
        total += f.unpSize;
        ++files;
      }
    }
    if (total > limits.maxTotalBytes || files > limits.maxEntries)
      return ERAR_EWRITE;
    if (!OpenReader())
      return ERAR_BAD_ARCHIVE;
  }
  for (;;) {
    const rar4::Volume& v = scans[volume];
    if (piece < v.files.size()) {
      const rar4::FileHeader& h = v.files[piece];
      if (mode != RAR_OM_LIST_INCSPLIT && (h.flags & rar4::kSplitBefore) != 0) {
        ++piece;
        continue;
      }
      current = h;
      break;
    }
    if (!v.Continues())
      return ERAR_END_ARCHIVE;
    if (volume + 1 >= scans.size() && (mode == RAR_OM_EXTRACT || !AddNextVolume())) {
      return ERAR_EOPEN;
    }
    ++volume;
    piece = 0;
    // libarchive crosses into a next volume only inside a split entry; a
    // volume that begins with a whole entry is read anew.
    const std::vector<rar4::FileHeader>& before = scans[volume - 1].files;
    if (mode == RAR_OM_EXTRACT &&
        (before.empty() || (before.back().flags & rar4::kSplitAfter) == 0) && !OpenReader(volume)) {
      return ERAR_BAD_ARCHIVE;
    }
  }
  if (mode == RAR_OM_EXTRACT) {
    const int status = archive_read_next_header(reader.get(), &entry);
    if (status != ARCHIVE_OK && status != ARCHIVE_WARN)
      return ERAR_BAD_DATA;
  }
  Fill(header);
  pending = true;
  return ERAR_SUCCESS;
}

int Archive::ReadReaderHeader(RARHeaderDataEx& header) {
  if (!reader && !OpenReader())
    return ERAR_BAD_ARCHIVE;
  const int status = archive_read_next_header(reader.get(), &entry);
  if (status == ARCHIVE_EOF)
    return ERAR_END_ARCHIVE;
  if (status != ARCHIVE_OK && status != ARCHIVE_WARN)
    return ERAR_BAD_DATA;
  current = {};
  const char* name = archive_entry_pathname(entry);
  current.name = name != nullptr ? name : "";
  const bool directory = archive_entry_filetype(entry) == AE_IFDIR;
  current.flags = static_cast<std::uint16_t>((directory ? rar4::kDirectoryBits : 0) |
                                             (archive_entry_is_encrypted(entry) ? 0x04 : 0));
  current.unpSize = static_cast<std::uint64_t>(archive_entry_size(entry));
  current.packSize = current.unpSize;
  current.hostOs = 3;
  current.fileTime = DosTime(archive_entry_mtime(entry));
  current.unpVer = 50;
  current.method = 0x30;
  current.attributes = archive_entry_mode(entry);
  Fill(header);
  pending = true;
  return ERAR_SUCCESS;
}

int Archive::ProcessData(int operation, const std::string& destPath, const std::string& destName) {
  if (!budget)
    budget = std::make_unique<Budget>(limits);
  if (operation == RAR_SKIP) {
    archive_read_data_skip(reader.get());
    return ERAR_SUCCESS;
  }
  if (budget->AddEntry().has_value() == false)
    return ERAR_EWRITE;
  if ((current.flags & 0x04) != 0) {
    std::string asked = password;
    if (asked.empty() && Ask(UCM_NEEDPASSWORD, asked, 128) == -1)
      return ERAR_MISSING_PASSWORD;
    // libarchive does not decrypt RAR entries.
    return asked.empty() ? ERAR_MISSING_PASSWORD : ERAR_BAD_DATA;
  }
  if ((current.flags & rar4::kSplitAfter) != 0 && !chainComplete)
    return ERAR_EOPEN;

  Destination destination;
  fs::path relative;
  const mode_t type = archive_entry_filetype(entry);
  if (operation == RAR_EXTRACT) {
    if (!destName.empty()) {
      const fs::path target(destName);
      if (!destination.Open(target.parent_path(), true))
        return ERAR_ECREATE;
      relative = target.filename();
    } else {
      auto safe = SafeRelativePath(current.name);
      if (!safe || !destination.Open(destPath, true))
        return ERAR_ECREATE;
      relative = *safe;
    }
    if (type == AE_IFDIR)
      return destination.MakeFolders(relative) ? ERAR_SUCCESS : ERAR_ECREATE;
    if (type == AE_IFLNK) {
      const char* target = archive_entry_symlink(entry);
      return destination.MakeSymlink(relative, target != nullptr ? target : "") ? ERAR_SUCCESS
                                                                                : ERAR_ECREATE;
    }
    if (type != AE_IFREG || archive_entry_hardlink(entry) != nullptr)
      return ERAR_ECREATE;
  }

  int fd = -1;
  if (operation == RAR_EXTRACT) {
    auto created = destination.CreateFile(relative);
    if (!created)
      return ERAR_ECREATE;
    fd = *created;
  }
  int result = ERAR_SUCCESS;
  // libarchive does not check the CRC of stored RAR 4 data: we do.
  std::uint32_t crc = 0;
  const std::uint32_t expectedCrc = isRar4 ? WholeFileCrc() : 0;
  const void* block = nullptr;
  size_t size = 0;
  la_int64_t offset = 0;
  int status;
  while ((status = archive_read_data_block(reader.get(), &block, &size, &offset)) == ARCHIVE_OK ||
         status == ARCHIVE_WARN) {
    if (!budget->AddBytes(size)) {
      result = ERAR_EWRITE;
      break;
    }
    if (fd >= 0 && !WriteAt(fd, block, size, offset)) {
      result = ERAR_EWRITE;
      break;
    }
    if (isRar4)
      crc = rar4::Crc32(block, size, crc);
    std::string none;
    if (Ask(UCM_PROCESSDATA, none, static_cast<std::int64_t>(size)) == -1) {
      result = ERAR_UNKNOWN;
      break;
    }
  }
  if (result == ERAR_SUCCESS && (status != ARCHIVE_EOF || (isRar4 && crc != expectedCrc))) {
    result = ERAR_BAD_DATA;
  }
  if (fd >= 0) {
    if (result == ERAR_SUCCESS) {
      ::fchmod(fd, (archive_entry_perm(entry) & 0111) != 0 ? 0755 : 0644);
      const timespec times[2] = {{archive_entry_mtime(entry), 0}, {archive_entry_mtime(entry), 0}};
      ::futimens(fd, times);
    }
    ::close(fd);
    if (result != ERAR_SUCCESS)
      destination.RemoveFile(relative);
  }
  return result;
}

void ArchiveDeleter::operator()(Archive* archive) const {
  delete archive;
}

ArchiveHandle RAROpenArchiveEx(RAROpenArchiveDataEx& data) {
  data.CmtSize = 0;
  data.CmtState = 0;
  data.Flags = 0;
  if (!fs::is_regular_file(data.ArcName)) {
    data.OpenResult = ERAR_EOPEN;
    return nullptr;
  }
  ArchiveHandle handle(new Archive);
  handle->path = data.ArcName;
  handle->mode = data.OpenMode;
  handle->volumes.push_back(data.ArcName);
  switch (rar4::Identify(data.ArcName)) {
    case rar4::Kind::kRar4: {
      auto scan = rar4::ReadVolume(data.ArcName);
      if (!scan) {
        data.OpenResult = ERAR_BAD_DATA;
        return nullptr;
      }
      handle->isRar4 = true;
      data.Flags = scan->mainFlags;
      handle->scans.push_back(std::move(*scan));
      break;
    }
    case rar4::Kind::kRar5:
      break;
    case rar4::Kind::kOther:
      data.OpenResult = ERAR_BAD_ARCHIVE;
      return nullptr;
  }
  data.OpenResult = ERAR_SUCCESS;
  return handle;
}

int RARCloseArchive(ArchiveHandle& handle) {
  if (!handle)
    return ERAR_ECLOSE;
  const bool closed = !handle->reader || archive_read_close(handle->reader.get()) == ARCHIVE_OK;
  handle.reset();
  return closed ? ERAR_SUCCESS : ERAR_ECLOSE;
}

int RARReadHeaderEx(Archive* handle, RARHeaderDataEx& header) {
  if (handle == nullptr)
    return ERAR_BAD_ARCHIVE;
  if (handle->pending)
    RARProcessFile(handle, RAR_SKIP, {}, {});
  return handle->isRar4 ? handle->ReadRar4Header(header) : handle->ReadReaderHeader(header);
}

int RARProcessFile(Archive* handle, int operation, const std::string& destPath,
                   const std::string& destName) {
  if (handle == nullptr || !handle->pending)
    return ERAR_BAD_ARCHIVE;
  handle->pending = false;
  if (handle->isRar4 && handle->mode != RAR_OM_EXTRACT) {
    // Listing: skipping a piece continued in the next volume moves there.
    ++handle->piece;
    if (handle->mode == RAR_OM_LIST && (handle->current.flags & rar4::kSplitAfter) != 0) {
      if (handle->volume + 1 >= handle->scans.size() && !handle->AddNextVolume()) {
        return ERAR_EOPEN;
      }
      ++handle->volume;
      handle->piece = 0;
    }
    return ERAR_SUCCESS;
  }
  if (handle->isRar4)
    ++handle->piece;
  if (handle->mode != RAR_OM_EXTRACT)
    operation = RAR_SKIP;
  return handle->ProcessData(operation, destPath, destName);
}

void RARSetCallback(Archive* handle, Callback callback) {
  if (handle != nullptr)
    handle->callback = std::move(callback);
}

void RARSetPassword(Archive* handle, const std::string& password) {
  if (handle != nullptr)
    handle->password = password;
}

void RARSetLimits(Archive* handle, const ArchiveLimits& limits) {
  if (handle != nullptr)
    handle->limits = limits;
}

int RARGetDllVersion() {
  return kInterfaceVersion;
}

std::string LibraryDescription() {
  return archive_version_details();
}

}  // namespace archives::unrar
