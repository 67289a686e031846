// Programs, files, waits and the taskbar: the operations of the application
// object over the plain utilities and the platform ports.
#include <QCoreApplication>

#include "app/FileUtils.h"
#include "app/Process.h"
#include "app/UAPI.h"
#include "platform/Platform.h"

namespace {

std::string utf8(const QString& s) {
  return s.toStdString();
}
QString text(const std::string& s) {
  return QString::fromStdString(s);
}

}  // namespace

void TUAPI::ProcessMessages() {
  QCoreApplication::processEvents(QEventLoop::AllEvents);
}

std::uint32_t TUAPI::ExecuteAndWait(const QString& FileName, const QString& RunParameters,
                                    const QString& WorkingDir, bool Hide) {
  // The one-second poll waits with the window alive instead of sleeping.
  return app::ExecuteAndWait(
      ExitCode, *platform::Current().shell, utf8(FileName), utf8(RunParameters), utf8(WorkingDir),
      Hide, [this](int milliseconds) { Delay(milliseconds); }, [this] { return Terminating(); });
}

std::uint32_t TUAPI::ExecuteNoWait(const QString& FileName, const QString& RunParameters,
                                   const QString& WorkingDir, bool Hide) {
  return app::ExecuteNoWait(ExitCode, *platform::Current().shell, utf8(FileName),
                            utf8(RunParameters), utf8(WorkingDir), Hide);
}

bool TUAPI::processExists(const QString& exeFileName) {
  return app::processExists(platform::Current().wmi, utf8(exeFileName));
}

void TUAPI::KillRewriters() {
  app::KillRewriters(*platform::Current().shell);
}

bool TUAPI::RecursiveDelete(const QString& FullPath) {
  return app::RecursiveDelete(utf8(FullPath), [this] { KillRewriters(); });
}

void TUAPI::CriaBatNoSlash(const QString& BATFileName, const QString& Command) {
  app::CriaBatNoSlash(utf8(BATFileName), utf8(Command));
}

void TUAPI::Delay(int Milliseconds) {
  app::Delay(*platform::Current().clock, Milliseconds, [this] { ProcessMessages(); });
}

QString TUAPI::MD5File(const QString& FileName) {
  return text(app::MD5File(utf8(FileName)));
}

void TUAPI::WorkMsTaskBar(platform::TaskbarState Estado, bool PiscaTaskBar,
                          std::int64_t PosicaoInicial, std::int64_t PosicaoFinal) {
  auto& taskbar = *platform::Current().taskbar;
  taskbar.SetProgress(Estado, PosicaoInicial, PosicaoFinal);
  if (PiscaTaskBar)
    taskbar.Flash(5, std::chrono::milliseconds(500));
}

QString TUAPI::ExtractFileNameFromURL(const QString& url) {
  return text(app::ExtractFileNameFromURL(utf8(url)));
}

QString TUAPI::localizaArquivos(const QString& mainPath, const QString& aFile) {
  return text(app::localizaArquivos(utf8(mainPath), utf8(aFile)));
}

QString TUAPI::LocateFirmwareDeepDir(const QString& root, const QString& FileParam) {
  return text(app::LocateFirmwareDeepDir(utf8(root), utf8(FileParam)));
}
