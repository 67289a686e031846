#include "platform/JsonStateFile.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QSaveFile>

namespace platform {

namespace {

// Holds an exclusive flock for its lifetime.
class FileLock {
 public:
  explicit FileLock(const std::string& path)
      : fd_(::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644)) {
    if (fd_ >= 0 && ::flock(fd_, LOCK_EX) != 0) {
      ::close(fd_);
      fd_ = -1;
    }
  }
  ~FileLock() {
    if (fd_ >= 0) {
      ::close(fd_);  // releases the lock
    }
  }
  FileLock(const FileLock&) = delete;
  FileLock& operator=(const FileLock&) = delete;
  bool Held() const { return fd_ >= 0; }

 private:
  int fd_;
};

}  // namespace

JsonStateFile::JsonStateFile(std::string path) : path_(std::move(path)) {}

std::optional<QJsonObject> JsonStateFile::Load() const {
  QFile file(QString::fromStdString(path_));
  if (!file.exists()) {
    return QJsonObject{};
  }
  if (!file.open(QIODevice::ReadOnly)) {
    return std::nullopt;
  }
  const QByteArray bytes = file.readAll();
  if (bytes.trimmed().isEmpty()) {
    return QJsonObject{};
  }
  QJsonParseError error;
  const QJsonDocument document = QJsonDocument::fromJson(bytes, &error);
  if (error.error != QJsonParseError::NoError || !document.isObject()) {
    return std::nullopt;
  }
  return document.object();
}

bool JsonStateFile::Update(const std::function<bool(QJsonObject&)>& change) const {
  const QString path = QString::fromStdString(path_);
  if (!QDir().mkpath(QFileInfo(path).absolutePath())) {
    return false;
  }
  FileLock lock(path_ + ".lock");
  if (!lock.Held()) {
    return false;
  }
  std::optional<QJsonObject> state = Load();
  if (!state) {
    return false;
  }
  if (!change(*state)) {
    return false;
  }
  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly)) {
    return false;
  }
  file.write(QJsonDocument(*state).toJson(QJsonDocument::Indented));
  return file.commit();
}

}  // namespace platform
