#include "app/FileUtils.h"

#include <fcntl.h>
#include <openssl/evp.h>
#include <unistd.h>

#include <QList>
#include <QString>
#include <array>
#include <cerrno>
#include <climits>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>

namespace fs = std::filesystem;

namespace app {

namespace {

std::runtime_error FileError(const std::string& what, const std::string& fileName, int error) {
  return std::runtime_error(what + " \"" + fileName + "\": " + std::strerror(error));
}

class FileDescriptor {
 public:
  explicit FileDescriptor(int fd) : fd_(fd) {}
  ~FileDescriptor() {
    if (fd_ >= 0) {
      ::close(fd_);
    }
  }
  FileDescriptor(const FileDescriptor&) = delete;
  FileDescriptor& operator=(const FileDescriptor&) = delete;
  int get() const { return fd_; }

 private:
  int fd_;
};

char AsciiLower(char c) {
  return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

// Replaces every occurrence of `from` (ASCII letters in any case) by `to`,
// scanning left to right without rescanning what was inserted.
std::string ReplaceAllIgnoringCase(const std::string& text, std::string_view from,
                                   std::string_view to) {
  std::string result;
  result.reserve(text.size());
  std::size_t i = 0;
  while (i < text.size()) {
    bool match = i + from.size() <= text.size();
    for (std::size_t k = 0; match && k < from.size(); ++k) {
      match = AsciiLower(text[i + k]) == AsciiLower(from[k]);
    }
    if (match) {
      result += to;
      i += from.size();
    } else {
      result += text[i++];
    }
  }
  return result;
}

std::u32string CaseFolded(std::string_view text) {
  const auto folded =
      QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())).toCaseFolded().toUcs4();
  return {folded.begin(), folded.end()};
}

// Wildcard match with backtracking to the last '*' seen.
bool MatchFolded(const std::u32string& name, const std::u32string& mask) {
  std::size_t n = 0;
  std::size_t m = 0;
  std::size_t starMask = std::u32string::npos;
  std::size_t starName = 0;
  while (n < name.size()) {
    if (m < mask.size() && (mask[m] == U'?' || mask[m] == name[n])) {
      ++n;
      ++m;
    } else if (m < mask.size() && mask[m] == U'*') {
      starMask = m++;
      starName = n;
    } else if (starMask != std::u32string::npos) {
      m = starMask + 1;
      n = ++starName;
    } else {
      return false;
    }
  }
  while (m < mask.size() && mask[m] == U'*') {
    ++m;
  }
  return m == mask.size();
}

bool IsValidPattern(const std::string& pattern) {
  if (pattern.find_first_not_of(" \t") == std::string::npos) {
    return false;
  }
  for (const unsigned char c : pattern) {
    if (c < 32 || std::strchr("\"<>|/\\:", c) != nullptr) {
      return false;
    }
  }
  return true;
}

bool IsTooLong(const std::string& path) {
  if (path.size() >= PATH_MAX) {
    return true;
  }
  for (const auto& part : fs::path(path)) {
    if (part.native().size() > NAME_MAX) {
      return true;
    }
  }
  return false;
}

class FileWalk {
 public:
  explicit FileWalk(const std::string& pattern)
      : everything_(pattern == "*.*"), mask_(CaseFolded(pattern)) {}

  void Walk(const fs::path& folder, std::vector<std::string>& found) const {
    std::error_code ec;
    for (fs::directory_iterator it(folder, ec); !ec && it != fs::directory_iterator();
         it.increment(ec)) {
      std::error_code statusError;
      const auto type = it->symlink_status(statusError).type();
      if (type == fs::file_type::directory) {
        Walk(it->path(), found);
      } else if (it->is_regular_file(statusError) && Matches(it->path().filename().native())) {
        found.push_back(it->path().string());
      }
    }
    if (ec == std::errc::filename_too_long) {
      throw FileSearchError(kPathTooLong);
    }
  }

 private:
  bool Matches(const std::string& name) const {
    return everything_ || MatchFolded(CaseFolded(name), mask_);
  }

  bool everything_;
  std::u32string mask_;
};

}  // namespace

