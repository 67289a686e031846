// Start-up, folders, registry, fonts, homologation mode and the close of the
// program.
#include "app/UAPI.h"

#include <curl/curl.h>

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QTextEdit>

#include "app/FBNB.h"
#include "app/FileUtils.h"
#include "app/Fmessage.h"
#include "app/Globals.h"
#include "app/RichTextBold.h"
#include "app/Screen.h"
#include "app/ServerSettings.h"
#include "app/SystemDone.h"
#include "app/WMI.h"
#include "app/fp.h"
#include "app/msgSimNao.h"
#include "catalogue/DataModule.h"
#include "catalogue/FsTsystem.h"
#include "platform/Platform.h"
#include "report/Rel.h"
#include "service/Idmserver.h"

namespace {

const QString kSep = QDir::separator();

std::string utf8(const QString& s) {
  return s.toStdString();
}

// A serial number is used as a folder name: anything that could climb out of
// the temporary folder or name it is refused.
bool usableFolderName(const QString& name) {
  return !name.isEmpty() && name != QLatin1String(".") && name != QLatin1String("..") &&
         !name.contains(QLatin1Char('/')) && !name.contains(QLatin1Char('\\'));
}

}  // namespace

TUAPI::TUAPI() {
  FormCreate();
}

TUAPI::~TUAPI() {
  RemoveFonts();
  if (hOpen)
    curl_share_cleanup(hOpen);
}

void TUAPI::FormCreate() {
  auto& pc = platform::Current();

  UrlServerRewriter = QString::fromStdString(ServerSettings::MakerBaseUrl()) +
                      QStringLiteral("/solvanta/rewriter/");
  UrlServerUpdate =
      QString::fromStdString(ServerSettings::MakerBaseUrl()) + QStringLiteral("/solvanta/updates/");
  httprioUpdate = service::CreateIdmserver(ServerSettings::MakerBaseUrl() + service::kServicePath,
                                           ServerSettings::CaBundle());
  FsystemName = QStringLiteral("AssistenteSolvanta");
  FregistryHive = QStringLiteral("SOFTWARE\\") + FsystemName;
  FRegistryHiveDrivers = QStringLiteral("Setup\\Drivers");
  AllDriverVersionName = QStringLiteral("V3");
  fRegistryHiveClientData = QStringLiteral("ClientData");
  FregistryHiveUpdates = QStringLiteral("UpdateVersions");

  const QString temp = GetEnvVar(QStringLiteral("temp"));
  FTempdir = temp + kSep + FsystemName + kSep;
  FImgDir = FTempdir + QStringLiteral("ImageCache") + kSep;
  FExecPath = GetEnvVar(QStringLiteral("ProgramFiles")) + kSep + FsystemName + kSep;
  FdataDir = GetSpecialFolderPath(platform::kCsidlLocalAppData) + kSep + FsystemName + kSep;
  FisoDir = FdataDir + QStringLiteral("Firmwares") + kSep;
  FdriverDir = FdataDir + QStringLiteral("SoftwareDrivers") + kSep;
  fHiddenDir = temp + kSep + ReturnHiddenDir() + kSep;
  FSoftRewritersDir = fHiddenDir + QStringLiteral("SoftRewriters") + kSep;

  MainSystemBaseVersion = 1000;

  for (const QString& dir :
       {FSoftRewritersDir, FTempdir, FImgDir, FisoDir, FdataDir, fHiddenDir, FdriverDir}) {
    QDir().mkpath(dir);
  }

  InstallFonts();

  // A database that cannot be opened is reported once the main window shows.
  dm->OpenDatabases(FdataDir);

  // Tool archives left by an earlier run are never reused.
  RecursiveDelete(FSoftRewritersDir);

  FWMI = std::make_unique<TWMI>(pc.wmi);
  try {
    FWMI->GetOSInfo();
  } catch (const platform::WmiError&) {
    // The caption and width stay empty and zero.
  }
  FOSInfo = QString::fromStdString(FWMI->Caption()) + QStringLiteral(" - ") +
            QString::number(FWMI->AddressWidth()) + QStringLiteral(" bits");
  Fiswindows64 = FWMI->AddressWidth() == 64;

  GetMachineInfo();

  FinitSystemTime = pc.clock->TickCount();

  fWin32Dir = GetSpecialFolderPath(platform::kCsidlWindows) +
              (Fiswindows64 ? QStringLiteral("/SysNative/") : QStringLiteral("/system32/"));

  // The Internet root handle: connections, DNS and TLS sessions shared by
  // the direct requests of the program.
  curl_global_init(CURL_GLOBAL_DEFAULT);
  hOpen = curl_share_init();
  if (hOpen) {
    curl_share_setopt(hOpen, CURLSHOPT_SHARE, CURL_LOCK_DATA_DNS);
    curl_share_setopt(hOpen, CURLSHOPT_SHARE, CURL_LOCK_DATA_SSL_SESSION);
  }

  FExecVersion = GetFileVersionText(QCoreApplication::applicationFilePath());

  LoadHomologacao();
}

QString TUAPI::GetEnvVar(const QString& name) {
  return QString::fromStdString(
      platform::Current().environment->Variable(utf8(name)).value_or(std::string{}));
}

