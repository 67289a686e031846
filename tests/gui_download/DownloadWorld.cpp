#include "DownloadWorld.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QJsonArray>
#include <QJsonObject>
#include <QLabel>
#include <QLocale>
#include <QTimer>
#include <QWidget>
#include <filesystem>
#include <fstream>

#include "app/Fmessage.h"
#include "app/Globals.h"
#include "app/ProgramEntry.h"
#include "app/ServerSettings.h"
#include "app/UAPI.h"
#include "platform/Platform.h"
#include "platform/sim/SimulatedPc.h"
#include "report/Rel.h"
#include "sim/DemoState.h"

namespace fs = std::filesystem;

void DownloadWorld::SetUp() {
  auto created = sim::DemoWorld::Create({.fontsSource = SOLVANTA_FONTS_DIR});
  ASSERT_TRUE(created) << created.error();
  world_ = std::move(*created);
}

void DownloadWorld::UseHttps() {
  world_.reset();
  auto created = sim::DemoWorld::Create({.fontsSource = SOLVANTA_FONTS_DIR, .https = true});
  ASSERT_TRUE(created) << created.error();
  world_ = std::move(*created);
}

void DownloadWorld::TearDown() {
  DestroyProgramObjects();
  platform::SetCurrent({});
}

void DownloadWorld::Start() {
  const fs::path restart = world_->Root() / "restart.sh";
  std::ofstream(restart) << "#!/bin/sh\n";
  fs::permissions(restart, fs::perms::owner_all);
  auto state = sim::WriteDemoState(*world_, QString::fromStdString(restart.string()));
  ASSERT_TRUE(state) << state.error().toStdString();
  statePath_ = state->toStdString();
  ServerSettings::SetMakerBaseUrl(world_->ServerUrl());
  ServerSettings::SetCaBundle(world_->CaFile());
  clock_ = std::make_shared<platform::ManualClock>();
  platform::PlatformOptions options;
  options.name = "sim";
  options.simStatePath = statePath_;
  options.clock = clock_;
  platform::SetCurrent(platform::CreatePlatform(options));
  // The screens write their numbers in the user's locale: the simulated
  // user's, as a program started in that session would have it.
  QLocale::setDefault(UserLocale(*platform::Current().environment));
  CreateProgramObjects();
  QDir().mkpath(UAPI->FisoDir);
  auto* answer = new QTimer(Fmessage);
  QObject::connect(answer, &QTimer::timeout, Fmessage, [this] {
    if (!Fmessage->isVisible())
      return;
    messages_ << Fmessage->findChild<QLabel*>(QStringLiteral("mensagem"))->text();
    Fmessage->done(1);
  });
  answer->start(20);
}

void DownloadWorld::Restart() {
  DestroyProgramObjects();
  platform::SetCurrent({});
  Start();
}

QString DownloadWorld::Serve(const std::string& name, const QByteArray& contents) {
  auto url = world_->AddServedFile(FirmwarePath(name), contents.toStdString());
  EXPECT_TRUE(url) << url.error();
  return QString::fromStdString(url.value_or(""));
}

QString DownloadWorld::LocalFile(const std::string& name) const {
  return UAPI->FisoDir + QString::fromStdString(name);
}

std::vector<std::string> DownloadWorld::RangesAsked(const std::string& name) const {
  std::vector<std::string> ranges;
  for (const auto& request : world_->Server().Requests()) {
    if (request.method == "GET" && request.path == FirmwarePath(name))
      ranges.push_back(request.Header("Range").value_or(""));
  }
  return ranges;
}

int DownloadWorld::TaskbarValue(const char* key) const {
  return platform::SimulatedPc(statePath_)
      .State()
      .value(QStringLiteral("taskbar"))
      .toObject()
      .value(QLatin1String(key))
      .toInt(-1);
}

QStringList DownloadWorld::StartedPrograms() const {
  QStringList files;
  for (const auto& start :
       platform::SimulatedPc(statePath_).State().value(QStringLiteral("shellLog")).toArray())
    files << start.toObject().value(QStringLiteral("file")).toString();
  return files;
}

bool DownloadWorld::RunUntil(const std::function<bool()>& done, int ms) {
  QElapsedTimer clock;
  clock.start();
  while (!done() && clock.elapsed() < ms)
    QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
  return done();
}

void DownloadWorld::RunFor(int ms) {
  QElapsedTimer clock;
  clock.start();
  while (clock.elapsed() < ms)
    QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
}

void DownloadWorld::Shoot(QWidget* widget, const QString& name) {
  const QString folder = qEnvironmentVariable("SOLVANTA_SCREENSHOTS");
  if (!folder.isEmpty())
    widget->grab().save(QDir(folder).filePath(name + QStringLiteral(".png")));
}

QByteArray Firmware(int size, unsigned seed) {
  QByteArray data(size, Qt::Uninitialized);
  unsigned x = seed * 2654435761u + 1;
  for (char& c : data) {
    x = x * 1664525u + 1013904223u;
    c = static_cast<char>(x >> 24);
  }
  return data;
}

QString Md5Of(const QByteArray& data) {
  return QString::fromLatin1(QCryptographicHash::hash(data, QCryptographicHash::Md5).toHex());
}

QByteArray ReadFile(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}
