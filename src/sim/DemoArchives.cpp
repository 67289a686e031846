#include "sim/DemoArchives.h"

#include <QCryptographicHash>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QUuid>
#include <cstdint>
#include <fstream>
#include <sstream>
#include <vector>

#include "sim/ArchiveWriters.h"
#include "sim/DemoWorld.h"

namespace sim {

namespace fs = std::filesystem;

namespace {

// A small image whose bytes tell what it is.
// Bytes that do not compress, the same in every run for the same name, so
// an archive is as large as its firmware and its checksum never changes.
std::string Image(const std::string& name, std::size_t size) {
  std::uint32_t state = 2166136261u;
  for (const char c : name)
    state = (state ^ static_cast<unsigned char>(c)) * 16777619u;
  std::string data = "SOLVANTA DEMO " + name + "\n";
  data.reserve(size);
  while (data.size() < size) {
    state = state * 1664525u + 1013904223u;
    data += static_cast<char>(state >> 24);
  }
  data.resize(size);
  return data;
}

struct ServedArchive {
  const char* path;  // below the served folder
  std::vector<ArchiveFile> entries;
};

std::vector<ServedArchive> FirmwareArchives() {
  return {
      {"solvanta/firmwares/flip2_sc6531.zip", {{"FLIP2_SC6531.pac", Image("flip2", 96 << 10)}}},
      {"solvanta/firmwares/flip1.zip", {{"FLIP1_SC6531.pac", Image("flip1", 64 << 10)}}},
      {"solvanta/firmwares/nova5_full.zip", {{"nova5/system.img", Image("nova5", 128 << 10)}}},
      {"solvanta/firmwares/t10pro_rk3326.zip",
       {{"T10PRO/update.img", Image("t10pro", 192 << 10)},
        {"T10PRO/config.cfg", "FIRMWARE=update.img\n"}}},
      {"solvanta/firmwares/t8_mt8321.zip",
       {{"t8/MT8321_Android_scatter.txt", "- partition_index: SYS0\n  partition_name: preloader\n"},
        {"t8/DA_SWSEC.bin", Image("da", 16 << 10)},
        {"t8/preloader.bin", Image("preloader", 64 << 10)}}},
      {"solvanta/firmwares/t8_mt8321_userdata.zip",
       {{"t8/userdata.img", Image("userdata", 96 << 10)}}},
      {"solvanta/firmwares/t8_mt8321_system.zip", {{"t8/system.img", Image("system", 128 << 10)}}},
      {"solvanta/firmwares/tv32hd.zip",
       {{"upgrade/", "", true}, {"upgrade/MstarUpgrade.bin", Image("tv32hd", 160 << 10)}}},
      {"solvanta/firmwares/tv24.zip", {{"upgrade/MstarUpgrade.bin", Image("tv24", 128 << 10)}}},
      {"solvanta/firmwares/vx14_recovery.zip",
       {{"sources/install.wim", Image("vx14", 256 << 10)}, {"recovery.txt", "Vértice 14\n"}}},
      {"solvanta/firmwares/vx13_recovery.zip", {{"sources/install.wim", Image("vx13", 192 << 10)}}},
  };
}

// The firmware files of the catalogue that are not archives.
std::vector<std::pair<const char*, std::string>> PlainFirmwares() {
  return {{"solvanta/firmwares/t7_sc7731.pac", Image("t7", 128 << 10)},
          {"solvanta/firmwares/t7kids_sc7731.pac", Image("t7kids", 128 << 10)},
          {"solvanta/firmwares/t6.pac", Image("t6", 96 << 10)}};
}

std::expected<std::string, QString> ReadFile(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  if (!in)
    return std::unexpected(QStringLiteral("não foi possível ler %1").arg(file.c_str()));
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

// Puts `fresh` in the place of `file` only when their bytes differ, so a
// file of a kept world keeps its date, and with it the validators a paused
// download checks before it resumes.
void ReplaceIfChanged(const fs::path& fresh, const fs::path& file) {
  std::error_code error;
  if (fs::exists(file, error) && ReadFile(fresh) == ReadFile(file)) {
    fs::remove(fresh, error);
    return;
  }
  fs::rename(fresh, file, error);
}

}  // namespace

std::expected<void, QString> WriteDemoArchives(const DemoWorld& world, const fs::path& fakeTool) {
  const fs::path served = world.ServedDir();
  std::vector<ServedArchive> archives = FirmwareArchives();
  if (!fakeTool.empty()) {
    auto tool = ReadFile(fakeTool);
    if (!tool)
      return std::unexpected(tool.error());
    auto exe = [&tool](const char* name) { return ArchiveFile{name, *tool, false, true}; };
    archives.push_back({"solvanta/rewriter/SpreadstrumTool.zip",
                        {{"SpreadstrumTool/", "", true},
                         exe("SpreadstrumTool/CmdDloader.exe"),
                         {"SpreadstrumTool/BMAConfig.xml", "<BMAConfig/>\n"}}});
    archives.push_back({"solvanta/rewriter/MediaTekTools.zip",
                        {exe("MediaTekTools/flash_tool.exe"),
                         {"MediaTekTools/MTK_AllInOne_DA.bin", Image("allinone", 32 << 10)}}});
    archives.push_back({"solvanta/rewriter/RockChipToolsNew.zip",
                        {exe("RockChipToolsNew/FactoryTool.exe"),
                         {"RockChipToolsNew/config.ini", "[Language]\nSelected=1\n"}}});
  }
  for (const ServedArchive& archive : archives) {
    const fs::path file = served / archive.path;
    std::error_code error;
    fs::create_directories(file.parent_path(), error);
    const fs::path fresh = file.string() + ".new";
    if (auto written = WriteZip(fresh, archive.entries); !written) {
      return std::unexpected(
          QStringLiteral("não foi possível gravar %1: %2")
              .arg(QString::fromStdString(file.string()), QString::fromStdString(written.error())));
    }
    ReplaceIfChanged(fresh, file);
  }
  for (const auto& [path, contents] : PlainFirmwares()) {
    const fs::path file = served / path;
    std::error_code error;
    fs::create_directories(file.parent_path(), error);
    const fs::path fresh = file.string() + ".new";
    {
      std::ofstream out(fresh, std::ios::binary | std::ios::trunc);
      out << contents;
      if (!out) {
        return std::unexpected(QStringLiteral("não foi possível gravar %1")
                                   .arg(QString::fromStdString(file.string())));
      }
    }
    ReplaceIfChanged(fresh, file);
  }
  return {};
}

namespace {

QString FileMd5(const QString& file) {
  QFile in(file);
  QCryptographicHash hash(QCryptographicHash::Md5);
  if (!in.open(QIODevice::ReadOnly) || !hash.addData(&in))
    return {};
  return QString::fromLatin1(hash.result().toHex());
}

std::expected<void, QString> StampTable(QSqlDatabase& db, const QString& table,
                                        const QString& servedUrl, const QString& servedDir) {
  QSqlQuery rows(db);
  if (!rows.exec(QStringLiteral("select id, url_firmware from %1").arg(table)))
    return std::unexpected(rows.lastError().text());
  std::vector<std::pair<qint64, QString>> stamps;
  while (rows.next()) {
    const QString url = rows.value(1).toString();
    if (!url.startsWith(servedUrl))
      continue;
    const QString md5 = FileMd5(servedDir + url.mid(servedUrl.size()));
    if (!md5.isEmpty())
      stamps.emplace_back(rows.value(0).toLongLong(), md5);
  }
  QSqlQuery update(db);
  update.prepare(QStringLiteral("update %1 set md5=? where id=?").arg(table));
  for (const auto& [id, md5] : stamps) {
    update.addBindValue(md5);
    update.addBindValue(id);
    if (!update.exec())
      return std::unexpected(update.lastError().text());
  }
  return {};
}

}  // namespace

std::expected<void, QString> StampDemoChecksums(const DemoWorld& world,
                                                const QString& catalogueFile) {
  const QString servedUrl = QString::fromStdString(world.ServerUrl()) + QLatin1Char('/');
  const QString servedDir = QString::fromStdString(world.ServedDir().string()) + QLatin1Char('/');
  const QString name = QUuid::createUuid().toString();
  std::expected<void, QString> result;
  {
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
    db.setDatabaseName(catalogueFile);
    if (!QFile::exists(catalogueFile) || !db.open()) {
      result = std::unexpected(QStringLiteral("não foi possível abrir %1").arg(catalogueFile));
    } else {
      result = StampTable(db, QStringLiteral("devices"), servedUrl, servedDir);
      if (result)
        result = StampTable(db, QStringLiteral("devices_aux"), servedUrl, servedDir);
      db.close();
    }
  }
  QSqlDatabase::removeDatabase(name);
  return result;
}

}  // namespace sim
