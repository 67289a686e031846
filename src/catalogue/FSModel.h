#pragma once

#include <QListWidget>

#include "app/Screen.h"

class PictureButton;
class QLabel;
class QLineEdit;
class QFrame;

// The list of models: four columns of 160 x 200 items, each a picture over
// a caption band of 50 pixels, 5 pixels apart, scrolling vertically. Item
// pictures are read in the background; a picture that cannot be read shows
// the stand-in picture instead.
class TSmoothImageList : public QListWidget {
  Q_OBJECT

 public:
  static constexpr int kItemWidth = 160;
  static constexpr int kItemHeight = 200;
  static constexpr int kCaptionHeight = 50;
  static constexpr int kSpacing = 5;
  static constexpr int kColumns = 4;

  explicit TSmoothImageList(QWidget* parent = nullptr);

  // Removes every item; pictures still being read for them are dropped.
  void ClearItems();
  // Adds an item showing `picture` (read in the background; `fallback` when
  // it cannot be read) above `caption`.
  void AddItem(const QString& picture, const QString& fallback, const QString& caption);
  // Items whose picture has not arrived yet.
  int PendingPictures() const { return pending_; }

 private:
  void PictureArrived(int generation, int row, const QImage& image, const QString& fallback);

  int generation_ = 0;
  int pending_ = 0;
};

// The model screen of phones, tablets and notebooks: the chosen kind's
// devices as a picture list, and the model-code entry with its help panel.
class TFSModel : public TStageScreen {
  Q_OBJECT

 public:
  explicit TFSModel(QWidget* parent = nullptr);

  TSmoothImageList* Liview() const { return liview_; }
  // The model-code lookup for the text of `radical`, as Enter runs it.
  void radicalEnter();
  void LiviewItemEnter(QListWidgetItem* item);
  void LiviewClick(QListWidgetItem* item);
  void Image4Click();

 protected:
  void FormShow() override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void FillList();
  void ShowHelp(bool show);

  QLineEdit* radical_;
  QLabel* image1_;
  QFrame* iradical_;
  TSmoothImageList* liview_;
  PictureButton* image4_;
};
