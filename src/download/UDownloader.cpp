#include "download/UDownloader.h"

#include <curl/curl.h>

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QUrl>
#include <algorithm>

namespace {

// Blocks as large as this keep the work events few on large files.
constexpr long kBufferSize = 256 * 1024;
// A server that stops sending for this long ends the attempt.
constexpr long kStallSeconds = 60;
constexpr long kConnectSeconds = 30;

void LetWindowMessagesRun() {
  if (QCoreApplication::instance())
    QCoreApplication::processEvents();
}

// Blanks and characters outside ASCII are percent-encoded; escapes already in
// the URL are kept.
std::string EncodedUrl(const std::string& url) {
  const QUrl parsed(QString::fromStdString(url), QUrl::TolerantMode);
  return parsed.isValid() ? parsed.toEncoded().toStdString() : url;
}

}  // namespace

void TDownloader::CurlDeleter::operator()(CURL* curl) const {
  curl_easy_cleanup(curl);
}

TDownloader::TDownloader(std::string caBundle)
    : DL(curl_easy_init()), caBundle_(std::move(caBundle)) {}

TDownloader::~TDownloader() = default;

bool TDownloader::Download(const std::string& url, const std::string& filename) {
  bool ok = Attempt(url, filename);
  if (!ok)
    ok = Attempt(url, filename);
  if (!ok && OnError)
    OnError(this);
  return ok;
}

void TDownloader::SetProgress(std::int64_t progress) {
  FProgress = progress;
  LetWindowMessagesRun();
  if (OnProgress)
    OnProgress(this);
}

void TDownloader::WorkBegin(std::int64_t announced) {
  begun_ = true;
  received_ = 0;
  WorkCountMax = std::max<std::int64_t>(announced, 0);
  SetProgress(0);
}

void TDownloader::Work(std::int64_t received) {
  received_ += received;
  const std::int64_t percent = WorkCountMax > 0 ? received_ * 100 / WorkCountMax : 0;
  SetProgress(std::clamp<std::int64_t>(percent, 0, 100));
}

std::size_t TDownloader::OnHeader(char* data, std::size_t size, std::size_t count, void* self) {
  auto* d = static_cast<TDownloader*>(self);
  const std::size_t length = size * count;
  // The blank line that ends an answer's headers; an answer that will be
  // followed to another address is not the transfer's own.
  const bool blank =
      (length == 2 && data[0] == '\r' && data[1] == '\n') || (length == 1 && data[0] == '\n');
  if (!blank)
    return length;
  long status = 0;
  curl_easy_getinfo(d->DL.get(), CURLINFO_RESPONSE_CODE, &status);
  char* redirect = nullptr;
  curl_easy_getinfo(d->DL.get(), CURLINFO_REDIRECT_URL, &redirect);
  if (status >= 300 && status < 400 && redirect)
    return length;
  if (status < 200)
    return length;  // 100 Continue and the like
  d->lastStatus_ = status;
  curl_off_t announced = -1;
  curl_easy_getinfo(d->DL.get(), CURLINFO_CONTENT_LENGTH_DOWNLOAD_T, &announced);
  d->WorkBegin(announced);
  return length;
}

std::size_t TDownloader::OnBody(char* data, std::size_t size, std::size_t count, void* self) {
  auto* d = static_cast<TDownloader*>(self);
  const std::size_t length = size * count;
  if (!d->begun_)
    d->WorkBegin(0);
  // Only the body of a 200 answer is kept; other bodies are read and dropped.
  if (d->lastStatus_ == 200 &&
      d->FileStream->write(data, static_cast<qint64>(length)) != static_cast<qint64>(length)) {
    return 0;
  }
  d->Work(static_cast<std::int64_t>(length));
  return length;
}

bool TDownloader::Attempt(const std::string& url, const std::string& filename) {
  FFileName = filename;
  if (Busy() || !DL)
    return false;

  const QString target = QString::fromStdString(filename);
  if (QFileInfo::exists(target))
    QFile::remove(target);
  if (QFileInfo::exists(target))
    return false;

  FileStream = std::make_unique<QSaveFile>(target);
  if (!FileStream->open(QIODevice::WriteOnly)) {
    FileStream.reset();
    return false;
  }

  CURL* curl = DL.get();
  curl_easy_reset(curl);
  const std::string encoded = EncodedUrl(url);
  curl_easy_setopt(curl, CURLOPT_URL, encoded.c_str());
  curl_easy_setopt(curl, CURLOPT_PROTOCOLS_STR, "http,https");
  curl_easy_setopt(curl, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
  curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
  curl_easy_setopt(curl, CURLOPT_USERAGENT, kUserAgent);
  curl_easy_setopt(curl, CURLOPT_FOLLOWLOCATION, 1L);
  curl_easy_setopt(curl, CURLOPT_MAXREDIRS, 10L);
  curl_easy_setopt(curl, CURLOPT_CONNECTTIMEOUT, kConnectSeconds);
  curl_easy_setopt(curl, CURLOPT_LOW_SPEED_LIMIT, 1L);
  curl_easy_setopt(curl, CURLOPT_LOW_SPEED_TIME, kStallSeconds);
  curl_easy_setopt(curl, CURLOPT_BUFFERSIZE, kBufferSize);
  curl_easy_setopt(curl, CURLOPT_HEADERFUNCTION, &TDownloader::OnHeader);
  curl_easy_setopt(curl, CURLOPT_HEADERDATA, this);
  curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, &TDownloader::OnBody);
  curl_easy_setopt(curl, CURLOPT_WRITEDATA, this);
  curl_easy_setopt(curl, CURLOPT_SSL_VERIFYPEER, 1L);
  curl_easy_setopt(curl, CURLOPT_SSL_VERIFYHOST, 2L);
  if (!caBundle_.empty())
    curl_easy_setopt(curl, CURLOPT_CAINFO, caBundle_.c_str());

  lastStatus_ = 0;
  begun_ = false;
  received_ = 0;
  WorkCountMax = 0;
  const CURLcode result = curl_easy_perform(curl);
  if (begun_)
    SetProgress(100);
  if (result != CURLE_OK)
    SetProgress(0);

  // A transfer cut short never reaches the target, whatever its status.
  const bool whole = result == CURLE_OK && lastStatus_ == 200 && received_ > 0;
  bool ok = false;
  if (whole) {
    ok = FileStream->commit();
  } else {
    FileStream->cancelWriting();
  }
  FileStream.reset();
  return ok;
}
