#pragma once

#include <QDateTime>
#include <QString>
#include <cstdint>

#include "app/Screen.h"

class QLabel;
class QTextEdit;
class QTimer;
class PictureButton;
class SmoothProgressBar;

// "Velocidade Média: " + the speed rounded to whole kilobytes per second with
// the locale's thousands separator + " Kb/s".
QString AverageSpeedText(double kilobytesPerSecond);
// "Tempo Estimado: " + the seconds as a clock time of day, so past 24 hours it
// wraps; fractions of a second are dropped.
QString EstimatedTimeText(double seconds);

// The firmware download screen of the devices whose chipset is 40, shown
// modally by the recovery flow: it fetches the file itself, block by block on
// the GUI thread, continues a partial file of an earlier run, and fetches the
// file again every 5 s while its checksum differs.
class TDIso : public TStageDialog {
  Q_OBJECT

 public:
  explicit TDIso(QWidget* parent = nullptr);

  bool VerificaIntegridadeFirmware();

  QString UrlPassada;
  QString FileName;
  QString Md5Passado;
  bool DownloadedOnce = false;

  // The retries since the screen started and where the next attempt begins.
  std::int64_t Tentativas() const { return NumeroTentativas; }
  std::int64_t Posicao() const { return FPos; }

  QLabel* Label1() const { return label1_; }
  QLabel* Lstatus() const { return lstatus_; }
  QLabel* lvelocidade() const { return lvelocidade_; }
  QLabel* ltempoEstimado() const { return ltempoEstimado_; }
  SmoothProgressBar* ProgressBar() const { return progressBar_; }
  PictureButton* Btcontinuar() const { return btcontinuar_; }
  PictureButton* BtContinuarMaisTarde() const { return btContinuarMaisTarde_; }

 protected:
  void FormShow() override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void Start();
  void Attempt();
  std::int64_t RequestSize();
  std::int64_t Transfer(std::int64_t p);
  void ProgressStep(std::int64_t p);
  void TempoShowTimer();
  void MostraVelocidadeDownloadTimer();
  void ForcaDownloadTimer();
  void BtContinuarMaisTardeClick();
  void PutOffEnded();

  bool FIsDownloading = false;
  bool IsDownloadPaused = false;
  bool IsdownloadForced = false;
  bool IsDownloadLater = false;
  std::int64_t FPos = 0;
  std::int64_t UrlFileSize = 0;
  std::int64_t FileSystemFileSize = 0;
  std::int64_t NumeroTentativas = 0;
  std::int64_t size = 0;
  std::int64_t Completed = 0;
  QDateTime fLastTime;
  std::int64_t fLastDownloaded = 0;
  QDateTime Stime;
  double VelMedia = 0;
  double SegFaltam = 0;
  QString velocidademedia;

  QLabel* label1_;
  QWidget* panel1_;
  QTextEdit* reLabel_;
  SmoothProgressBar* progressBar_;
  QLabel* lstatus_;
  QLabel* lvelocidade_;
  QLabel* ltempoEstimado_;
  QLabel* tamanho_;
  PictureButton* btcontinuar_;
  PictureButton* btContinuarMaisTarde_;
  QLabel* image1_;
  QTimer* TempoShow;
  QTimer* MostraVelocidadeDownload;
  QTimer* ForcaDownload;
  QTimer* tickclose;
  QTimer* fechaform;
};
