#include "catalogue/FSModel.h"

#include <QEvent>
#include <QFile>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QStyledItemDelegate>

#include "app/Globals.h"
#include "app/Look.h"
#include "app/PictureButton.h"
#include "app/UAPI.h"
#include "app/fp.h"
#include "catalogue/DataModule.h"
#include "catalogue/Selection.h"
#include "catalogue/SelectionArt.h"
#include "catalogue/acceptcontract.h"

namespace {

const QString kRadicalPrompt = QStringLiteral("Insira o radical do produto e pressione enter");
constexpr int kPictureRole = Qt::UserRole + 1;

// Paints an item: its picture centred above the caption band.
class ItemDelegate : public QStyledItemDelegate {
 public:
  using QStyledItemDelegate::QStyledItemDelegate;

  QSize sizeHint(const QStyleOptionViewItem&, const QModelIndex&) const override {
    return {TSmoothImageList::kItemWidth, TSmoothImageList::kItemHeight};
  }

  void paint(QPainter* painter, const QStyleOptionViewItem& option,
             const QModelIndex& index) const override {
    const QRect r = option.rect;
    const bool hot = option.state & (QStyle::State_MouseOver | QStyle::State_Selected);
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing);
    painter->setPen(QPen(hot ? QColor(kGoldColour) : QColor(0x2d, 0x4a, 0x6e), hot ? 2 : 1));
    painter->setBrush(QColor(0xff, 0xff, 0xff));
    painter->drawRoundedRect(r.adjusted(1, 1, -1, -1), 6, 6);
    const QRect pictureBox(r.left() + 4, r.top() + 4, r.width() - 8,
                           r.height() - TSmoothImageList::kCaptionHeight - 4);
    const QImage picture = index.data(kPictureRole).value<QImage>();
    if (!picture.isNull())
      painter->drawImage(pictureBox, picture);
    const QRect band(r.left() + 1, r.bottom() - TSmoothImageList::kCaptionHeight + 1, r.width() - 2,
                     TSmoothImageList::kCaptionHeight - 1);
    painter->setPen(Qt::NoPen);
    painter->setBrush(QColor(0x1c, 0x36, 0x57));
    painter->drawRect(band);
    QFont font(QStringLiteral("Roboto"));
    font.setPointSize(7);
    font.setBold(true);
    painter->setFont(font);
    painter->setPen(Qt::white);
    painter->drawText(band.adjusted(4, 2, -4, -2), Qt::AlignCenter | Qt::TextWordWrap,
                      index.data(Qt::DisplayRole).toString());
    painter->restore();
  }
};

}  // namespace

TSmoothImageList::TSmoothImageList(QWidget* parent) : QListWidget(parent) {
  setViewMode(QListView::IconMode);
  setFlow(QListView::LeftToRight);
  setWrapping(true);
  setResizeMode(QListView::Adjust);
  setMovement(QListView::Static);
  setUniformItemSizes(true);
  setSpacing(kSpacing);
  setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
  setSelectionMode(QAbstractItemView::NoSelection);
  setMouseTracking(true);
  setFrameShape(QFrame::NoFrame);
  setItemDelegate(new ItemDelegate(this));
  setStyleSheet(QStringLiteral("QListWidget { background: transparent; }"));
}

void TSmoothImageList::ClearItems() {
  ++generation_;
  pending_ = 0;
  clear();
}

void TSmoothImageList::AddItem(const QString& picture, const QString& fallback,
                               const QString& caption) {
  auto* item = new QListWidgetItem(caption, this);
  item->setSizeHint({kItemWidth, kItemHeight});
  const int row = count() - 1;
  const int generation = generation_;
  ++pending_;
  LoadPictureInBackground(picture, {kItemWidth - 8, kItemHeight - kCaptionHeight - 4}, this,
                          [this, generation, row, fallback](const QImage& image) {
                            PictureArrived(generation, row, image, fallback);
                          });
}

void TSmoothImageList::PictureArrived(int generation, int row, const QImage& image,
                                      const QString& fallback) {
  if (generation != generation_)
    return;
  if (image.isNull() && !fallback.isEmpty()) {
    // The picture is there but unreadable: the stand-in takes its place.
    LoadPictureInBackground(fallback, {kItemWidth - 8, kItemHeight - kCaptionHeight - 4}, this,
                            [this, generation, row](const QImage& stand) {
                              PictureArrived(generation, row, stand, {});
                            });
    return;
  }
  --pending_;
  if (QListWidgetItem* it = item(row))
    it->setData(kPictureRole, image);
}

