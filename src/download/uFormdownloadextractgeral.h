#pragma once

#include <QList>
#include <QStringList>
#include <memory>

#include "app/Screen.h"
#include "download/ZipReader.h"

class QLabel;
class QTimer;
class SmoothProgressBar;
class TDownloader;

// The URL a queued file is fetched from: blanks as "%20", backslashes as
// "/", all in lower case.
QString ExtFilesFetchUrl(const QString& url);

// The download-and-extract screen, shown modally: it downloads the queued
// files (in practice the chip vendor's flashing tool) and unpacks the ZIP
// files among them, then closes itself half a second later. The queue is
// kept as parallel lists filled by the caller in the same order.
class TExtFiles : public TStageDialog {
  Q_OBJECT

 public:
  explicit TExtFiles(QWidget* parent = nullptr);
  ~TExtFiles() override;

  void ZeraParm();
  void AddUrl(const QString& Url);
  void AddLocalSalvar(const QString& LocalSalvar);
  void AddDescompDirSimNao(bool DescompDirSimNao);
  void AddProgressoGeralTitulo(const QString& ProgressoGeralTitulo);
  void AddExtrairParaSubDir(bool ExtrairParaSubDir);
  // Runs the queue; called when the screen becomes active.
  void Inicializacao();

  QStringList aUrl;
  QStringList aLocalSalvar;
  QStringList aProgressoGeralTitulo;
  QList<bool> aDescompDirSimNao;
  QList<bool> AExtrairParaSubDir;
  std::unique_ptr<TDownloader> Downloader;
  download::ZipReader AbUnzip;

  QLabel* ProgressoItem() const { return progressoItem_; }
  QLabel* progressoGeral() const { return progressoGeral_; }
  SmoothProgressBar* AbProgress() const { return abProgress_; }
  SmoothProgressBar* AbProgressItem() const { return abProgressItem_; }
  QTimer* FecharForm() const { return fecharForm_; }

 protected:
  void FormShow() override;

 private:
  void DownloaderProgress(TDownloader* Sender);
  void AbUnzipArchiveProgress(int Progress);

  QLabel* image2_;
  QLabel* label1_;
  QLabel* progressoItem_;
  QLabel* progressoGeral_;
  SmoothProgressBar* abProgress_;
  SmoothProgressBar* abProgressItem_;
  QTimer* fecharForm_;
};
