#include "platform/JsonRegistry.h"

#include <QJsonArray>
#include <QStringList>

namespace platform {

namespace {

// "\\SOFTWARE\\\\X\\" -> "SOFTWARE\\X".
QString NormalizeKey(const std::string& key) {
  return QString::fromStdString(key).split(u'\\', Qt::SkipEmptyParts).join(u'\\');
}

// The stored spelling of `key`, compared without regard to letter case.
std::optional<QString> FindKey(const QJsonObject& hive, const QString& key) {
  for (auto it = hive.begin(); it != hive.end(); ++it) {
    if (it.key().compare(key, Qt::CaseInsensitive) == 0) {
      return it.key();
    }
  }
  return std::nullopt;
}

int FindValue(const QJsonArray& values, const QString& name) {
  for (qsizetype i = 0; i < values.size(); ++i) {
    if (values[i].toObject().value(u"name").toString().compare(name, Qt::CaseInsensitive) == 0) {
      return static_cast<int>(i);
    }
  }
  return -1;
}

std::optional<RegistryValue> Decode(const QJsonObject& entry) {
  const QString type = entry.value(u"type").toString();
  const QJsonValue data = entry.value(u"data");
  if (type == u"sz" && data.isString()) {
    return data.toString().toStdString();
  }
  if (type == u"dword" && data.isDouble()) {
    const double number = data.toDouble();
    if (number >= 0 && number <= 4294967295.0) {
      return static_cast<std::uint32_t>(number);
    }
  }
  return std::nullopt;
}

QJsonObject Encode(const QString& name, const RegistryValue& value) {
  QJsonObject entry{{"name", name}};
  if (const auto* text = std::get_if<std::string>(&value)) {
    entry["type"] = "sz";
    entry["data"] = QString::fromStdString(*text);
  } else {
    entry["type"] = "dword";
    entry["data"] = static_cast<double>(std::get<std::uint32_t>(value));
  }
  return entry;
}

}  // namespace

bool JsonRegistry::KeyExists(Hive hive, const std::string& key) {
  const QString path = NormalizeKey(key);
  return path.isEmpty() || FindKey(LoadHive(hive), path).has_value();
}

bool JsonRegistry::CreateKey(Hive hive, const std::string& key) {
  const QString path = NormalizeKey(key);
  if (path.isEmpty() || KeyExists(hive, key)) {
    return true;
  }
  return UpdateHive(hive, [&](QJsonObject& keys) {
    const QStringList parts = path.split(u'\\');
    QString prefix;
    for (const QString& part : parts) {
      prefix = prefix.isEmpty() ? part : prefix + u'\\' + part;
      if (const auto stored = FindKey(keys, prefix)) {
        prefix = *stored;  // children follow the parent's spelling
      } else {
        keys.insert(prefix, QJsonArray{});
      }
    }
    return true;
  });
}

std::optional<RegistryValue> JsonRegistry::ReadValue(Hive hive, const std::string& key,
                                                     const std::string& name) {
  const QJsonObject keys = LoadHive(hive);
  const auto stored = FindKey(keys, NormalizeKey(key));
  if (!stored) {
    return std::nullopt;
  }
  const QJsonArray values = keys.value(*stored).toArray();
  const int index = FindValue(values, QString::fromStdString(name));
  if (index < 0) {
    return std::nullopt;
  }
  return Decode(values[index].toObject());
}

bool JsonRegistry::WriteValue(Hive hive, const std::string& key, const std::string& name,
                              const RegistryValue& value) {
  const QString path = NormalizeKey(key);
  const QString valueName = QString::fromStdString(name);
  return UpdateHive(hive, [&](QJsonObject& keys) {
    const auto stored = path.isEmpty() ? std::optional<QString>(QString()) : FindKey(keys, path);
    if (!stored) {
      return false;  // a value needs an existing key, as an open key handle does
    }
    QJsonArray values = keys.value(*stored).toArray();
    const int index = FindValue(values, valueName);
    if (index < 0) {
      values.append(Encode(valueName, value));
    } else {
      // Keep the spelling and the place of the value written first.
      values[index] = Encode(values[index].toObject().value(u"name").toString(), value);
    }
    keys.insert(*stored, values);
    return true;
  });
}

bool JsonRegistry::DeleteValue(Hive hive, const std::string& key, const std::string& name) {
  const QString path = NormalizeKey(key);
  return UpdateHive(hive, [&](QJsonObject& keys) {
    const auto stored = FindKey(keys, path);
    if (!stored) {
      return false;
    }
    QJsonArray values = keys.value(*stored).toArray();
    const int index = FindValue(values, QString::fromStdString(name));
    if (index < 0) {
      return false;
    }
    values.removeAt(index);
    keys.insert(*stored, values);
    return true;
  });
}

std::vector<std::string> JsonRegistry::ValueNames(Hive hive, const std::string& key) {
  const QJsonObject keys = LoadHive(hive);
  std::vector<std::string> names;
  if (const auto stored = FindKey(keys, NormalizeKey(key))) {
    for (const QJsonValue& entry : keys.value(*stored).toArray()) {
      names.push_back(entry.toObject().value(u"name").toString().toStdString());
    }
  }
  return names;
}

}  // namespace platform