TFSModel::TFSModel(QWidget* parent) : TStageScreen(parent) {
  setObjectName(QStringLiteral("FSModel"));
  ArtLabel(this, QStringLiteral("Image3"), selart::kStepBackground, 0, 0);
  auto* label1 =
      TextLabel(this, QStringLiteral("Label1"), QStringLiteral("Selecione seu modelo abaixo:"),
                QStringLiteral("Gilmer Medium"), 22, true, kGoldColour);
  label1->setGeometry(24, 22, 400, 34);

  radical_ = new QLineEdit(kRadicalPrompt, this);
  radical_->setObjectName(QStringLiteral("radical"));
  radical_->setFont(SolvantaFont(QStringLiteral("Roboto"), 14, false));
  radical_->setGeometry(24, 76, 400, 32);
  // Focus only by a click, so the prompt stays until the user picks the box.
  radical_->setFocusPolicy(Qt::ClickFocus);
  radical_->installEventFilter(this);
  connect(radical_, &QLineEdit::returnPressed, this, &TFSModel::radicalEnter);
  image1_ = ArtLabel(this, QStringLiteral("Image1"), selart::kHelpQuestion, 434, 76);
  image1_->installEventFilter(this);

  ArtLabel(this, QStringLiteral("Image5"), selart::kModelFrame, 22, 118, {690, 420});
  liview_ = new TSmoothImageList(this);
  liview_->setObjectName(QStringLiteral("Liview"));
  liview_->setGeometry(27, 123, 680, 410);
  liview_->setFocusPolicy(Qt::NoFocus);
  connect(liview_, &QListWidget::itemEntered, this, &TFSModel::LiviewItemEnter);
  connect(liview_, &QListWidget::itemClicked, this, &TFSModel::LiviewClick);

  iradical_ = new QFrame(this);
  iradical_->setObjectName(QStringLiteral("iradical"));
  iradical_->setGeometry(22, 118, 690, 420);
  ArtLabel(iradical_, QStringLiteral("Image6"), selart::kHelpPanel, 0, 0, {690, 420});
  auto* label2 = TextLabel(iradical_, QStringLiteral("Label2"),
                           QStringLiteral("Como encontrar o radical do produto ?"),
                           QStringLiteral("Gilmer Medium"), 22, true, kGoldColour);
  label2->setGeometry(20, 24, 650, 32);
  label2->setAlignment(Qt::AlignCenter);
  auto* label3 =
      TextLabel(iradical_, QStringLiteral("Label3"),
                QStringLiteral("É possível encontrar o radical na parte traseira do produto."),
                QStringLiteral("Gilmer Light"), 17, false, kWhiteColour);
  label3->setGeometry(20, 70, 650, 28);
  label3->setAlignment(Qt::AlignCenter);
  ArtLabel(iradical_, QStringLiteral("Image2"), selart::kRadicalLabel, 165, 115);
  auto* label4 = TextLabel(iradical_, QStringLiteral("Label4"),
                           QStringLiteral("O radical são os ultimos 5 digitos do número de série "
                                          "(S/N) . No exemplo acima o radical é o ") +
                               QString::fromLatin1(selart::kExampleRadical),
                           QStringLiteral("Gilmer Light"), 17, false, kWhiteColour);
  label4->setWordWrap(true);
  label4->setAlignment(Qt::AlignCenter);
  label4->setGeometry(60, 270, 570, 60);
  iradical_->hide();

  image4_ = new PictureButton(QString::fromLatin1(art::kBtnVoltar), this);
  image4_->setObjectName(QStringLiteral("Image4"));
  image4_->move((kStageWidth - image4_->sizeHint().width()) / 2, 546);
  connect(image4_, &PictureButton::clicked, this, &TFSModel::Image4Click);
}

void TFSModel::FormShow() {
  radical_->setText(kRadicalPrompt);
  ShowHelp(false);
  FillList();
}

void TFSModel::FillList() {
  TADOQuery& devices = dm->devices;
  devices.Requery();
  liview_->ClearItems();
  const QString noimg = UAPI->FExecPath + QStringLiteral("noimg.jpg");
  for (devices.First(); !devices.Eof(); devices.Next()) {
    if (dm->devicesid.AsInteger() == catalogue::kUnlistedDeviceId)
      continue;
    const QString cached =
        catalogue::CachedPicture(UAPI->FImgDir, dm->devicesurl_picture.AsString());
    liview_->AddItem(QFile::exists(cached) ? cached : noimg, noimg,
                     dm->devicesdescription.AsString());
  }
  devices.First();
}

void TFSModel::ShowHelp(bool show) {
  iradical_->setVisible(show);
  liview_->setVisible(!show);
}

bool TFSModel::eventFilter(QObject* watched, QEvent* event) {
  if (watched == radical_ || watched == image1_) {
    if (event->type() == QEvent::Enter)
      ShowHelp(true);
    if (event->type() == QEvent::Leave)
      ShowHelp(false);
    if (watched == radical_ && event->type() == QEvent::FocusIn)
      radical_->clear();
  }
  return false;
}

void TFSModel::radicalEnter() {
  if (catalogue::LocateModelCode(dm->radical, dm->devices, radical_->text())) {
    fp->Fs.ShowScreen(this, acceptcontract);
  }
}

void TFSModel::LiviewItemEnter(QListWidgetItem* item) {
  if (item)
    dm->devices.Locate(QStringLiteral("description"), item->text());
}

void TFSModel::LiviewClick(QListWidgetItem* item) {
  // The pointer is over the item when it is clicked: its row is current.
  LiviewItemEnter(item);
  fp->Fs.ShowScreen(this, acceptcontract);
}

void TFSModel::Image4Click() {
  UAPI->ReturnBegining(this);
}
