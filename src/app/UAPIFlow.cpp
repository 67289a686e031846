// The recovery flow that runs once the device and the terms are confirmed:
// drivers, vendor tool, firmware queue, and the hand-over to the screen that
// does the device-specific work.
#include <QFileInfo>
#include <QLabel>

#include "app/FBNB.h"
#include "app/FileUtils.h"
#include "app/Globals.h"
#include "app/UAPI.h"
#include "app/fp.h"
#include "catalogue/DataModule.h"
#include "catalogue/acceptcontract.h"
#include "download/uDownloadMultipart.h"
#include "download/uFormDescompactaFirmwares.h"
#include "download/uFormDownloadFirmware.h"
#include "download/uFormdownloadextractgeral.h"
#include "drivers/DrvInstall.h"
#include "platform/Platform.h"
#include "report/Ptr.h"
#include "report/Rel.h"
#include "rewrite/FallDone.h"

namespace {

// The vendor tool archive of each family that has one.
QString ToolArchive(qint64 chipsetId) {
  switch (chipsetId) {
    case 1:
    case 5:
      return QStringLiteral("SpreadstrumTool.zip");
    case 2:
    case 6:
      return QStringLiteral("MediaTekTools.zip");
    case 3:
      return QStringLiteral("RockChipToolsNew.zip");
    default:
      return {};
  }
}

const QString kSpreadtrumTool = QStringLiteral("CmdDloader.exe");
const QString kSpreadtrumParam = QStringLiteral(" -C -pac");

// The steps whose screens this version does not have yet: the flow tells the
// user and closes instead of leaving the waiting screen up.
const QString kPortSearchUnavailable = QStringLiteral(
    "A busca da porta do dispositivo não está disponível nesta versão do Assistente.");
const QString kRewriterUnavailable = QStringLiteral(
    "A regravação deste dispositivo não está disponível nesta versão do Assistente.");
const QString kTvUnavailable = QStringLiteral(
    "A preparação do pendrive da TV não está disponível nesta versão do Assistente.");
const QString kNotebookUnavailable = QStringLiteral(
    "A criação do pendrive de recuperação do notebook não está disponível nesta versão do "
    "Assistente.");
const QString kNotRewritable = QStringLiteral(
    "Este modelo não pode ser regravado pelo Assistente. Favor entrar em contato com o SAC.");

}  // namespace

void TUAPI::KickOffMainProcess() {
  const qint64 chipsetId = dm->deviceschipsetId.AsInteger();
  const bool hasTool = chipsetId != 4 && chipsetId != 7;

  if (hasTool) {
    Rel->SetStatus(QStringLiteral("2"));
    Rel->SetUltimaAcao(QStringLiteral("20"));
    Rel->SetRel(QStringLiteral("Verificando Status do Driver") + ItemChipset);
    if (!GetIsdriverAlreadyInstalled()) {
      Driverpath = FdriverDir;
      ReturnInfFilesonPath(Driverpath);
      Rel->SetUltimaAcao(QStringLiteral("12"));
      DrvInstall->exec();
      if (Terminating())
        return;
      Rel->SetRel(QStringLiteral("Drivers instalados"));
      SetDriverInstalled();
    }

    Rel->SetStatus(QStringLiteral("4"));
    Rel->SetUltimaAcao(QStringLiteral("21"));
    Rel->SetRel(QStringLiteral("Baixando regravador"));
    if (const QString archive = ToolArchive(chipsetId); !archive.isEmpty())
      RewriterName = archive;
    if (QFileInfo::exists(FSoftRewritersDir + RewriterName)) {
      Rel->SetRel(QStringLiteral("Regravador ja existia"));
      IsConsoleDownloaded = true;
    }
    ExtFiles->ZeraParm();
    ExtFiles->AddUrl(UrlServerRewriter + RewriterName);
    ExtFiles->AddLocalSalvar(FSoftRewritersDir);
    ExtFiles->AddDescompDirSimNao(true);
    ExtFiles->AddProgressoGeralTitulo(QStringLiteral("Processando Arquivos Auxiliares..."));
    ExtFiles->AddExtrairParaSubDir(true);
    ExtFiles->exec();
    if (Terminating())
      return;
    Rel->SetRel(QStringLiteral("Regravador baixado e descomprimido"));
  }

  fp->Fs.ShowScreen(acceptcontract, FBNB);
  FInitFirwmareDownload = platform::Current().clock->TickCount();
  Rel->SetStatus(QStringLiteral("3"));
  Rel->SetUltimaAcao(QStringLiteral("23"));
  DownloadFirmwareQueue();
  if (Terminating())
    return;
  Rel->SetRel(QStringLiteral("firmware baixado e descomprimido com sucesso"));

  switch (chipsetId) {
    case 1:
      RewriterName = kSpreadtrumTool;
      RewriterParam = kSpreadtrumParam;
      SetRewriterPlace();
      StageUnavailable(kPortSearchUnavailable);
      break;
    case 3:
      UnplugCheck(false);
      if (Terminating())
        return;
      RewriterName = QStringLiteral("FactoryTool.exe");
      SetRewriterPlace();
      IsoExp->exec();
      if (Terminating())
        return;
      StageUnavailable(kRewriterUnavailable);
      break;
    case 4:
      StageUnavailable(kTvUnavailable);
      return;
    case 5:
      RewriterName = kSpreadtrumTool;
      RewriterParam = kSpreadtrumParam;
      SetRewriterPlace();
      IsoExp->exec();
      if (Terminating())
        return;
      UnplugCheck(false);
      if (Terminating())
        return;
      StageUnavailable(kRewriterUnavailable);
      break;
    case 6:
      IsoExp->exec();
      if (Terminating())
        return;
      RewriterName = QStringLiteral("flash_tool.exe");
      RewriterParam =
          QStringLiteral(" -d ") + ReturnDaBinMtk() + QStringLiteral(" -c firmware-upgrade -s");
      SetRewriterPlace();
      UnplugCheck(true);
      if (Terminating())
        return;
      StageUnavailable(kRewriterUnavailable);
      break;
    case 7:
      GoodEnd = false;
      StageUnavailable(kNotebookUnavailable);
      return;
    default:
      // Family 2 and values outside the families have no rewriter: the
      // tool archive's name is kept for the log, and the run ends.
      if (chipsetId == 2)
        RewriterName = QStringLiteral("MediaTekTools.zip");
      StageUnavailable(kNotRewritable);
      return;
  }

  // A rewriter that rewrote the device leaves GoodEnd set; one that failed
  // has ended the run itself.
  if (Terminating())
    return;
  if (GoodEnd)
    FallDone->exec();
}