std::string MD5File(const std::string& FileName) {
  std::error_code ec;
  const auto status = fs::status(FileName, ec);
  if (status.type() == fs::file_type::not_found) {
    return "";
  }
  if (ec) {
    throw FileError("Cannot open", FileName, ec.value());
  }
  const FileDescriptor file(::open(FileName.c_str(), O_RDONLY | O_CLOEXEC));
  if (file.get() < 0) {
    throw FileError("Cannot open", FileName, errno);
  }
  const std::unique_ptr<EVP_MD_CTX, decltype(&EVP_MD_CTX_free)> context(EVP_MD_CTX_new(),
                                                                        &EVP_MD_CTX_free);
  if (!context || EVP_DigestInit_ex(context.get(), EVP_md5(), nullptr) != 1) {
    throw std::runtime_error("MD5 is not available");
  }
  std::array<unsigned char, 32768> buffer;
  for (;;) {
    const ssize_t got = ::read(file.get(), buffer.data(), buffer.size());
    if (got < 0 && errno == EINTR) {
      continue;
    }
    if (got < 0) {
      throw FileError("Cannot read", FileName, errno);
    }
    if (got == 0) {
      break;
    }
    EVP_DigestUpdate(context.get(), buffer.data(), static_cast<std::size_t>(got));
  }
  std::array<unsigned char, EVP_MAX_MD_SIZE> digest;
  unsigned int length = 0;
  EVP_DigestFinal_ex(context.get(), digest.data(), &length);
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string hex;
  for (unsigned int i = 0; i < length; ++i) {
    hex += kHex[digest[i] >> 4];
    hex += kHex[digest[i] & 0xF];
  }
  return hex;
}

std::string ExtractFileNameFromURL(const std::string& url) {
  std::string path = ReplaceAllIgnoringCase(url, "http://", "c:\\");
  path = ReplaceAllIgnoringCase(path, "https://", "c:\\");
  for (char& c : path) {
    if (c == '/') {
      c = '\\';
    }
  }
  const auto last = path.find_last_of("\\:");
  return last == std::string::npos ? path : path.substr(last + 1);
}

bool MatchesFileMask(std::string_view name, std::string_view mask) {
  return mask == "*.*" || MatchFolded(CaseFolded(name), CaseFolded(mask));
}

std::vector<std::string> SearchFiles(const std::string& startDir, const std::string& pattern) {
  if (IsTooLong(startDir)) {
    throw FileSearchError(kPathTooLong);
  }
  if (!IsValidPattern(pattern)) {
    throw FileSearchError(kInvalidSearchPattern);
  }
  std::error_code ec;
  const fs::path start = startDir.empty() ? fs::path() : fs::absolute(startDir, ec);
  if (start.empty() || ec || !fs::is_directory(start, ec)) {
    throw FileSearchError(kPathNotFound);
  }
  std::vector<std::string> found;
  FileWalk(pattern).Walk(start, found);
  return found;
}

std::string localizaArquivos(const std::string& mainPath, const std::string& aFile) {
  const auto found = SearchFiles(mainPath, aFile);
  return found.empty() ? "" : found.back();
}

std::string LocateFirmwareDeepDir(const std::string& root, const std::string& FileParam) {
  const auto found = SearchFiles(root, FileParam);
  return found.empty() ? "" : fs::path(found.back()).parent_path().string() + "/";
}

bool RecursiveDelete(const std::string& FullPath, const std::function<void()>& killRewriters) {
  std::string trimmed = FullPath;
  while (trimmed.size() > 1 && trimmed.back() == '/') {
    trimmed.pop_back();
  }
  const fs::path folder(trimmed);
  // The root folder is never a work folder: refuse it rather than empty the disk.
  const auto isFolder = [&folder, &trimmed] {
    std::error_code ec;
    return !trimmed.empty() && trimmed != "/" &&
           fs::symlink_status(folder, ec).type() == fs::file_type::directory;
  };

  bool ok = true;
  if (isFolder()) {
    std::error_code ec;
    for (fs::directory_iterator it(folder, ec); ok && !ec && it != fs::directory_iterator();
         it.increment(ec)) {
      std::error_code entryError;
      const auto status = it->symlink_status(entryError);
      if (status.type() == fs::file_type::directory) {
        ok = RecursiveDelete(it->path().string(), killRewriters);
      } else if (status.type() == fs::file_type::regular &&
                 (status.permissions() & fs::perms::owner_write) == fs::perms::none) {
        ok = false;
      } else {
        ok = fs::remove(it->path(), entryError) && !entryError;
      }
    }
  }
  if (killRewriters) {
    killRewriters();
  }
  std::error_code ec;
  return ok && isFolder() && fs::remove(folder, ec) && !ec;
}

void CriaBatNoSlash(const std::string& BATFileName, const std::string& Command) {
  std::string text;
  std::size_t i = 0;
  while (i < Command.size()) {
    const auto lineEnd = Command.find_first_of("\r\n", i);
    if (lineEnd == std::string::npos) {
      text.append(Command, i);
      text += "\r\n";
      break;
    }
    text.append(Command, i, lineEnd - i);
    text += "\r\n";
    const bool crlf =
        Command[lineEnd] == '\r' && lineEnd + 1 < Command.size() && Command[lineEnd + 1] == '\n';
    i = lineEnd + (crlf ? 2 : 1);
  }
  std::ofstream file(fs::path(BATFileName), std::ios::binary | std::ios::trunc);
  file << text;
}

}  // namespace app
