// The catalogue update's call of the update service.
#include "app/UAPI.h"
#include "service/Idmserver.h"
#include "service/TvsCatalogue.h"

QString TUAPI::UpdateDataBaseTvs() {
  if (!httprioUpdate)
    return QString::fromLatin1(service::kTvsUnavailable);
  try {
    return QString::fromStdString(httprioUpdate->UpdateDbTvs(service::kKey));
  } catch (const std::exception&) {
    return QString::fromLatin1(service::kTvsUnavailable);
  }
}
