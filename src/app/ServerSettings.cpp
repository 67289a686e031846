#include "app/ServerSettings.h"

#include <mutex>

namespace {

struct Values {
  std::mutex mutex;
  std::string maker = SOLVANTA_MAKER_HOST;
  std::string geo = SOLVANTA_GEO_HOST;
  std::string caBundle;
};

Values& values() {
  static Values v;
  return v;
}

std::string withoutTrailingSlash(std::string url) {
  while (!url.empty() && url.back() == '/')
    url.pop_back();
  return url;
}

}  // namespace

namespace ServerSettings {

std::string MakerBaseUrl() {
  std::lock_guard lock(values().mutex);
  return values().maker;
}

std::string GeoBaseUrl() {
  std::lock_guard lock(values().mutex);
  return values().geo;
}

std::string CaBundle() {
  std::lock_guard lock(values().mutex);
  return values().caBundle;
}

void SetMakerBaseUrl(std::string url) {
  std::lock_guard lock(values().mutex);
  values().maker = withoutTrailingSlash(std::move(url));
}

void SetGeoBaseUrl(std::string url) {
  std::lock_guard lock(values().mutex);
  values().geo = withoutTrailingSlash(std::move(url));
}

void SetCaBundle(std::string path) {
  std::lock_guard lock(values().mutex);
  values().caBundle = std::move(path);
}

}  // namespace ServerSettings
