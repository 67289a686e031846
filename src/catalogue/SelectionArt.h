#pragma once

#include <QImage>
#include <QPixmap>
#include <QSize>
#include <QString>
#include <functional>

class QLabel;
class QObject;
class QWidget;

// The artwork of the selection and identification screens, as resource paths.
namespace selart {
inline constexpr char kStepBackground[] = ":/selection/step_background.svg";        // 735 x 592
inline constexpr char kWelcomeBackground[] = ":/selection/welcome_background.svg";  // 735 x 592
inline constexpr char kKindPhone[] = ":/selection/kind_phone.svg";                  // 200 x 230
inline constexpr char kKindTablet[] = ":/selection/kind_tablet.svg";
inline constexpr char kKindTv[] = ":/selection/kind_tv.svg";
inline constexpr char kKindNotebook[] = ":/selection/kind_notebook.svg";
inline constexpr char kHelpQuestion[] = ":/selection/help_question.svg";  // 32 x 32
inline constexpr char kRadicalLabel[] = ":/selection/radical_label.svg";  // 360 x 130
inline constexpr char kModelFrame[] = ":/selection/model_frame.svg";      // 690 x 430
inline constexpr char kHelpPanel[] = ":/selection/help_panel.svg";        // 690 x 430
inline constexpr char kTvPicture[] = ":/selection/tv_picture.svg";        // 300 x 210
inline constexpr char kTvHelp[] = ":/selection/tv_help.svg";              // 330 x 250
inline constexpr char kDeviceFrame[] = ":/selection/device_frame.svg";    // 382 x 382
inline constexpr char kUpdatePanel[] = ":/selection/update_panel.svg";    // 520 x 240
// The code printed on the label picture of the model screen's help.
inline constexpr char kExampleRadical[] = "FLP20";
}  // namespace selart

// Makes the selection artwork readable; every screen of it calls this first.
void EnsureSelectionArt();

// A picture label at `x`, `y` showing `artPath` at its own size (or `size`).
QLabel* ArtLabel(QWidget* parent, const QString& name, const char* artPath, int x, int y,
                 QSize size = {});

// A text label in one of the screens' families, white unless told otherwise.
QLabel* TextLabel(QWidget* parent, const QString& name, const QString& text, const QString& family,
                  int pixelSize, bool bold, QRgb colour);

// `image` scaled to fit `box` keeping its proportions, centred on a
// transparent picture of the box's size.
QImage FitCentred(const QImage& image, QSize box);

// Reads the picture file on a worker thread and hands it, fitted into `box`,
// to `done` on the GUI thread, unless `context` is gone by then. A file that
// cannot be read gives a null image.
void LoadPictureInBackground(const QString& file, QSize box, QObject* context,
                             std::function<void(const QImage&)> done);
