// The link check and the picture pre-caching of the application object.
#include <QFileInfo>

#include "app/Globals.h"
#include "app/ServerSettings.h"
#include "app/UAPI.h"
#include "catalogue/DataModule.h"
#include "download/CheckUrl.h"
#include "download/UformCacheImg.h"

bool TUAPI::CheckUrl(const QString& url) {
  return download::CheckUrl(url.toStdString(), ServerSettings::CaBundle());
}

bool TUAPI::PrecacheImgs() {
  if (!dm->adoConnBase.Connected())
    dm->adoConnBase.Open();
  if (!dm->devices.Active())
    dm->devices.Open();
  QStringList& urls = Img->aprodutosurl;
  urls.clear();
  for (dm->devices.First(); !dm->devices.Eof(); dm->devices.Next()) {
    const QString url = dm->devicesurl_picture.AsString();
    if (!QFileInfo::exists(FImgDir + ExtractFileNameFromURL(url)))
      urls << url;
  }
  return !urls.isEmpty();
}
