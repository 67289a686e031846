#pragma once

#include <QJsonObject>
#include <functional>
#include <optional>
#include <string>

namespace platform {

// A JSON object kept in one file that several processes share. Reads take
// the file as it is; changes are read-modify-write under an exclusive flock
// on "<path>.lock" and replace the file atomically (temporary file and
// rename), so a reader never sees a half-written file.
class JsonStateFile {
 public:
  explicit JsonStateFile(std::string path);

  const std::string& Path() const { return path_; }

  // The file's object; an empty object when the file does not exist, nullopt
  // when it exists but cannot be read or is not a JSON object.
  std::optional<QJsonObject> Load() const;

  // Runs `change` on the current object under the lock and writes the result
  // when `change` returns true. False (and nothing written) when `change`
  // declines, the lock cannot be taken, the current file is unreadable or the
  // write fails.
  bool Update(const std::function<bool(QJsonObject&)>& change) const;

 private:
  std::string path_;
};

}  // namespace platform
