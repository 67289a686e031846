#include "download/ZipReader.h"

#include <archive.h>
#include <archive_entry.h>
#include <fnmatch.h>
#include <sys/stat.h>
#include <unistd.h>

#include <memory>

namespace download {

namespace fs = std::filesystem;

namespace {

struct ArchiveDeleter {
  void operator()(archive* a) const { archive_read_free(a); }
};
using ArchivePtr = std::unique_ptr<archive, ArchiveDeleter>;

struct FdCloser {
  int fd;
  ~FdCloser() {
    if (fd >= 0)
      ::close(fd);
  }
};

ArchivePtr OpenZip(const fs::path& file, std::string& error) {
  ArchivePtr a(archive_read_new());
  archive_read_support_format_zip(a.get());
  if (archive_read_open_filename(a.get(), file.c_str(), 1 << 20) != ARCHIVE_OK) {
    error = "não foi possível abrir " + file.string() + ": " + archive_error_string(a.get());
    return nullptr;
  }
  return a;
}

std::string LibraryError(archive* a) {
  const char* text = archive_error_string(a);
  return text != nullptr ? text : "erro de leitura";
}

int Percent(std::uint64_t done, std::uint64_t total) {
  if (total == 0)
    return 0;
  return static_cast<int>(std::min<std::uint64_t>(100, done * 100 / total));
}

// Raises `event` only when the percentage changes.
struct PercentEvent {
  const std::function<void(int)>& event;
  int last = -1;
  void Raise(int p) {
    if (p != last && event)
      event(p);
    last = p;
  }
};

}  // namespace

bool MatchesMask(const std::string& fileName, const std::string& mask) {
  if (mask == "*.*" || mask == "*" || mask.empty())
    return true;
  return ::fnmatch(mask.c_str(), fileName.c_str(), 0) == 0;
}

ZipResult ZipReader::ExtractFiles(const std::string& mask) {
  ZipResult result;
  abort_ = false;

  // First pass over the headers: the totals for the progress and the limits.
  std::uint64_t entries = 0;
  std::uint64_t declared = 0;
  {
    ArchivePtr a = OpenZip(FileName, result.error);
    if (!a)
      return result;
    archive_entry* entry = nullptr;
    int status;
    while ((status = archive_read_next_header(a.get(), &entry)) == ARCHIVE_OK ||
           status == ARCHIVE_WARN) {
      ++entries;
      if (archive_entry_size_is_set(entry))
        declared += archive_entry_size(entry);
    }
    if (status != ARCHIVE_EOF) {
      result.error = LibraryError(a.get());
      return result;
    }
  }
  if (entries > Limits.maxEntries) {
    result.error = "o arquivo compactado tem entradas demais";
    return result;
  }
  if (declared > Limits.maxTotalBytes) {
    result.error = "o conteúdo descompactado passa do limite";
    return result;
  }

  archives::Destination destination;
  if (auto opened = destination.Open(BaseDirectory, CreateDirs); !opened) {
    result.error = opened.error();
    return result;
  }
  ArchivePtr a = OpenZip(FileName, result.error);
  if (!a)
    return result;

  archives::Budget budget(Limits);
  PercentEvent archiveProgress{OnArchiveProgress};
  PercentEvent itemProgress{OnArchiveItemProgress};
  std::uint64_t done = 0;
  archiveProgress.Raise(0);
  archive_entry* entry = nullptr;
  int status;
  while ((status = archive_read_next_header(a.get(), &entry)) == ARCHIVE_OK ||
         status == ARCHIVE_WARN) {
    const char* rawName = archive_entry_pathname(entry);
    const std::string name = rawName != nullptr ? rawName : "";
    if (auto counted = budget.AddEntry(); !counted) {
      result.error = counted.error();
      return result;
    }
    auto relative = archives::SafeRelativePath(name);
    if (!relative) {
      result.refused.push_back(relative.error());
      continue;
    }
    if (!RestorePath)
      *relative = relative->filename();
    const mode_t type = archive_entry_filetype(entry);
    if (type == AE_IFDIR) {
      if (RestorePath && CreateDirs) {
        if (auto made = destination.MakeFolders(*relative); !made) {
          result.refused.push_back(made.error());
        }
      }
      continue;
    }
    if (!MatchesMask(relative->filename().string(), mask))
      continue;
    if (archive_entry_hardlink(entry) != nullptr) {
      result.refused.push_back("ligação física recusada: " + name);
      continue;
    }
    if (type == AE_IFLNK) {
      const char* target = archive_entry_symlink(entry);
      if (auto made = destination.MakeSymlink(*relative, target != nullptr ? target : ""); !made) {
        result.refused.push_back(made.error());
      } else {
        ++result.extracted;
      }
      continue;
    }
    if (type != AE_IFREG) {
      result.refused.push_back("tipo de entrada recusado: " + name);
      continue;
    }

    auto fd = destination.CreateFile(*relative);
    if (!fd) {
      result.refused.push_back(fd.error());
      continue;
    }
    FdCloser closer{*fd};
    const std::uint64_t itemTotal =
        archive_entry_size_is_set(entry) ? archive_entry_size(entry) : 0;
    std::uint64_t itemDone = 0;
    itemProgress.last = -1;
    itemProgress.Raise(0);
    std::string failure;
    const void* block = nullptr;
    size_t size = 0;
    la_int64_t offset = 0;
    int read;
    while ((read = archive_read_data_block(a.get(), &block, &size, &offset)) == ARCHIVE_OK ||
           read == ARCHIVE_WARN) {
      if (abort_) {
        failure = "extração interrompida";
        break;
      }
      if (auto within = budget.AddBytes(size); !within) {
        failure = within.error();
        break;
      }
      if (!archives::WriteAt(*fd, block, size, offset)) {
        failure = "não foi possível gravar " + (BaseDirectory / *relative).string();
        break;
      }
      itemDone += size;
      done += size;
      itemProgress.Raise(Percent(itemDone, itemTotal));
      archiveProgress.Raise(Percent(done, declared));
    }
    if (failure.empty() && read != ARCHIVE_EOF)
      failure = name + ": " + LibraryError(a.get());
    if (!failure.empty()) {
      ::close(closer.fd);
      closer.fd = -1;
      destination.RemoveFile(*relative);
      // A broken entry spoils only itself; limits, aborts and a stream that
      // cannot go on end the extraction.
      if (read == ARCHIVE_FATAL || read == ARCHIVE_OK || read == ARCHIVE_WARN) {
        result.error = failure;
        return result;
      }
      result.refused.push_back(failure);
      continue;
    }
    const mode_t permissions = archive_entry_perm(entry);
    ::fchmod(*fd, (permissions & 0111) != 0 ? 0755 : 0644);
    if (archive_entry_mtime_is_set(entry)) {
      const timespec times[2] = {{archive_entry_mtime(entry), 0}, {archive_entry_mtime(entry), 0}};
      ::futimens(*fd, times);
    }
    itemProgress.Raise(100);
    ++result.extracted;
  }
  if (status != ARCHIVE_EOF) {
    result.error = LibraryError(a.get());
    return result;
  }
  archiveProgress.Raise(100);
  return result;
}

}  // namespace download
