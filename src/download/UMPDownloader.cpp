#include "download/UMPDownloader.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QTemporaryFile>
#include <QTimer>
#include <cmath>
#include <stdexcept>
#include <utility>
#include <vector>

#include "app/FileUtils.h"
#include "app/ServerSettings.h"

using download::psSuccess;
using download::psUnknown;

namespace {

constexpr char kStateFileName[] = "DS.ini";

// An INI text kept in its order, so that sections and keys this program does
// not write survive an update.
class IniText {
 public:
  static std::optional<IniText> Load(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
      return std::nullopt;
    IniText ini;
    for (QString line : QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'))) {
      line = line.trimmed();
      if (line.startsWith(QLatin1Char('[')) && line.endsWith(QLatin1Char(']'))) {
        ini.sections_.push_back({line.mid(1, line.size() - 2), {}});
      } else if (const auto equals = line.indexOf(QLatin1Char('=')); equals > 0) {
        if (ini.sections_.empty())
          ini.sections_.push_back({});
        ini.sections_.back().keys.push_back({line.left(equals), line.mid(equals + 1)});
      }
    }
    return ini;
  }

  std::optional<QString> Value(const QString& section, const QString& key) const {
    for (const auto& s : sections_) {
      if (s.name.compare(section, Qt::CaseInsensitive) != 0)
        continue;
      for (const auto& [name, value] : s.keys) {
        if (name.compare(key, Qt::CaseInsensitive) == 0)
          return value;
      }
    }
    return std::nullopt;
  }

  std::int64_t Number(const QString& section, const QString& key) const {
    bool ok = false;
    const std::int64_t value = Value(section, key).value_or(QString()).toLongLong(&ok);
    return ok ? value : 0;
  }

  void Set(const QString& section, const QString& key, const QString& value) {
    auto s = std::find_if(sections_.begin(), sections_.end(), [&](const auto& x) {
      return x.name.compare(section, Qt::CaseInsensitive) == 0;
    });
    if (s == sections_.end())
      s = sections_.insert(sections_.end(), {section, {}});
    for (auto& [name, old] : s->keys) {
      if (name.compare(key, Qt::CaseInsensitive) == 0) {
        old = value;
        return;
      }
    }
    s->keys.push_back({key, value});
  }

  // Replaces the file as a whole: a reader sees the old text or the new one.
  bool Save(const QString& path) const {
    QString text;
    for (const auto& s : sections_) {
      if (!s.name.isEmpty())
        text += QLatin1Char('[') + s.name + QStringLiteral("]\r\n");
      for (const auto& [name, value] : s.keys)
        text += name + QLatin1Char('=') + value + "\r\n";
      text += QStringLiteral("\r\n");
    }
    QSaveFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(text.toUtf8()) >= 0 && file.commit();
  }

 private:
  struct Section {
    QString name;
    std::vector<std::pair<QString, QString>> keys;
  };
  std::vector<Section> sections_;
};

QString ItemSection(int index) {
  return QStringLiteral("ResourceStateItem") + QString::number(index);
}

}  // namespace

QString ByteSizeText(std::int64_t bytes, const QLocale& locale) {
  if (bytes <= 0)
    return QStringLiteral("0");
  static const char* const kPrefixes[] = {"", "K", "M", "G", "T", "P", "E", "Z", "Y"};
  const double n = static_cast<float>(bytes);
  int k = static_cast<int>(std::floor(std::log(n) / std::log(1024.0)));
  // The logarithm's rounding must not move a power of 1024 into the unit below.
  while (k < 8 && std::pow(1024.0, k + 1) <= n)
    ++k;
  while (k > 0 && std::pow(1024.0, k) > n)
    --k;
  QLocale plain = locale;
  plain.setNumberOptions(QLocale::OmitGroupSeparator);
  return plain.toString(static_cast<double>(bytes) / std::pow(1024.0, k), 'f', 2) +
         QLatin1Char(' ') + QLatin1String(kPrefixes[k]) + QLatin1Char('B');
}

