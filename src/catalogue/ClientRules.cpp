#include "catalogue/ClientRules.h"

namespace catalogue {

namespace {

bool AllowedEmailText(QStringView part) {
  for (const QChar c : part) {
    const char16_t u = c.unicode();
    const bool letter = (u >= u'a' && u <= u'z') || (u >= u'A' && u <= u'Z');
    const bool digit = u >= u'0' && u <= u'9';
    if (!letter && !digit && u != u'-' && u != u'.' && u != u'_')
      return false;
  }
  return true;
}

// The check digit of the first `count` digits, weighted count + 1 down to 2.
int CheckDigit(QStringView digits, int count) {
  int sum = 0;
  for (int i = 0; i < count; ++i)
    sum += (digits[i].unicode() - u'0') * (count + 1 - i);
  const int digit = 11 - sum % 11;
  return digit >= 10 ? 0 : digit;
}

}  // namespace

bool IsValidEmail(const QString& Value) {
  const qsizetype at = Value.indexOf(QLatin1Char('@'));
  if (at <= 0)
    return false;
  const QStringView local = QStringView(Value).left(at);
  const QStringView domain = QStringView(Value).mid(at + 1);
  if (domain.size() < 5)
    return false;
  // Counted from 1, the first "." stands no later than the length minus 2.
  const qsizetype dot = domain.indexOf(QLatin1Char('.'));
  if (dot < 0 || dot + 1 > domain.size() - 2)
    return false;
  return AllowedEmailText(local) && AllowedEmailText(domain);
}

bool IsValidCpf(const QString& cpf) {
  if (cpf.size() != 11)
    return false;
  for (const QChar c : cpf) {
    if (c.unicode() < u'0' || c.unicode() > u'9')
      return false;
  }
  if (cpf.count(cpf[0]) == cpf.size())
    return false;
  return CheckDigit(cpf, 9) == cpf[9].unicode() - u'0' &&
         CheckDigit(cpf, 10) == cpf[10].unicode() - u'0';
}

}  // namespace catalogue
