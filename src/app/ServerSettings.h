#pragma once

#include <string>

// Where the maker's server and the geolocation service live. The build sets
// the defaults; the demo and the tests point them at the local server.
namespace ServerSettings {

std::string MakerBaseUrl();  // scheme and host, no trailing "/"
std::string GeoBaseUrl();
// CA bundle for HTTPS certificate checks; empty: the system's bundle.
std::string CaBundle();

void SetMakerBaseUrl(std::string url);
void SetGeoBaseUrl(std::string url);
void SetCaBundle(std::string path);

}  // namespace ServerSettings
