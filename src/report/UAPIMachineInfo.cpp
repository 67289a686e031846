// The machine facts of TUAPI and the elapsed-time counters of the log.
#include "app/ServerSettings.h"
#include "app/UAPI.h"
#include "platform/Platform.h"
#include "report/MachineInfo.h"

void TUAPI::GetMachineInfo() {
  report::MachineInfo info{InfoCpu,       InfoMemoria, InfoMemoriaFree, InfoDiscoCapacidade,
                           InfoDiscoFree, InfoIp,      InfoCidade,      InfoEstado};
  report::GatherMachineInfo(platform::Current().wmi, ServerSettings::GeoBaseUrl(), info);
  InfoCpu = info.InfoCpu;
  InfoMemoria = info.InfoMemoria;
  InfoMemoriaFree = info.InfoMemoriaFree;
  InfoDiscoCapacidade = info.InfoDiscoCapacidade;
  InfoDiscoFree = info.InfoDiscoFree;
  InfoIp = info.InfoIp;
  InfoCidade = info.InfoCidade;
  InfoEstado = info.InfoEstado;
}

QString TUAPI::GetsystemTotalTimeUp() {
  return QString::number(
      report::ElapsedSeconds(platform::Current().clock->TickCount(), FinitSystemTime));
}

QString TUAPI::GetSystemFirmwareDownloadTime() {
  if (FInitFirwmareDownload == 0)
    return QStringLiteral("0");
  LastMessureDownloadTime = QString::number(
      report::ElapsedSeconds(platform::Current().clock->TickCount(), FInitFirwmareDownload));
  return LastMessureDownloadTime;
}
