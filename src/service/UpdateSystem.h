#pragma once

#include <QStringList>
#include <memory>

#include "app/Screen.h"

class QLabel;
class QTimer;
class SmoothProgressBar;
class TDownloader;

// The first step screen of every run: asks the update service for newer
// files of the program. Without any it hands the stage on; otherwise it
// downloads them into the hidden work folder, says that the program will
// restart, starts the update installer and ends the program.
class TUpdateSystem : public TStageScreen {
  Q_OBJECT

 public:
  explicit TUpdateSystem(QWidget* parent = nullptr);
  ~TUpdateSystem() override;

  // The download queue: URLs and the folders their files are saved in.
  void AddUrl(const QString& url) { aUrl << url; }
  void AddLocalSalvar(const QString& folder) { aLocalSalvar << folder; }
  void ZeraParm();
  const QStringList& Urls() const { return aUrl; }
  const QStringList& LocaisSalvar() const { return aLocalSalvar; }

  bool Inicializado = false;
  int EtapaInt = 0;

 protected:
  void FormShow() override;

 private:
  void updaterTimer();
  void BaixarFila();
  void DownloaderProgress(TDownloader* Sender);

  QStringList aUrl;
  QStringList aLocalSalvar;
  std::unique_ptr<TDownloader> Downloader;

  QLabel* image1_;
  QLabel* image2_;
  QLabel* label2_;
  QLabel* latualizacoes_;
  QLabel* progressoGeral_;
  SmoothProgressBar* AbProgress;
  QLabel* ProgressoItem;
  SmoothProgressBar* AbProgressItem;
  QTimer* updater;
};
