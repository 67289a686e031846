#pragma once

#include <functional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace app {

// MD5 of the file's whole content as 32 upper-case hexadecimal digits; empty
// when the file does not exist. Throws std::runtime_error when the file
// cannot be opened or read (a folder, no permission, an I/O error).
std::string MD5File(const std::string& FileName);

// "http://" and then "https://" (any letter case) become "c:\", every "/"
// becomes "\", and what follows the last "\" or ":" is returned: the last
// path segment of a URL, query included.
std::string ExtractFileNameFromURL(const std::string& url);

// Case-insensitive match of a file name against a pattern with the
// wildcards * (any run of characters) and ? (one character); "*.*"
// matches every name.
bool MatchesFileMask(std::string_view name, std::string_view mask);

// Raised by the file search with one of these texts.
class FileSearchError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};
inline constexpr const char* kPathNotFound = "The specified path was not found";
inline constexpr const char* kInvalidSearchPattern = "Invalid characters in search pattern";
inline constexpr const char* kPathTooLong = "The specified path is too long";

// Full paths of the files under `startDir` (all its subfolders included)
// whose names match `pattern`, in walk order: each folder's entries in the
// order the file system lists them, a subfolder entered where its entry is
// listed. Symbolic links to folders are not entered. Throws FileSearchError
// for a start folder that does not exist, an empty or invalid pattern, or a
// path that is too long.
std::vector<std::string> SearchFiles(const std::string& startDir, const std::string& pattern);

// The last file of SearchFiles(mainPath, aFile), or "".
std::string localizaArquivos(const std::string& mainPath, const std::string& aFile);

// The folder, with a trailing "/", of the last file of SearchFiles(root,
// FileParam), or "".
std::string LocateFirmwareDeepDir(const std::string& root, const std::string& FileParam);

// Deletes the folder `FullPath` and everything in it, entry by entry in
// listing order, stopping at the first failure; `killRewriters` runs once
// for every folder visited, before that folder is removed. Symbolic links
// are removed as links, never followed. A file whose owner-write bit is
// clear counts as read-only and is not deleted. True when the folder and
// everything in it are gone; false for a missing folder (after the kills).
bool RecursiveDelete(const std::string& FullPath, const std::function<void()>& killRewriters);

// Writes `Command` to `BATFileName`, split into lines at CR LF, CR or LF
// and each line ended by CR LF, in the system's code page (UTF-8) without a
// byte-order mark, replacing an existing file. Errors are swallowed.
void CriaBatNoSlash(const std::string& BATFileName, const std::string& Command);

}  // namespace app
