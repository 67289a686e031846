#include "sim/server/AnswersFile.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <functional>
#include <vector>

#include "sim/server/Certificates.h"

namespace sim {
namespace {

using Change = std::function<void(MakerServer&)>;

std::unexpected<std::string> Invalid(const QString& member, const char* expected) {
  return std::unexpected("\"" + member.toStdString() + "\" deve ser " + expected);
}

std::expected<std::uint64_t, std::string> Count(const QJsonObject& o, const QString& member) {
  const QJsonValue v = o.value(member);
  if (!v.isDouble() || v.toDouble() < 0 || v.toDouble() != static_cast<double>(v.toInteger())) {
    return Invalid(member, "um número inteiro não negativo");
  }
  return static_cast<std::uint64_t>(v.toInteger());
}

std::expected<PathFault, std::string> ReadFault(const QJsonObject& o) {
  PathFault fault;
  for (auto it = o.begin(); it != o.end(); ++it) {
    const QString key = it.key();
    if (key == u"redirect") {
      if (!it->isString()) {
        return Invalid(key, "um texto");
      }
      fault.redirectTo = it->toString().toStdString();
    } else if (key == u"chunked") {
      if (!it->isBool()) {
        return Invalid(key, "true ou false");
      }
      fault.chunked = it->toBool();
    } else {
      const auto n = Count(o, key);
      if (!n) {
        return std::unexpected(n.error());
      }
      if (key == u"status") {
        fault.status = static_cast<int>(*n);
      } else if (key == u"delayMs") {
        fault.delay = std::chrono::milliseconds(*n);
      } else if (key == u"bytesPerSecond") {
        fault.bytesPerSecond = *n;
      } else if (key == u"cutAfterBytes") {
        fault.cutAfterBytes = *n;
      } else if (key == u"contentLength") {
        fault.announcedLength = *n;
      } else if (key == u"times") {
        fault.times = static_cast<unsigned>(*n);
      } else {
        return std::unexpected("Falha desconhecida: \"" + key.toStdString() + "\"");
      }
    }
  }
  return fault;
}

std::string Compact(const QJsonValue& v) {
  if (v.isObject()) {
    return QJsonDocument(v.toObject()).toJson(QJsonDocument::Compact).toStdString();
  }
  if (v.isArray()) {
    return QJsonDocument(v.toArray()).toJson(QJsonDocument::Compact).toStdString();
  }
  return v.toString().toStdString();
}

std::expected<void, std::string> Collect(const QJsonObject& root, std::vector<Change>& changes) {
  for (auto it = root.begin(); it != root.end(); ++it) {
    const QString key = it.key();
    const QJsonValue v = it.value();
    if (key == u"ReturnUpdate" || key == u"UpdateDbTvs") {
      if (!v.isString()) {
        return Invalid(key, "um texto");
      }
      const std::string text = v.toString().toStdString();
      const bool isUpdate = key == u"ReturnUpdate";
      changes.push_back([text, isUpdate](MakerServer& s) {
        isUpdate ? s.SetReturnUpdate(text) : s.SetUpdateDbTvs(text);
      });
    } else if (key == u"RecebeSystemLog" || key == u"ignoreRanges") {
      if (!v.isBool()) {
        return Invalid(key, "true ou false");
      }
      const bool flag = v.toBool();
      const bool isLog = key == u"RecebeSystemLog";
      changes.push_back([flag, isLog](MakerServer& s) {
        isLog ? s.SetRecebeSystemLog(flag) : s.SetIgnoreRanges(flag);
      });
    } else if (key == u"soapStyle") {
      if (v.toString() != u"inline" && v.toString() != u"multiref") {
        return Invalid(key, "\"inline\" ou \"multiref\"");
      }
      const SoapStyle style = v.toString() == u"inline" ? SoapStyle::Inline : SoapStyle::MultiRef;
      changes.push_back([style](MakerServer& s) { s.SetSoapStyle(style); });
    } else if (key == u"soapFaults") {
      if (!v.isObject()) {
        return Invalid(key, "um objeto");
      }
      const QJsonObject faults = v.toObject();
      for (auto f = faults.begin(); f != faults.end(); ++f) {
        if (!f->isString()) {
          return Invalid(f.key(), "um texto");
        }
        const std::string operation = f.key().toStdString();
        const SoapFault fault{"SOAP-ENV:Server", f->toString().toStdString()};
        changes.push_back([operation, fault](MakerServer& s) { s.SetSoapFault(operation, fault); });
      }
    } else if (key == u"geolocation" || key == u"geolocationToken") {
      const HttpAnswer answer{200, Compact(v)};
      const bool withToken = key == u"geolocationToken";
      changes.push_back([answer, withToken](MakerServer& s) {
        withToken ? s.SetGeolocationWithToken(answer) : s.SetGeolocation(answer);
      });
    } else if (key == u"faults") {
      if (!v.isObject()) {
        return Invalid(key, "um objeto");
      }
      const QJsonObject faults = v.toObject();
      for (auto f = faults.begin(); f != faults.end(); ++f) {
        if (!f->isObject()) {
          return Invalid(f.key(), "um objeto");
        }
        auto fault = ReadFault(f->toObject());
        if (!fault) {
          return std::unexpected(fault.error());
        }
        const std::string path = f.key().toStdString();
        changes.push_back([path, fault = *fault](MakerServer& s) { s.SetFault(path, fault); });
      }
    } else {
      return std::unexpected("Membro desconhecido: \"" + key.toStdString() + "\"");
    }
  }
  return {};
}

}  // namespace

std::expected<void, std::string> ApplyAnswers(MakerServer& server, std::string_view json) {
  QJsonParseError error;
  const QJsonDocument document =
      QJsonDocument::fromJson(QByteArray(json.data(), static_cast<qsizetype>(json.size())), &error);
  if (error.error != QJsonParseError::NoError) {
    return std::unexpected("JSON inválido: " + error.errorString().toStdString());
  }
  if (!document.isObject()) {
    return std::unexpected(std::string("O arquivo de respostas deve conter um objeto JSON"));
  }
  std::vector<Change> changes;
  if (auto collected = Collect(document.object(), changes); !collected) {
    return collected;
  }
  for (const auto& change : changes) {
    change(server);
  }
  return {};
}

std::expected<void, std::string> ApplyAnswersFile(MakerServer& server,
                                                  const std::filesystem::path& path) {
  const auto text = ReadTextFile(path);
  if (!text) {
    return std::unexpected(text.error());
  }
  if (auto applied = ApplyAnswers(server, *text); !applied) {
    return std::unexpected(path.string() + ": " + applied.error());
  }
  return {};
}

}  // namespace sim
