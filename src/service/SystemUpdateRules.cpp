#include "service/SystemUpdateRules.h"

#include <variant>

namespace selfupdate {

namespace {

constexpr int kAnswerFields = 4;

QString CutAtControl(const QString& field) {
  for (qsizetype i = 0; i < field.size(); ++i) {
    if (field[i].unicode() < 32)
      return field.left(i);
  }
  return field;
}

}  // namespace

QStringList AnswerFields(const QString& line) {
  const QStringList parts = line.split(QLatin1Char(','));
  QStringList fields;
  for (int i = 0; i < kAnswerFields; ++i) {
    fields << (i < parts.size() ? CutAtControl(parts[i]) : QString());
  }
  return fields;
}

std::optional<std::int32_t> WholeNumber(const QString& text) {
  bool ok = false;
  const int value = text.toInt(&ok, 10);
  if (!ok)
    return std::nullopt;
  return value;
}

bool UpdateNeeded(const QString& version, std::int32_t baseVersion,
                  const std::optional<platform::RegistryValue>& installed) {
  const auto offered = WholeNumber(version);
  if (!offered || *offered < baseVersion)
    return false;
  if (!installed)
    return *offered > baseVersion;
  if (const auto* number = std::get_if<std::uint32_t>(&*installed)) {
    return static_cast<std::int64_t>(*number) < *offered;
  }
  const auto current = WholeNumber(QString::fromStdString(std::get<std::string>(*installed)));
  return current && *current < *offered;
}

QString VersionValueName(const QString& file) {
  return QString(file).remove(QStringLiteral(".slvr"), Qt::CaseSensitive);
}

QString RequestUrl(const QString& queuedUrl) {
  return QString(queuedUrl)
      .replace(QLatin1Char(' '), QStringLiteral("%20"))
      .replace(QLatin1Char('\\'), QLatin1Char('/'))
      .toLower();
}

QString AnswerFileName(const QString& programFileName) {
  return QString(programFileName).remove(QStringLiteral(".exe"), Qt::CaseSensitive);
}

}  // namespace selfupdate
