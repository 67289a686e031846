// The log and protocol keepers of the program, tied to the application
// object, the data module, the main window and the platform's clock.
#include <QLabel>
#include <chrono>

#include "app/Globals.h"
#include "app/UAPI.h"
#include "app/fp.h"
#include "platform/Platform.h"
#include "report/Ptr.h"
#include "report/Rel.h"
#include "service/Idmserver.h"

namespace {

QDateTime LocalNow() {
  const auto since = platform::Current().clock->Now().time_since_epoch();
  return QDateTime::fromMSecsSinceEpoch(
      std::chrono::duration_cast<std::chrono::milliseconds>(since).count());
}

TRelFacts FactsOf(TUAPI& u) {
  return {u.FExecVersion,
          u.FOSInfo,
          u.InfoIp,
          u.InfoCpu,
          u.InfoMemoria,
          u.InfoMemoriaFree,
          u.InfoDiscoCapacidade,
          u.InfoDiscoFree,
          u.InfoCidade,
          u.InfoEstado,
          u.ItemProductId,
          u.ItemChipset,
          u.ItemTotalFirmwareDownloaded,
          u.ItemModelo,
          u.ItemclientName(),
          u.ItemclientCpf(),
          u.ItemClientTelefone(),
          u.ItemClientEmail(),
          u.GetsystemTotalTimeUp(),
          u.GetSystemFirmwareDownloadTime()};
}

}  // namespace

TPtr::TPtr()
    : TPtr(LocalNow, [](const QString& text) {
        if (fp)
          fp->lprotocolo()->setText(text);
      }) {}

TRel::TRel()
    : TRel(TRelLinks{
          dm, [] { return Ptr; },
          []() -> service::Idmserver* { return UAPI ? UAPI->httprioUpdate.get() : nullptr; },
          []() -> TWMI* { return UAPI ? UAPI->WMI() : nullptr; }, [] { return FactsOf(*UAPI); },
          LocalNow, UserLocale(*platform::Current().environment)}) {}
