#pragma once

#include <QObject>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <memory>

#include "platform/Taskbar.h"

class QWidget;
class QTextEdit;
class TStageScreen;
class TWMI;
typedef void CURLSH;
namespace service {
class Idmserver;
}

// The application object: the state every screen shares, the start-up and
// close of the program, and the operations the screens call. Its operations
// live in several source files by concern: UAPI.cpp (start-up, folders,
// fonts, homologation, close), UAPIProcess.cpp (programs, files, waits),
// UAPIFlow.cpp (the recovery flow).
class TUAPI : public QObject {
 public:
  // Runs the start-up; the main window must exist already.
  TUAPI();
  ~TUAPI() override;  // FormDestroy: removes the fonts

  // --- start-up, folders and settings
  void FecharSistema();
  void desejaFechar();
  void DoHomologacao();
  void LoadHomologacao();
  QString ReturnHiddenDir();
  QString GetEnvVar(const QString& name);
  QString GetSpecialFolderPath(int csidl);
  void InstallFonts();
  void RemoveFonts();
  QString GetFileVersionText(const QString& fileName);
  // True once the close procedure has begun: every wait loop and every flow
  // step after a modal screen returns.
  bool Terminating() const { return terminating_; }
  // Ends every event loop at once, without the close procedure: the hidden
  // work folder stays and the system log is not sent.
  void Terminate();

  // --- stage and dialogs
  void ReturnBegining(TStageScreen* Screen);
  bool MsgPadrao(const QString& aTexto, bool SimNao);
  bool MsgPadrao(const QString& aTexto, bool SimNao, const QString& aBoldText);
  bool MsgPadraoSimNao(const QString& aTexto);
  void MakeItBold(QTextEdit* re, QWidget* apanel, const QString& aString, int Ajuste);

  // --- programs, files and waits
  std::uint32_t ExecuteAndWait(const QString& FileName, const QString& RunParameters,
                               const QString& WorkingDir, bool Hide);
  std::uint32_t ExecuteNoWait(const QString& FileName, const QString& RunParameters,
                              const QString& WorkingDir, bool Hide);
  bool processExists(const QString& exeFileName);
  void KillRewriters();
  bool RecursiveDelete(const QString& FullPath);
  void CriaBatNoSlash(const QString& BATFileName, const QString& Command);
  void Delay(int Milliseconds);
  QString MD5File(const QString& FileName);
  void WorkMsTaskBar(platform::TaskbarState Estado, bool PiscaTaskBar, std::int64_t PosicaoInicial,
                     std::int64_t PosicaoFinal);
  QString ExtractFileNameFromURL(const QString& url);
  QString localizaArquivos(const QString& mainPath, const QString& aFile);
  QString LocateFirmwareDeepDir(const QString& root, const QString& FileParam);
  // Lets pending window messages run once.
  void ProcessMessages();

  // --- device presence (the Plug and Play devices attached now)
  bool IsanySolvantaConnected();
  bool IsSpreadsTrumconnected();
  bool Verify_BurnModeRockchip();

  // --- driver installation
  // Whether the mark of the current driver set exists; creates the keys.
  bool GetIsdriverAlreadyInstalled();
  bool IsdriverAlreadyInstalled() { return GetIsdriverAlreadyInstalled(); }
  void SetDriverInstalled();
  // ArrayListOfDrivers := every "*.inf" under `mainPath`, in search order.
  void ReturnInfFilesonPath(const QString& mainPath);

  // --- catalogue
  // The device id of a model code (its last 5 characters); empty when none.
  QString ReturnIdFromRadical(const QString& Radical);

  // --- single files, picture cache and self-update
  // True when the URL answers with status 200 or 302.
  bool CheckUrl(const QString& url);
  // Lists in the image cache screen the device pictures missing from the
  // image cache; true when there is at least one.
  bool PrecacheImgs();
  // Asks the update service for newer program files; true when at least one
  // is to be installed, after queueing its download on the self-update
  // screen and writing the update list for the installer.
  bool CheckSystemUpdate();

  // --- customer identification
  // Loads the stored customer data when the "Cpf" value exists; creates the
  // key when missing.
  bool GetIsCpfDone();
  bool IsCpfDone() { return GetIsCpfDone(); }
  void WriteRegistryClientInfo(const QString& CPF, const QString& nome, const QString& telefone,
                               const QString& email);
  bool IsValidEmail(const QString& Value);
  bool IsValidCpf(const QString& cpf);

  // --- catalogue update: the service's TV models, "0" when it failed
  QString UpdateDataBaseTvs();

  // --- the recovery flow, once the device and the terms are confirmed
  void KickOffMainProcess();
  // Downloads every file of the queue that is not intact yet; a file missing
  // on the server or a download not completed runs the close procedure.
  void DownloadFirmwareQueue();
  // The chosen device's firmware, then its further parts from "devices_aux".
  void BuildDownloadQueue();
  // The last file named `RewriterHidden` in the hidden work folder and its
  // subfolders; empty when there is none.
  QString GetRewriterHiddenPath(const QString& RewriterHidden);
  // The download-agent argument of the MediaTek tool: the quoted path of a
  // "DA_SWSEC" file of the extracted firmware, else the tool's own agent.
  QString ReturnDaBinMtk();

