#pragma once

#include <QString>
#include <memory>

#include "app/Screen.h"
#include "download/ZipReader.h"

class QLabel;
class QTimer;
class SmoothProgressBar;
class TRAR;

// The whole-archive and current-entry percentages of a RAR progress event,
// truncated; a total of 0 counts as 0 %. The archive's may pass 100 (its
// total covers the first volume only).
struct RarPercentages {
  int archive = 0;
  int item = 0;
};
RarPercentages RarProgressPercentages(std::uint32_t archiveTotal, std::uint32_t archiveDone,
                                      std::uint32_t fileTotal, std::uint32_t fileDone);

// The firmware extraction screen, shown modally by the recovery flow between
// the download and the rewriter: it extracts the downloaded firmware archive
// into a folder of its own for the chosen device (emptied first) and leaves
// that folder in the application object's ItemIsoPlace. It closes itself two
// seconds after the work.
class TIsoExp : public TStageDialog {
  Q_OBJECT

 public:
  explicit TIsoExp(QWidget* parent = nullptr);
  ~TIsoExp() override;

  QString FirmwareFilename;
  QString extencao;
  QString diretorioExtrair;
  std::unique_ptr<TRAR> rar;
  download::ZipReader AbUnzip;

  QLabel* progressoGeral() const { return progressoGeral_; }
  QLabel* Progressoitem() const { return progressoitem_; }
  SmoothProgressBar* AbProgress() const { return abProgress_; }
  SmoothProgressBar* AbProgressItem() const { return abProgressItem_; }
  QTimer* tickclose() const { return tickclose_; }

 protected:
  void FormShow() override;

 private:
  void FormActivate();
  void tickcloseTimer();
  void RarProgress(std::uint32_t archiveTotal, std::uint32_t archiveDone, std::uint32_t fileTotal,
                   std::uint32_t fileDone);
  void AbUnzipArchiveProgress(int Progress);
  void AbUnzipArchiveItemProgress(int Progress);

  QLabel* image2_;
  QLabel* label1_;
  QLabel* progressoGeral_;
  QLabel* progressoitem_;
  SmoothProgressBar* abProgress_;
  SmoothProgressBar* abProgressItem_;
  QTimer* tickclose_;
};
