#include "report/Ptr.h"

#include "report/Rel.h"

TPtr::TPtr(std::function<QDateTime()> now, std::function<void(const QString&)> show)
    : now_(std::move(now)), show_(std::move(show)) {}

void TPtr::Initialize() {
  const QDateTime start = now_();
  data_ = Cut(start.toString(QStringLiteral("yyddMM")), 8);
  hora_ = Cut(start.toString(QStringLiteral("sszzz")), 12);
  codigoErro_ = QStringLiteral("000");
  tipoOperacao_ = QStringLiteral("00");
}

QString TPtr::GetProtocol() const {
  return data_ + hora_ + QLatin1Char('-') + codigoErro_ + QLatin1Char('-') + tipoOperacao_;
}

void TPtr::SetCodigoErro(const QString& ErrorCode) {
  codigoErro_ = Cut(ErrorCode, 3);
  Show();
}

void TPtr::SetTipoOperacao(const QString& OperationType) {
  tipoOperacao_ = Cut(OperationType, 2);
  Show();
}

void TPtr::Show() {
  if (show_)
    show_(QStringLiteral("Protocolo: ") + GetProtocol());
}
