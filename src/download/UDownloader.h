#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

class QSaveFile;
typedef void CURL;

// Fetches one resource over HTTP or HTTPS into a local file. The body is
// streamed into a temporary file beside the target and renamed into place
// only when the whole body arrived with status 200 and is not empty, so the
// target never holds a partial body and memory stays flat whatever the size.
// Runs on the calling thread; every progress event first lets pending window
// messages run, so screens repaint and their timers tick during a transfer.
class TDownloader {
 public:
  using TNotifyEvent = std::function<void(TDownloader* Sender)>;

  static constexpr const char* kUserAgent =
      "Mozilla/5.0 (compatible; MSIE 10.0; Windows NT 6.1; Trident/6.0)";

  // `caBundle`: CA file for HTTPS certificate checks; empty for the system's.
  explicit TDownloader(std::string caBundle = {});
  ~TDownloader();
  TDownloader(const TDownloader&) = delete;
  TDownloader& operator=(const TDownloader&) = delete;

  // Two attempts; OnError once when both fail. True on success.
  bool Download(const std::string& url, const std::string& filename);

  bool Busy() const { return FileStream != nullptr; }
  std::int64_t Progress() const { return FProgress; }
  const std::string& FileName() const { return FFileName; }
  // The HTTP status of the last attempt; 0 when no answer arrived.
  long LastStatus() const { return lastStatus_; }

  TNotifyEvent OnError;
  TNotifyEvent OnProgress;

 private:
  struct CurlDeleter {
    void operator()(CURL* curl) const;
  };

  bool Attempt(const std::string& url, const std::string& filename);
  void SetProgress(std::int64_t progress);
  void WorkBegin(std::int64_t announced);
  void Work(std::int64_t received);

  static std::size_t OnHeader(char* data, std::size_t size, std::size_t count, void* self);
  static std::size_t OnBody(char* data, std::size_t size, std::size_t count, void* self);

  std::unique_ptr<CURL, CurlDeleter> DL;
  std::unique_ptr<QSaveFile> FileStream;
  std::int64_t FProgress = 0;
  std::int64_t WorkCountMax = 0;
  std::string FFileName;

  std::string caBundle_;
  long lastStatus_ = 0;
  bool begun_ = false;  // the work of the current answer has begun
  std::int64_t received_ = 0;
};
