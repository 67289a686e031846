#include "system/ArchiveSafety.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <vector>

namespace archives {

namespace fs = std::filesystem;

namespace {

std::string Errno(const std::string& what) {
  return what + ": " + std::strerror(errno);
}

std::vector<std::string> Components(const fs::path& relative) {
  std::vector<std::string> parts;
  for (const fs::path& part : relative)
    parts.push_back(part.string());
  return parts;
}

}  // namespace

std::expected<fs::path, std::string> SafeRelativePath(std::string_view entryName) {
  std::string name(entryName);
  for (char& c : name) {
    if (c == '\\')
      c = '/';
  }
  if (name.empty()) {
    return std::unexpected("nome de entrada vazio");
  }
  if (name.front() == '/' || (name.size() >= 2 && name[1] == ':')) {
    return std::unexpected("caminho absoluto recusado: " + std::string(entryName));
  }
  fs::path result;
  std::size_t start = 0;
  while (start <= name.size()) {
    const std::size_t end = std::min(name.find('/', start), name.size());
    const std::string part = name.substr(start, end - start);
    if (part == "..") {
      return std::unexpected("caminho que sai do destino recusado: " + std::string(entryName));
    }
    if (!part.empty() && part != ".")
      result /= part;
    start = end + 1;
  }
  if (result.empty()) {
    return std::unexpected("nome de entrada vazio");
  }
  return result;
}

bool LinkStaysInside(const fs::path& linkPath, std::string_view target) {
  if (target.empty() || target.front() == '/' || target.front() == '\\' ||
      (target.size() >= 2 && target[1] == ':')) {
    return false;
  }
  int depth = 0;
  for (const fs::path& part : linkPath.parent_path()) {
    if (part != ".")
      ++depth;
  }
  std::string text(target);
  for (char& c : text) {
    if (c == '\\')
      c = '/';
  }
  for (const fs::path& part : fs::path(text)) {
    if (part == "..") {
      if (--depth < 0)
        return false;
    } else if (part != "." && !part.empty()) {
      ++depth;
    }
  }
  return true;
}

Destination::~Destination() {
  if (fd_ >= 0)
    ::close(fd_);
}

std::expected<void, std::string> Destination::Open(const fs::path& folder, bool create) {
  if (fd_ >= 0) {
    ::close(fd_);
    fd_ = -1;
  }
  folder_ = folder;
  std::error_code error;
  if (create)
    fs::create_directories(folder, error);
  fd_ = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd_ < 0) {
    return std::unexpected(Errno("não foi possível abrir a pasta " + folder.string()));
  }
  return {};
}

std::expected<int, std::string> Destination::ParentOf(const fs::path& relative) {
  const std::vector<std::string> parts = Components(relative);
  int current = fd_;
  for (std::size_t i = 0; i + 1 < parts.size(); ++i) {
    if (::mkdirat(current, parts[i].c_str(), 0755) != 0 && errno != EEXIST) {
      const std::string failure = Errno("não foi possível criar " + parts[i]);
      if (current != fd_)
        ::close(current);
      return std::unexpected(failure);
    }
    const int next =
        ::openat(current, parts[i].c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    const int saved = errno;
    if (current != fd_)
      ::close(current);
    if (next < 0) {
      errno = saved;
      return std::unexpected(Errno("pasta recusada " + (folder_ / relative).string()));
    }
    current = next;
  }
  return current;
}

std::expected<void, std::string> Destination::MakeFolders(const fs::path& relative) {
  auto parent = ParentOf(relative / "x");
  if (!parent)
    return std::unexpected(parent.error());
  if (*parent != fd_)
    ::close(*parent);
  return {};
}

std::expected<int, std::string> Destination::CreateFile(const fs::path& relative) {
  auto parent = ParentOf(relative);
  if (!parent)
    return std::unexpected(parent.error());
  const int fd = ::openat(*parent, relative.filename().c_str(),
                          O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW | O_CLOEXEC, 0644);
  const int saved = errno;
  if (*parent != fd_)
    ::close(*parent);
  if (fd < 0) {
    errno = saved;
    return std::unexpected(Errno("não foi possível gravar " + (folder_ / relative).string()));
  }
  return fd;
}

void Destination::RemoveFile(const fs::path& relative) {
  auto parent = ParentOf(relative);
  if (!parent)
    return;
  ::unlinkat(*parent, relative.filename().c_str(), 0);
  if (*parent != fd_)
    ::close(*parent);
}

std::expected<void, std::string> Destination::MakeSymlink(const fs::path& relative,
                                                          const std::string& target) {
  if (!LinkStaysInside(relative, target)) {
    return std::unexpected("ligação para fora do destino recusada: " + relative.string() + " -> " +
                           target);
  }
  auto parent = ParentOf(relative);
  if (!parent)
    return std::unexpected(parent.error());
  ::unlinkat(*parent, relative.filename().c_str(), 0);
  const int result = ::symlinkat(target.c_str(), *parent, relative.filename().c_str());
  const int saved = errno;
  if (*parent != fd_)
    ::close(*parent);
  if (result != 0) {
    errno = saved;
    return std::unexpected(Errno("não foi possível criar a ligação " + relative.string()));
  }
  return {};
}

std::expected<void, std::string> Budget::AddEntry() {
  if (++entries_ > limits_.maxEntries) {
    return std::unexpected("o arquivo compactado tem entradas demais");
  }
  return {};
}

std::expected<void, std::string> Budget::AddBytes(std::uint64_t bytes) {
  bytes_ += bytes;
  if (bytes_ > limits_.maxTotalBytes) {
    return std::unexpected("o conteúdo descompactado passa do limite");
  }
  return {};
}

bool WriteAt(int fd, const void* data, std::size_t size, std::int64_t offset) {
  const char* p = static_cast<const char*>(data);
  while (size > 0) {
    const ssize_t n = ::pwrite(fd, p, size, static_cast<off_t>(offset));
    if (n < 0) {
      if (errno == EINTR)
        continue;
      return false;
    }
    p += n;
    offset += n;
    size -= static_cast<std::size_t>(n);
  }
  return true;
}

}  // namespace archives
