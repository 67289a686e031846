// The catalogue operations of TUAPI.
#include "app/Globals.h"
#include "app/UAPI.h"
#include "catalogue/DataModule.h"

QString TUAPI::ReturnIdFromRadical(const QString& Radical) {
  return IdFromRadical(dm->radical, Radical);
}