  // --- machine facts
  // Processor, memory, drive C: and the public address into the Info fields.
  void GetMachineInfo();
  // Whole seconds since the facts were gathered.
  QString GetsystemTotalTimeUp();
  // "0" before the firmware download began, else its whole seconds so far
  // (also kept in LastMessureDownloadTime).
  QString GetSystemFirmwareDownloadTime();
  QString systemTotalTimeUp() { return GetsystemTotalTimeUp(); }
  QString SystemFirmwareDownloadTime() { return GetSystemFirmwareDownloadTime(); }

  // --- read-only properties
  TWMI* WMI() const { return FWMI.get(); }
  const QString& OSInfo() const { return FOSInfo; }
  bool IsWindows64() const { return Fiswindows64; }
  const QString& ExecVersion() const { return FExecVersion; }
  const QString& ExecPath() const { return FExecPath; }
  const QString& ImgDir() const { return FImgDir; }
  const QString& ISODir() const { return FisoDir; }
  const QString& Tempdir() const { return FTempdir; }
  const QString& dataDir() const { return FdataDir; }
  const QString& systemName() const { return FsystemName; }
  const QString& RegistryHive() const { return FregistryHive; }
  const QString& DriverDir() const { return FdriverDir; }
  const QString& RegistryHiveDrivers() const { return FRegistryHiveDrivers; }
  const QString& win32Dir() const { return fWin32Dir; }
  const QString& SoftRewritersDir() const { return FSoftRewritersDir; }
  const QString& hiddenDir() const { return fHiddenDir; }
  const QString& RegistryHiveUpdates() const { return FregistryHiveUpdates; }
  const QString& ItemclientCpf() const { return FItemClientCpf; }
  const QString& ItemclientName() const { return FItemClientName; }
  const QString& ItemClientTelefone() const { return FitemClientTelefone; }
  const QString& ItemClientEmail() const { return FitemClientemail; }
  CURLSH* Internet() const { return hOpen; }

  // --- the shared state, in the system's order
  std::unique_ptr<TWMI> FWMI;
  QString FOSInfo;
  bool Fiswindows64 = false;
  QString FExecVersion;
  QString FExecPath;
  QString FImgDir;
  std::uint32_t ExitCode = 999;
  QString FisoDir;
  QString fHiddenDir;
  QString FTempdir;
  QString FdataDir;
  QString FItemClientCpf, FItemClientName, FitemClientTelefone, FitemClientemail;
  QString FsystemName;
  QString FregistryHive;
  std::uint32_t FinitSystemTime = 0;
  QString FdriverDir;
  QString LastMessureDownloadTime;
  QString FSoftRewritersDir;
  QStringList UpdateSystemFile, UpdateSystemVersion, UpdateSystemSavePlace, UpdateSystemExtractDir;
  QString fWin32Dir;
  QString FRegistryHiveDrivers;
  QString fRegistryHiveClientData;
  QString FregistryHiveUpdates;
  QStringList AfilaDownload, AfilaDownloadMD5;
  std::int32_t MainSystemBaseVersion = 0;
  QString InfoCpu, InfoMemoria, InfoDiscoCapacidade, InfoDiscoFree, InfoIp, InfoCidade, InfoEstado,
      InfoMemoriaFree;
  QString ItemModelo;
  QString ItemCodigo;
  QString ItemIsoLink;
  QString ItemnomeImg;
  QString ItemIsoPlace;
  QString ItemPort;
  QString ItemChipset;
  QString ItemProductType;
  QString ItemMd5;
  QString ItemProductId, itemId;
  QString ItemTotalFirmwareDownloaded;
  std::int32_t ItemBurnMode = 0;
  std::uint32_t FInitFirwmareDownload = 0;
  QString UrlServerRewriter;
  QString UrlServerUpdate;
  QString Driverpath;
  QStringList ArrayListOfDrivers;
  bool IsConsoleDownloaded = false;
  bool DownloadExecutadoComSucesso = false;
  CURLSH* hOpen = nullptr;
  // The update service client.
  std::unique_ptr<service::Idmserver> httprioUpdate;
  bool LastDownloadPass = false;
  bool restartSystem = false;
  QString RewriterParam, RewriterPlace, RewriterName;
  bool GoodEnd = false;
  bool IsHomologacao = false;
  QList<QStringList> UsbExtructure;
  QString USbletter;
  std::int32_t systemTypeSelected = 0;
  QString AllDriverVersionName;
  QString notebookDriveNoPoint;

  // The user agent of the Internet root handle.
  static constexpr const char* kUserAgent =
      "Mozilla/5.0 (Windows NT 6.1; WOW64; Trident/7.0; AS; rv:11.0) like Gecko";
  // Name of the hidden work folder when the operating system's serial number
  // cannot be read: never empty, so the close never deletes "temp" itself.
  static constexpr const char* kFallbackHiddenDirName = "AssistenteSolvantaTrabalho";

 private:
  void FormCreate();
  // RewriterPlace := the folder of the extracted tool RewriterName.
  void SetRewriterPlace();
  // While a device of the maker is attached, asks to unplug it; `pause`
  // waits 100 ms before the second look after each answer.
  void UnplugCheck(bool pause);
  // A step whose screen this version lacks: the user is told, then the run
  // closes.
  void StageUnavailable(const QString& message);
  QStringList FontFiles();
  QString registryKey(const QString& subKey = {}) const;

  bool terminating_ = false;
  QStringList installedFonts_;
};
