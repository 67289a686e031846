// Driver installation: the mark of the installed driver set and the search
// for the driver files.
#include <exception>

#include "app/FileUtils.h"
#include "app/UAPI.h"
#include "platform/Platform.h"

namespace {

std::string DriversKey(const TUAPI& uapi) {
  return (uapi.FregistryHive + QLatin1Char('\\') + uapi.FRegistryHiveDrivers).toStdString();
}

}  // namespace

// A key that cannot be created reads as "not installed": the drivers are
// installed again rather than never.
bool TUAPI::GetIsdriverAlreadyInstalled() {
  auto& registry = *platform::Current().registry;
  const std::string key = DriversKey(*this);
  return registry.CreateKey(platform::Hive::CurrentUser, key) &&
         registry.ReadValue(platform::Hive::CurrentUser, key, AllDriverVersionName.toStdString())
             .has_value();
}

// A mark that cannot be written only makes a later run install again.
void TUAPI::SetDriverInstalled() {
  auto& registry = *platform::Current().registry;
  const std::string key = DriversKey(*this);
  registry.CreateKey(platform::Hive::CurrentUser, key);
  registry.WriteValue(platform::Hive::CurrentUser, key, AllDriverVersionName.toStdString(),
                      std::uint32_t{1});
}

void TUAPI::ReturnInfFilesonPath(const QString& mainPath) {
  ArrayListOfDrivers.clear();
  try {
    for (const std::string& file : app::SearchFiles(mainPath.toStdString(), "*.inf")) {
      ArrayListOfDrivers << QString::fromStdString(file);
    }
  } catch (const std::exception&) {
    // A missing drivers folder holds no driver: only the installer runs.
  }
}
