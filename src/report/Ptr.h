#pragma once

#include <QDateTime>
#include <QString>
#include <functional>

// The protocol keeper: the run's protocol number, made of the start's date
// and time, an error code and an operation type, shown to the user.
class TPtr {
 public:
  // The program's: the platform clock, the main window's `lprotocolo` label.
  TPtr();
  // `now` gives the local time; `show` receives the label's text.
  TPtr(std::function<QDateTime()> now, std::function<void(const QString&)> show);

  // Date and time parts from now; error code "000", operation type "00".
  void Initialize();
  // "yyddmm" + "sszzz" + "-" + error code + "-" + operation type.
  QString GetProtocol() const;
  // Keep the first 3 (2) characters and show "Protocolo: " + the number.
  void SetCodigoErro(const QString& ErrorCode);
  void SetTipoOperacao(const QString& OperationType);

 private:
  void Show();

  std::function<QDateTime()> now_;
  std::function<void(const QString&)> show_;
  QString data_;          // up to 8
  QString hora_;          // up to 12
  QString codigoErro_;    // 3
  QString tipoOperacao_;  // 2
};
