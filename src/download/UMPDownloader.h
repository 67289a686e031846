#pragma once

#include <QLocale>
#include <QString>
#include <chrono>
#include <cstdint>
#include <memory>
#include <optional>

#include "download/MultiPartDownload.h"

class QTimer;

// Byte-size text: "512,00 B", "1,50 KB", "3,00 GB" under a Brazilian locale;
// "0" for 0 and for negative counts.
QString ByteSizeText(std::int64_t bytes, const QLocale& locale = QLocale());
// Hours:minutes:seconds of a duration rounded to whole seconds, halves to even.
QString RemainingTimeText(double seconds);
// The speed text: (bytes per second / 1 048 576) x 8.9 with two decimals and
// the locale's thousands separator, followed by " MB".
QString SpeedText(double bytesPerSecond, const QLocale& locale = QLocale());

// The bar's percentage of `size` at `position`, rounded halves to even; 0
// for a size of 0.
int DownloadPercent(std::int64_t size, std::int64_t position);

// Whether the local file's MD5 equals the expected one (hexadecimal digits
// compared without regard to case). A missing or unreadable file is never
// intact, not even against an empty checksum.
bool FirmwareIntact(const QString& fileName, const QString& expectedMd5);

// Where "DS.ini" lies: the executable's folder when it is writable, else the
// data folder.
QString StateFileFolder(const QString& executableFolder, const QString& dataFolder);

// The "Download"/"URL" of a state file; nullopt when it cannot be read.
std::optional<QString> StateFileUrl(const QString& fileIni);

// Keeps the state file only when it belongs to this transfer: it is deleted
// when the local file is missing or when it names another URL (a state file
// that cannot be read is left alone).
void DiscardForeignState(const QString& fileIni, const QString& url, const QString& localFile);

// Downloads one resource through the multi-part component, keeping an
// unfinished transfer's state in "DS.ini" so that it continues in a later run,
// and turning the component's counters into the download screen's texts. Used
// from the GUI thread only; the owner polls it every 200 ms.
class TUMPDownloader {
 public:
  // Create: one connection, five attempts, the URL's port, no credentials.
  explicit TUMPDownloader(const QString& stateFolder);
  ~TUMPDownloader();

  void SetDownload(const QString& Url, const QString& ArquivoLocal);
  void StarDownload(QTimer* Timer);
  void StopDownload(QTimer* Timer);
  void PauseDownload();
  void ResumeDownload();
  bool GetStatusDownload();
  void SetTotalDeBytes();

  std::int64_t GetTotalDeBytesInt() const { return VTotalDeBytesInt; }
  const QString& GetTotalDeBytesStr() const { return VTotalDeBytesStr; }
  std::int64_t GetBytesProcessadosInt() const { return VBytesProcessadosInt; }
  const QString& GetBytesProcessadorStr() const { return VBytesProcessadosStr; }
  const QString& GetTempoEstimado() const { return VTempoEstimado; }
  const QString& GetVelocidadeDeDownload() const { return VVelocidadeDeDownload; }

  // While the transfer runs, the state file is rewritten this often from the
  // poll, so a killed program resumes close to where it stopped.
  std::chrono::milliseconds CheckpointInterval{1000};

  std::unique_ptr<download::TMultiPartDownloader> DownLoader;
  QString FileIni;
  std::int64_t VTotalDeBytesInt = 0;
  QString VTotalDeBytesStr;
  std::int64_t VBytesProcessadosInt = 0;
  QString VBytesProcessadosStr;
  QString VTempoEstimado;
  QString VVelocidadeDeDownload;

 private:
  void DeleteStateFile();
  std::chrono::steady_clock::time_point lastCheckpoint_{};
};