QString RemainingTimeText(double seconds) {
  if (!std::isfinite(seconds) || seconds < 0 || seconds > 9e15) {
    throw std::domain_error("remaining time out of range");
  }
  const auto e = static_cast<long long>(std::nearbyint(seconds));
  return QStringLiteral("%1:%2:%3")
      .arg(e / 3600, 2, 10, QLatin1Char('0'))
      .arg((e / 60) % 60, 2, 10, QLatin1Char('0'))
      .arg(e % 60, 2, 10, QLatin1Char('0'));
}

QString SpeedText(double bytesPerSecond, const QLocale& locale) {
  if (!std::isfinite(bytesPerSecond))
    throw std::domain_error("speed out of range");
  QLocale grouped = locale;
  grouped.setNumberOptions(grouped.numberOptions() & ~QLocale::OmitGroupSeparator);
  return grouped.toString(bytesPerSecond / 1048576.0 * 8.9, 'f', 2) + QStringLiteral(" MB");
}

int DownloadPercent(std::int64_t size, std::int64_t position) {
  if (size == 0)
    return 0;
  const double rest = static_cast<double>(size - position) / static_cast<double>(size) * 100;
  return 100 - static_cast<int>(std::nearbyint(rest));
}

bool FirmwareIntact(const QString& fileName, const QString& expectedMd5) {
  if (!QFileInfo(fileName).isFile())
    return false;
  try {
    const QString md5 = QString::fromStdString(app::MD5File(fileName.toStdString()));
    return !md5.isEmpty() && md5.compare(expectedMd5.trimmed(), Qt::CaseInsensitive) == 0;
  } catch (...) {
    return false;
  }
}

QString StateFileFolder(const QString& executableFolder, const QString& dataFolder) {
  // Trying is the only sure test: permission bits say nothing for root or a
  // read-only mount.
  QTemporaryFile probe(QDir(executableFolder).filePath(QStringLiteral("DS.ini.XXXXXX")));
  const QString chosen = probe.open() ? executableFolder : dataFolder;
  return chosen.endsWith(QLatin1Char('/')) ? chosen : chosen + QLatin1Char('/');
}

std::optional<QString> StateFileUrl(const QString& fileIni) {
  const auto ini = IniText::Load(fileIni);
  if (!ini)
    return std::nullopt;
  return ini->Value(QStringLiteral("Download"), QStringLiteral("URL")).value_or(QString());
}

void DiscardForeignState(const QString& fileIni, const QString& url, const QString& localFile) {
  if (!QFile::exists(localFile)) {
    QFile::remove(fileIni);
    return;
  }
  if (const auto saved = StateFileUrl(fileIni); saved && *saved != url)
    QFile::remove(fileIni);
}

TUMPDownloader::TUMPDownloader(const QString& stateFolder)
    : DownLoader(std::make_unique<download::TMultiPartDownloader>()),
      FileIni(QDir(stateFolder).filePath(QLatin1String(kStateFileName))) {
  DownLoader->ThreadCount = 1;
  DownLoader->TryCount = 5;
  DownLoader->Port = 0;
  DownLoader->UserName.clear();
  DownLoader->Password.clear();
  DownLoader->CaBundle = ServerSettings::CaBundle();
}

TUMPDownloader::~TUMPDownloader() = default;

void TUMPDownloader::SetDownload(const QString& Url, const QString& ArquivoLocal) {
  DownLoader->URL = Url.toStdString();
  DownLoader->LocalFile = ArquivoLocal.toStdString();
}

void TUMPDownloader::StarDownload(QTimer* Timer) {
  if (QFile::exists(FileIni))
    ResumeDownload();
  DownLoader->Start();
  lastCheckpoint_ = std::chrono::steady_clock::now();
  Timer->setInterval(200);
  Timer->start();
}

void TUMPDownloader::StopDownload(QTimer* Timer) {
  Timer->stop();
  DownLoader->Stop();
  const auto status = DownLoader->ResourceState().LastStatus();
  if (status == psSuccess) {
    DownLoader->ResourceState().Clear();
    DeleteStateFile();
  } else if (status != psUnknown) {
    PauseDownload();
  }
}