QString TUAPI::GetSpecialFolderPath(int csidl) {
  return QString::fromStdString(
      platform::Current().environment->SpecialFolder(csidl).value_or(std::string{}));
}

QString TUAPI::ReturnHiddenDir() {
  QString serial;
  try {
    TWMI wmi(platform::Current().wmi);
    auto query = wmi.CreateQuery("SELECT SerialNumber FROM Win32_OperatingSystem");
    while (query->Next())
      serial = QString::fromStdString(query->Value("SerialNumber"));
  } catch (const platform::WmiError&) {
    serial.clear();
  }
  return usableFolderName(serial) ? serial : QString::fromLatin1(kFallbackHiddenDirName);
}

QString TUAPI::GetFileVersionText(const QString& fileName) {
  // The running program carries the build's version; other files have none.
  if (QFileInfo(fileName).canonicalFilePath() !=
      QFileInfo(QCoreApplication::applicationFilePath()).canonicalFilePath()) {
    return {};
  }
  return QStringLiteral("%1.%2.%3.%4")
      .arg(SOLVANTA_VERSION_MAJOR)
      .arg(SOLVANTA_VERSION_MINOR)
      .arg(SOLVANTA_VERSION_PATCH)
      .arg(SOLVANTA_VERSION_TWEAK);
}

QStringList TUAPI::FontFiles() {
  QStringList files;
  try {
    // Every match, not only the last: the walk of the file search.
    for (const std::string& f :
         app::SearchFiles(utf8(FExecPath + QStringLiteral("fonts")), std::string("*.ttf"))) {
      files << QString::fromStdString(f);
    }
  } catch (const std::exception&) {
    // A missing fonts folder leaves the system's fonts.
  }
  return files;
}

void TUAPI::InstallFonts() {
  auto& fonts = *platform::Current().fonts;
  for (const QString& file : FontFiles()) {
    if (fonts.AddFontResource(utf8(file)))
      installedFonts_ << file;
  }
  fonts.NotifyFontChange();
}

void TUAPI::RemoveFonts() {
  auto& fonts = *platform::Current().fonts;
  for (const QString& file : FontFiles())
    fonts.RemoveFontResource(utf8(file));
  installedFonts_.clear();
  fonts.NotifyFontChange();
}

QString TUAPI::registryKey(const QString& subKey) const {
  return subKey.isEmpty() ? FregistryHive : FregistryHive + QLatin1Char('\\') + subKey;
}

namespace {

bool registryFlag(const std::string& key, const std::string& name) {
  auto value = platform::Current().registry->ReadValue(platform::Hive::CurrentUser, key, name);
  if (!value)
    return false;
  if (auto* number = std::get_if<std::uint32_t>(&*value))
    return *number != 0;
  return false;
}

}  // namespace

void TUAPI::LoadHomologacao() {
  auto& registry = *platform::Current().registry;
  const std::string key = utf8(registryKey());
  registry.CreateKey(platform::Hive::CurrentUser, key);
  IsHomologacao = registryFlag(key, "ishomologacao");
  if (fp)
    fp->Lhomologacao()->setVisible(IsHomologacao);
}

void TUAPI::DoHomologacao() {
  auto& registry = *platform::Current().registry;
  const std::string key = utf8(registryKey());
  registry.CreateKey(platform::Hive::CurrentUser, key);
  const bool on = registryFlag(key, "ishomologacao");
  registry.WriteValue(platform::Hive::CurrentUser, key, "ishomologacao",
                      std::uint32_t{on ? 0u : 1u});
  MsgPadrao(QStringLiteral("Reiniciando sistema para efetuar modificação"), false);
  restartSystem = true;
  FecharSistema();
}

void TUAPI::FecharSistema() {
  if (terminating_)
    return;
  if (SystemDone)
    SystemDone->ShowOverStage();

  if (Rel)
    Rel->EnviaSystemLog();

  RecursiveDelete(fHiddenDir);

  if (restartSystem) {
    ExecuteNoWait(FExecPath + FsystemName + QStringLiteral(".exe"), QString(), FExecPath, false);
  }

  terminating_ = true;
  // Leaves every event loop, the modal dialogs' included.
  QCoreApplication::exit(0);
}

void TUAPI::desejaFechar() {
  if (MsgPadrao(QStringLiteral("Gostaria de encerrar o sistema ?"), true))
    FecharSistema();
}

void TUAPI::ReturnBegining(TStageScreen* Screen) {
  fp->Fs.ShowScreen(Screen, FsTsystem);
}

bool TUAPI::MsgPadrao(const QString& aTexto, bool SimNao) {
  return Fmessage->MsgPadrao(aTexto, SimNao);
}

bool TUAPI::MsgPadrao(const QString& aTexto, bool SimNao, const QString& aBoldText) {
  return Fmessage->MsgPadrao(aTexto, SimNao, aBoldText);
}

bool TUAPI::MsgPadraoSimNao(const QString& aTexto) {
  return msgSimNao->MsgPadraoSimNao(aTexto);
}

void TUAPI::MakeItBold(QTextEdit* re, QWidget* apanel, const QString& aString, int Ajuste) {
  ::MakeItBold(re, apanel, aString, Ajuste);
}
