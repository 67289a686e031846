#include "drivers/DrvInstall.h"

#include <QDir>
#include <QEvent>
#include <QLabel>
#include <QTimer>
#include <utility>

#include "app/Globals.h"
#include "app/Look.h"
#include "app/UAPI.h"
#include "app/WMI.h"
#include "app/fp.h"
#include "drivers/SmoothProgressBar.h"
#include "drivers/WindowsVersion.h"

// The screen's pictures live in a static library, so they are registered by
// hand before the first one is read.
static void RegisterDriverArt() {
  Q_INIT_RESOURCE(drivers);
}

namespace {

constexpr char kBackground[] = ":/drivers/background.svg";           // 735 x 592
constexpr char kMarker[] = ":/drivers/marker.svg";                   // 26 x 26
constexpr char kTrustPrompt[] = ":/drivers/prompt_trust.svg";        // 500 x 183
constexpr char kUnsignedPrompt[] = ":/drivers/prompt_unsigned.svg";  // 300 x 186

QLabel* Picture(QWidget* parent, const char* name, const char* art, const QRect& place) {
  auto* label = new QLabel(parent);
  label->setObjectName(QLatin1String(name));
  label->setGeometry(place);
  label->setPixmap(ArtPixmap(QLatin1String(art), place.size()));
  return label;
}

QLabel* Text(QWidget* parent, const char* name, const QString& text, QPoint place, int pixels,
             bool bold, QRgb colour) {
  auto* label = new QLabel(text, parent);
  label->setObjectName(QLatin1String(name));
  label->setFont(SolvantaFont(QStringLiteral("Gilmer Light"), pixels, bold));
  SetTextColour(label, QColor(colour));
  label->move(place);
  label->adjustSize();
  return label;
}

QString ProgressText(int done, int last) {
  return QStringLiteral("Instalando driver %1/%2").arg(done).arg(last);
}

}  // namespace

TDrvInstall::TDrvInstall(QWidget* parent) : TStageDialog(parent) {
  static const bool registered = (RegisterDriverArt(), true);
  (void)registered;
  setObjectName(QStringLiteral("DrvInstall"));
  SetBackgroundColour(this, Qt::white);

  image8_ = Picture(this, "Image8", kBackground, QRect(0, 0, kStageWidth, kStageHeight));
  label1_ = Text(this, "Label1", QStringLiteral("Aguarde, instalando drivers."), {10, 10}, 27,
                 false, kGoldColour);
  label5_ = Text(this, "Label5",
                 QStringLiteral("Siga as instruções abaixo no caso de aparecer uma das janelas:"),
                 {10, 53}, 20, false, kWhiteColour);
  image3_ = Picture(this, "Image3", kMarker, QRect(10, 81, 26, 26));
  label3_ = Text(this, "Label3", QStringLiteral("Marque a opção \"Sempre Confiar...\""), {38, 85},
                 16, false, kWhiteColour);
  image4_ = Picture(this, "Image4", kMarker, QRect(10, 121, 26, 26));
  label4_ = Text(this, "Label4", QStringLiteral("Clique em \"instalar\""), {38, 125}, 16, false,
                 kWhiteColour);
  image1_ = Picture(this, "Image1", kTrustPrompt, QRect(8, 153, 500, 183));
  label6_ = Text(this, "Label6",
                 QStringLiteral("Clique na segunda opção: \"Instalar esse software de drivers "
                                "mesmo assim\""),
                 {8, 342}, 16, false, kWhiteColour);
  label6_->setWordWrap(true);
  label6_->setGeometry(8, 342, 389, 60);
  label6_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  image2_ = Picture(this, "Image2", kUnsignedPrompt, QRect(403, 342, 300, 186));
  lstatus_ = Text(this, "Lstatus", QStringLiteral("Progresso: Instalando..."), {10, 512}, 13, true,
                  kWhiteColour);
  progresso_ = Text(this, "progresso", QString(), {168, 509}, 16, false, kWhiteColour);

  progressBar_ = new SmoothProgressBar(QColor(kGoldColour), QColor(kStageColour), this);
  progressBar_->setObjectName(QStringLiteral("ProgressBar"));
  progressBar_->setGeometry(8, 534, 695, 33);

  fechaform_ = new QTimer(this);
  fechaform_->setObjectName(QStringLiteral("fechaform"));
  fechaform_->setInterval(100);
  connect(fechaform_, &QTimer::timeout, this, &TDrvInstall::fechaformTimer);
}

void TDrvInstall::FormShow() {
  if (::fp != nullptr) {
    move(::fp->StageTopLeft().x(), ::fp->frameGeometry().top() + 10);
  }
  installPending_ = true;
  if (::UAPI != nullptr) {
    ::UAPI->ProcessMessages();
  }
}

bool TDrvInstall::event(QEvent* event) {
  const bool handled = TStageDialog::event(event);
  // The window is activated again whenever the user comes back from the
  // installers' prompts; the installation runs only once per showing.
  if (event->type() == QEvent::WindowActivate && std::exchange(installPending_, false)) {
    FormActivate();
  }
  return handled;
}

void TDrvInstall::FormActivate() {
  TUAPI& uapi = *::UAPI;
  const QStringList drivers = uapi.ArrayListOfDrivers;
  const int last = static_cast<int>(drivers.size()) - 1;
  progressBar_->SetPosition(0);
  progressBar_->SetMaximum(last);
  progresso_->setText(ProgressText(1, last));
  progresso_->adjustSize();

  const bool windows7 = uapi.WMI() != nullptr && drivers::IsWindows7(uapi.WMI()->Caption());
  const QString batch = uapi.FdataDir + QStringLiteral("installdriver.bat");
  for (int i = 0; i <= last; ++i) {
    const QString& file = drivers[i];
    uapi.CriaBatNoSlash(batch, uapi.fWin32Dir + QStringLiteral("pnputil.exe") +
                                   QStringLiteral(" -a ") + QLatin1Char('"') + file +
                                   QLatin1Char('"'));
    // On Windows 7 only the packages made for it are added.
    if (!windows7 || file.contains(QLatin1String("win7"))) {
      uapi.ExecuteAndWait(batch, QString(), QString(), true);
      if (uapi.Terminating())
        return;
    }
    progressBar_->SetPosition(i);
    progresso_->setText(ProgressText(i, last));
    progresso_->adjustSize();
  }

  uapi.ExecuteAndWait(
      uapi.Fiswindows64 ? QStringLiteral("dpinst64.exe") : QStringLiteral("dpinst.exe"), QString(),
      uapi.FdataDir + QStringLiteral("SoftwareDrivers") + QDir::separator(), false);
  if (uapi.Terminating())
    return;
  fechaform_->start();
}

void TDrvInstall::fechaformTimer() {
  fechaform_->stop();
  close();
}
