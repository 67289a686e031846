#pragma once

#include <QString>
#include <cstdint>
#include <memory>

#include "app/Screen.h"

class QLabel;
class QTimer;
class PictureButton;
class SmoothProgressBar;
class TUMPDownloader;

// The firmware download screen of most devices, shown modally by the recovery
// flow: it drives the resumable downloader, polls it every 200 ms and shows
// its progress; the user may put the download off, and it then continues in a
// later run from the state file.
class TDownloadMultipart : public TStageDialog {
  Q_OBJECT

 public:
  explicit TDownloadMultipart(QWidget* parent = nullptr);
  ~TDownloadMultipart() override;

  bool VerificaIntegridadeFirmware();

  QString UrlPassada;
  QString filename;
  QString Md5Passado;

  QLabel* Label1() const { return label1_; }
  QLabel* Lstatus() const { return lstatus_; }
  QLabel* lvelocidade() const { return lvelocidade_; }
  QLabel* ltempoEstimado() const { return ltempoEstimado_; }
  SmoothProgressBar* AbProgress() const { return abProgress_; }
  PictureButton* BtContinuarMaisTarde() const { return btContinuarMaisTarde_; }
  QTimer* Tempo() const { return tempo_; }
  // The state file of this screen's transfers.
  static QString FileIni();

 protected:
  void FormShow() override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void iniciaprocessoTimer();
  void TempoTimer();
  void BtContinuarMaisTardeClick();

  bool alreadykicked = false;
  std::uint32_t tempoinicio = 0;
  std::unique_ptr<TUMPDownloader> downloader_;

  QLabel* image2_;
  QLabel* label1_;
  QLabel* label2_;
  QLabel* label3_;
  QLabel* label4_;
  SmoothProgressBar* abProgress_;
  QLabel* lstatus_;
  QLabel* lvelocidade_;
  QLabel* ltempoEstimado_;
  PictureButton* btContinuarMaisTarde_;
  QLabel* tamanho_;
  PictureButton* btcontinuar_;
  QTimer* iniciaprocesso_;
  QTimer* tempo_;
};