void TUMPDownloader::PauseDownload() {
  const auto snapshot = DownLoader->DurableState();
  const auto& items = snapshot.Items;
  IniText ini = IniText::Load(FileIni).value_or(IniText());
  ini.Set(QStringLiteral("Download"), QStringLiteral("URL"),
          QString::fromStdString(DownLoader->URL));
  ini.Set(QStringLiteral("Download"), QStringLiteral("LocalFile"),
          QString::fromStdString(DownLoader->LocalFile));
  const QString rs = QStringLiteral("ResourceState");
  ini.Set(rs, QStringLiteral("Count"), QString::number(items.size()));
  ini.Set(rs, QStringLiteral("ResourceSize"), QString::number(snapshot.ResourceSize));
  ini.Set(rs, QStringLiteral("ETag"), QString::fromStdString(snapshot.Validator.ETag));
  ini.Set(rs, QStringLiteral("LastModified"),
          QString::fromStdString(snapshot.Validator.LastModified));
  for (size_t i = 0; i < items.size(); ++i) {
    const QString section = ItemSection(static_cast<int>(i));
    ini.Set(section, QStringLiteral("ResourcePos"), QString::number(items[i].ResourcePos));
    ini.Set(section, QStringLiteral("BytesToProceed"), QString::number(items[i].BytesToProceed));
    ini.Set(section, QStringLiteral("BytesProceed"), QString::number(items[i].BytesProceed));
  }
  ini.Save(FileIni);
}

void TUMPDownloader::ResumeDownload() {
  auto& state = DownLoader->ResourceState();
  state.Clear();
  const auto ini = IniText::Load(FileIni);
  if (!ini)
    return;
  const QString dl = QStringLiteral("Download");
  DownLoader->URL = ini->Value(dl, QStringLiteral("URL"))
                        .value_or(QString::fromStdString(DownLoader->URL))
                        .toStdString();
  DownLoader->LocalFile = ini->Value(dl, QStringLiteral("LocalFile"))
                              .value_or(QString::fromStdString(DownLoader->LocalFile))
                              .toStdString();
  const QString rs = QStringLiteral("ResourceState");
  const std::int64_t count = ini->Number(rs, QStringLiteral("Count"));
  state.SetResourceSize(ini->Number(rs, QStringLiteral("ResourceSize")));
  state.SetValidator(
      {ini->Value(rs, QStringLiteral("ETag")).value_or(QString()).toStdString(),
       ini->Value(rs, QStringLiteral("LastModified")).value_or(QString()).toStdString()});
  // A count no transfer could have written is not a state to resume.
  if (count > 4096)
    return;
  for (int i = 0; i < count; ++i) {
    const QString section = ItemSection(i);
    const auto positive = [&](const char* key) {
      return std::max<std::int64_t>(0, ini->Number(section, QLatin1String(key)));
    };
    state.SetItem(state.Add(),
                  {positive("ResourcePos"), positive("BytesToProceed"), positive("BytesProceed")});
  }
}

bool TUMPDownloader::GetStatusDownload() {
  auto& state = DownLoader->ResourceState();
  const auto status = state.LastStatus();
  if (status == psSuccess) {
    DownLoader->Stop();
    state.Clear();
    state.SetLastStatus(psSuccess);
    DeleteStateFile();
    return true;
  }
  try {
    VBytesProcessadosInt = state.BytesProceed();
    VBytesProcessadosStr = ByteSizeText(VBytesProcessadosInt);
    VTempoEstimado = RemainingTimeText(state.RemainingTime());
    VVelocidadeDeDownload = SpeedText(state.Speed());
  } catch (...) {
    VBytesProcessadosInt = 0;
    VBytesProcessadosStr = ByteSizeText(0);
    VTempoEstimado = QStringLiteral("0");
    VVelocidadeDeDownload = QStringLiteral("0");
  }
  const auto now = std::chrono::steady_clock::now();
  if (status == download::psProcess && now - lastCheckpoint_ >= CheckpointInterval) {
    lastCheckpoint_ = now;
    PauseDownload();
  }
  return false;
}

void TUMPDownloader::SetTotalDeBytes() {
  VTotalDeBytesInt = DownLoader->ResourceState().ResourceSize();
  VTotalDeBytesStr = ByteSizeText(VTotalDeBytesInt);
}

void TUMPDownloader::DeleteStateFile() {
  QFile::remove(FileIni);
}
