#pragma once

#include <QColor>
#include <QFont>
#include <QPixmap>
#include <QSize>
#include <QString>

class QLabel;
class QRect;
class QWidget;

// The program's palette.
inline constexpr QRgb kStageColour = qRgb(12, 24, 39);   // the stage and the window's base
inline constexpr QRgb kScreenColour = qRgb(16, 31, 50);  // every step screen's background
inline constexpr QRgb kGoldColour = qRgb(205, 154, 51);  // titles and highlights
inline constexpr QRgb kWhiteColour = qRgb(255, 255, 255);
inline constexpr QRgb kKeyColour = qRgb(243, 237, 240);  // dialog pixels that are see-through

// The size of the stage and of every step screen on it.
inline constexpr int kStageWidth = 735;
inline constexpr int kStageHeight = 592;

// The artwork carried by the program, as resource paths.
namespace art {
inline constexpr char kMainBackground[] = ":/art/main_background.svg";        // 1022 x 638
inline constexpr char kWaitingBackground[] = ":/art/waiting_background.svg";  // 735 x 592
inline constexpr char kClosingBackground[] = ":/art/closing_background.svg";  // 735 x 592
inline constexpr char kClosingPicture[] = ":/art/closing_picture.svg";        // 160 x 160
inline constexpr char kMessageBackdrop[] = ":/art/message_backdrop.svg";      // 735 x 592
inline constexpr char kMessageBox[] = ":/art/message_box.svg";                // 605 x 274
inline constexpr char kMinimise[] = ":/art/minimise.svg";                     // 32 x 32
inline constexpr char kClose[] = ":/art/close.svg";                           // 32 x 32
// Dialog buttons, 112 x 25 and, with the suffix _small, 98 x 24.
inline constexpr char kBtnSim[] = ":/art/btn_sim.svg";
inline constexpr char kBtnNao[] = ":/art/btn_nao.svg";
inline constexpr char kBtnOk[] = ":/art/btn_ok.svg";
inline constexpr char kBtnSimSmall[] = ":/art/btn_sim_small.svg";
inline constexpr char kBtnNaoSmall[] = ":/art/btn_nao_small.svg";
inline constexpr char kBtnOkSmall[] = ":/art/btn_ok_small.svg";
// Step screen buttons, 214 x 40.
inline constexpr char kBtnContinuar[] = ":/art/btn_continuar.svg";
inline constexpr char kBtnVoltar[] = ":/art/btn_voltar.svg";
inline constexpr char kBtnCancelar[] = ":/art/btn_cancelar.svg";
inline constexpr char kBtnAvancar[] = ":/art/btn_avancar.svg";
inline constexpr char kBtnFechar[] = ":/art/btn_fechar.svg";
inline constexpr char kBtnConfirmar[] = ":/art/btn_confirmar.svg";
}  // namespace art

// The font for a family named by the screens: "Roboto", "Gilmer Light" and
// "Gilmer Medium" (the last two are served by the free family Lato in the
// matching weight). Any other name is used as it is.
QFont SolvantaFont(const QString& family, int pixelSize, bool bold);

// Renders an artwork picture at `size` (its own size when empty); a null
// pixmap when the picture cannot be read.
QPixmap ArtPixmap(const QString& path, QSize size = {});

// The picture's own size; empty when it cannot be read.
QSize ArtSize(const QString& path);

// Makes every pixel of `backdrop` that has the key colour see-through in
// `window` (a window mask, so that no compositor is needed).
void SetKeyColourMask(QWidget* window, const QPixmap& backdrop);

// Sets the colour a widget fills its background with.
void SetBackgroundColour(QWidget* widget, const QColor& colour);

// Sets a widget's text colour.
void SetTextColour(QWidget* widget, const QColor& colour);

// A caption in "Gilmer Light" of `pixels` pixels and `colour` at `place`.
QLabel* LightLabel(QWidget* parent, const char* name, const QString& text, const QRect& place,
                   int pixels, QRgb colour, Qt::Alignment align = Qt::AlignLeft | Qt::AlignVCenter);
