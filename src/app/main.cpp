// Program entry: chooses the platform (the demo world on the simulated PC by
// default), creates every screen and shared object and runs the message loop.
#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QScreen>
#include <cstdio>
#include <memory>

#include "app/DemoPanel.h"
#include "app/Globals.h"
#include "app/ProgramEntry.h"
#include "app/ServerSettings.h"
#include "app/fp.h"
#include "platform/Platform.h"
#include "sim/DemoState.h"
#include "sim/DemoWorld.h"

namespace {

void fail(const QString& message) {
  std::fprintf(stderr, "AssistenteSolvanta: %s\n", qPrintable(message));
  std::exit(2);
}

}  // namespace

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("AssistenteSolvanta"));
  QApplication::setApplicationDisplayName(QStringLiteral("Assistente Solvanta"));

  QCommandLineParser parser;
  parser.setApplicationDescription(QStringLiteral("Assistente Inteligente Solvanta"));
  parser.addHelpOption();
  const QCommandLineOption platformOption(QStringLiteral("platform"),
                                          QStringLiteral("sim (the default) or linux."),
                                          QStringLiteral("name"), QStringLiteral("sim"));
  const QCommandLineOption stateOption(QStringLiteral("sim-state"),
                                       QStringLiteral("State file of the simulated PC."),
                                       QStringLiteral("file"));
  const QCommandLineOption demoRootOption(
      QStringLiteral("demo-root"), QStringLiteral("Folder of the demo world, kept and reused."),
      QStringLiteral("dir"));
  const QCommandLineOption makerOption(QStringLiteral("maker-url"),
                                       QStringLiteral("Scheme and host of the maker's server."),
                                       QStringLiteral("url"));
  const QCommandLineOption geoOption(QStringLiteral("geo-url"),
                                     QStringLiteral("Scheme and host of the geolocation service."),
                                     QStringLiteral("url"));
  const QCommandLineOption caOption(QStringLiteral("ca-bundle"),
                                    QStringLiteral("CA bundle for the HTTPS certificate checks."),
                                    QStringLiteral("file"));
  const QCommandLineOption demoUpdateOption(
      QStringLiteral("demo-update"),
      QStringLiteral("The demo's server offers a newer program file (a self-update)."));
  parser.addOptions({platformOption, stateOption, demoRootOption, makerOption, geoOption, caOption,
                     demoUpdateOption});
  parser.process(app);

  platform::PlatformOptions options;
  options.name = parser.value(platformOption).toStdString();

  // The demo: a world on disk, the maker's server in-process, the simulated PC.
  std::unique_ptr<sim::DemoWorld> world;
  if (options.name == "sim" && !parser.isSet(stateOption)) {
    sim::DemoWorldOptions worldOptions;
    worldOptions.fontsSource =
        (QCoreApplication::applicationDirPath() + QStringLiteral("/fonts")).toStdString();
    if (parser.isSet(demoRootOption)) {
      worldOptions.root = parser.value(demoRootOption).toStdString();
    }
    auto created = sim::DemoWorld::Create(worldOptions);
    if (!created)
      fail(QString::fromStdString(created.error()));
    world = std::move(*created);
    const auto state = sim::WriteDemoState(*world, QCoreApplication::applicationFilePath());
    if (!state)
      fail(state.error());
    if (parser.isSet(demoUpdateOption)) {
      if (const auto offered = sim::OfferDemoUpdate(*world); !offered)
        fail(offered.error());
    }
    // Firmware arrives at a home connection's pace, so that its progress,
    // speed and time can be watched and the download put off.
    world->Server().SetFault("/solvanta/firmwares/*", {.bytesPerSecond = 16 << 10});
    options.simStatePath = state->toStdString();
    ServerSettings::SetMakerBaseUrl(world->ServerUrl());
    ServerSettings::SetGeoBaseUrl(world->GeoUrl());
    ServerSettings::SetCaBundle(world->CaFile());
    std::printf("Mundo de demonstração: %s\nServidor do fabricante: %s\n", world->Root().c_str(),
                world->ServerUrl().c_str());
    std::fflush(stdout);
  } else if (parser.isSet(stateOption)) {
    options.simStatePath = parser.value(stateOption).toStdString();
  }
  if (parser.isSet(makerOption)) {
    ServerSettings::SetMakerBaseUrl(parser.value(makerOption).toStdString());
  }
  if (parser.isSet(geoOption))
    ServerSettings::SetGeoBaseUrl(parser.value(geoOption).toStdString());
  if (parser.isSet(caOption))
    ServerSettings::SetCaBundle(parser.value(caOption).toStdString());

  try {
    platform::SetCurrent(platform::CreatePlatform(options));
  } catch (const std::exception& e) {
    fail(QString::fromUtf8(e.what()));
  }

  CreateProgramObjects();
  fp->show();

  std::unique_ptr<DemoPanel> panel;
  if (world) {
    panel = std::make_unique<DemoPanel>(QString::fromStdString(world->Root().string()),
                                        QString::fromStdString(world->ServerUrl()));
    const QRect main = fp->frameGeometry();
    panel->move(main.right() + 12, main.top());
    panel->show();
  }

  const int rc = QApplication::exec();
  if (world)
    std::fputs(qPrintable(sim::ReceivedLogReport(world->Server())), stdout);
  panel.reset();
  DestroyProgramObjects();
  return rc;
}