void TUAPI::StageUnavailable(const QString& message) {
  MsgPadrao(message, false);
  if (Terminating())
    return;
  FecharSistema();
}

void TUAPI::DownloadFirmwareQueue() {
  Rel->SetStatus(QStringLiteral("3"));
  Rel->SetUltimaAcao(QStringLiteral("23"));
  Rel->SetRel(QStringLiteral("Fazendo download do firmware do produto"));
  ProcessMessages();

  BuildDownloadQueue();
  LastDownloadPass = false;
  const bool singleFile = dm->deviceschipsetId.AsInteger() == 40;
  const qsizetype n = AfilaDownload.size();
  for (qsizetype i = 0; i < n; ++i) {
    const QString& url = AfilaDownload[i];
    if (!CheckUrl(url)) {
      Ptr->SetCodigoErro(QStringLiteral("006"));
      Rel->SetUltimaAcao(QStringLiteral("7"));
      Rel->SetRel(QStringLiteral("Firmware - Arquivo nao encontrado para download --> ") + url);
      MsgPadrao(QStringLiteral("Problemas com o Download, arquivo não encontrado, favor entrar em "
                               "contato com o SAC"),
                false);
      FecharSistema();
      return;
    }
    const QString local = FisoDir + ExtractFileNameFromURL(url);
    const QString caption = n == 1 ? QStringLiteral("Baixando Imagem")
                                   : QStringLiteral("Baixando Imagem %1/%2").arg(i + 1).arg(n);
    TStageDialog* screen = nullptr;
    if (singleFile) {
      DIso->UrlPassada = url;
      DIso->FileName = local;
      DIso->Md5Passado = AfilaDownloadMD5[i];
      if (DIso->VerificaIntegridadeFirmware())
        continue;
      DIso->Label1()->setText(caption);
      DIso->DownloadedOnce = false;
      screen = DIso;
    } else {
      DownloadMultipart->UrlPassada = url;
      DownloadMultipart->filename = local;
      DownloadMultipart->Md5Passado = AfilaDownloadMD5[i];
      if (DownloadMultipart->VerificaIntegridadeFirmware())
        continue;
      DownloadMultipart->Label1()->setText(caption);
      screen = DownloadMultipart;
    }
    if (i + 1 == n)
      LastDownloadPass = true;
    DownloadExecutadoComSucesso = false;
    screen->exec();
    if (Terminating())
      return;
    if (!DownloadExecutadoComSucesso) {
      FecharSistema();
      return;
    }
  }
}

void TUAPI::BuildDownloadQueue() {
  AfilaDownload.clear();
  AfilaDownloadMD5.clear();
  dm->downloadaux.Close();
  dm->OpenDownloadAux(dm->devicesid.AsInteger());
  AfilaDownload << ItemIsoLink;
  AfilaDownloadMD5 << ItemMd5;
  for (dm->downloadaux.First(); !dm->downloadaux.Eof(); dm->downloadaux.Next()) {
    AfilaDownload << dm->downloadaux.FieldValue(QStringLiteral("url_firmware")).toString();
    AfilaDownloadMD5 << dm->downloadaux.FieldValue(QStringLiteral("md5")).toString();
  }
}

QString TUAPI::GetRewriterHiddenPath(const QString& RewriterHidden) {
  try {
    return QString::fromStdString(
        app::localizaArquivos(fHiddenDir.toStdString(), RewriterHidden.toStdString()));
  } catch (const std::exception&) {
    // A hidden folder that vanished or an unusable name holds no tool.
    return {};
  }
}

void TUAPI::SetRewriterPlace() {
  RewriterPlace = GetRewriterHiddenPath(RewriterName).remove(RewriterName);
}

QString TUAPI::ReturnDaBinMtk() {
  try {
    const std::string folder =
        app::LocateFirmwareDeepDir(ItemIsoPlace.toStdString(), "DA_SWSEC*.*");
    if (!folder.empty()) {
      const std::string file = app::localizaArquivos(folder, "DA_SWSEC*.*");
      if (!file.empty())
        return QLatin1Char('"') + QString::fromStdString(file) + QLatin1Char('"');
    }
  } catch (const std::exception&) {
    // A missing extraction folder has no download agent of its own.
  }
  return QStringLiteral("MTK_AllInOne_DA.bin");
}

void TUAPI::UnplugCheck(bool pause) {
  if (!IsanySolvantaConnected())
    return;
  for (;;) {
    MsgPadrao(QStringLiteral("Atenção desplugue o dispositivo Tornex conectado no PC"), false);
    if (Terminating() || !IsanySolvantaConnected())
      return;
    if (pause) {
      Delay(100);
      if (Terminating())
        return;
    }
    if (!IsanySolvantaConnected())
      return;
  }
}
