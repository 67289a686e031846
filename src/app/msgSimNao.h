#pragma once

#include "app/Screen.h"

class QLabel;

// The yes/no question dialog laid over the stage.
class TmsgSimNao : public TStageDialog {
  Q_OBJECT

 public:
  explicit TmsgSimNao(QWidget* parent = nullptr);

  // Shows `aTexto`; true only when the answer is Sim.
  bool MsgPadraoSimNao(const QString& aTexto);

 protected:
  void FormShow() override;

 private:
  QLabel* mensagem_;
};
