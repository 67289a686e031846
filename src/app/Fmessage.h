#pragma once

#include "app/Screen.h"

class QLabel;
class QTextEdit;
class PictureButton;

// The notice and question dialog laid over the stage: a message box with
// either OK or Sim and Não, and the text either plain or with bold phrases.
class TFmessage : public TStageDialog {
  Q_OBJECT

 public:
  explicit TFmessage(QWidget* parent = nullptr);

  // Shows `aTexto`; with `SimNao` true only for Sim, else always true.
  bool MsgPadrao(const QString& aTexto, bool SimNao);
  // As above, the text in the rich text panel with the phrases of
  // `aBoldText` (separated by "*") in bold.
  bool MsgPadrao(const QString& aTexto, bool SimNao, const QString& aBoldText);
  // Sets the first occurrence of `aString` in `re` bold.
  void MakeItBold(QTextEdit* re, const QString& aString);

  QTextEdit* RichText() const { return richText_; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void FormShow() override;

 private:
  void SetButtons(bool SimNao);
  bool Answer(bool SimNao);

  QLabel* mensagem_;
  QWidget* panel1_;
  QTextEdit* richText_;
  PictureButton* btnNao_;
  PictureButton* btnOk_;
  PictureButton* btnSim_;
};

// The parts both dialogs share: the backdrop whose key colour is
// see-through, the message box and the title.
void BuildMessageBox(QDialog* dialog, const char* backdropName);

// A picture button on the dialogs' button row that closes `dialog` with `result`.
PictureButton* AddAnswerButton(QDialog* dialog, const char* art, const char* name, int left,
                               int result);
