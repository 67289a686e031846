#pragma once

#include <QStringList>
#include <memory>

#include "app/Screen.h"

class QLabel;
class QTimer;
class SmoothProgressBar;
class TDownloader;

// The image cache screen, shown modally over the stage: it fetches the
// device pictures listed in `aprodutosurl` that the image cache folder does
// not hold yet, and closes itself half a second after the last one.
class TImg : public TStageDialog {
  Q_OBJECT

 public:
  explicit TImg(QWidget* parent = nullptr);
  ~TImg() override;

  QStringList aprodutosurl;  // picture URLs, filled before the screen is shown
  int aContador = 0;         // URLs handled so far

  QLabel* progressoGeral() const { return progressoGeral_; }
  SmoothProgressBar* progressBar() const { return progressBar_; }

 protected:
  void FormShow() override;

 private:
  void FormActivate();
  void DownloaderProgress(TDownloader* Sender);
  QString CountText(int current) const;

  std::unique_ptr<TDownloader> Downloader;
  QLabel* image2_;
  QLabel* label1_;
  QLabel* progressoGeral_;
  SmoothProgressBar* progressBar_;
  QTimer* FecharForm;
};
