#pragma once

#include <expected>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>

#include "sim/server/MakerServer.h"

namespace sim {

struct DemoWorldOptions {
  std::filesystem::path fontsSource{};  // folder whose .ttf files go to the program's "fonts/"
  bool https = false;                   // the maker's server over HTTPS with a generated CA
  // The world's folder, created when missing, reused and kept afterwards;
  // empty: a new temporary folder, removed when the world ends.
  std::filesystem::path root{};
};

// A folder laid out as an installation on a PC, and the maker's
// server running in-process on a free loopback port:
//   Program Files/AssistenteSolvanta/      fonts/, noimg.jpg
//   AppData/Local/AssistenteSolvanta/      data folder, SoftwareDrivers/
//   Temp/, Windows/                        the user's temp and the Windows folder
//   server/                                served at "/": solvanta/rewriter/, solvanta/updates/
// The geolocation lookup is plain HTTP, so with `https` a second, plain server
// answers it. Every path returned ends without a separator.
class DemoWorld {
 public:
  static std::expected<std::unique_ptr<DemoWorld>, std::string> Create(
      const DemoWorldOptions& options);
  ~DemoWorld();
  DemoWorld(const DemoWorld&) = delete;
  DemoWorld& operator=(const DemoWorld&) = delete;

  const std::filesystem::path& Root() const { return root_; }
  std::filesystem::path ProgramFiles() const;  // the "ProgramFiles" variable
  std::filesystem::path ProgramDir() const;
  std::filesystem::path FontsDir() const;
  std::filesystem::path NoImgFile() const;
  std::filesystem::path LocalAppData() const;  // the local application-data shell folder
  std::filesystem::path DataDir() const;
  std::filesystem::path DriversDir() const;
  std::filesystem::path TempDir() const;     // the "temp" variable
  std::filesystem::path WindowsDir() const;  // the Windows shell folder
  std::filesystem::path ServedDir() const;

  MakerServer& Server() { return *server_; }
  MakerServer& GeoServer() { return geoServer_ ? *geoServer_ : *server_; }
  std::string ServerUrl() const { return server_->BaseUrl(); }  // the maker's host
  std::string GeoUrl() const;                                   // the geolocation host
  std::string CaFile() const { return caFile_.string(); }       // empty without https

  // Writes `contents` to the served file at `urlPath` (e.g.
  // "/solvanta/updates/x.slvr"), creating its folders; returns its URL.
  std::expected<std::string, std::string> AddServedFile(std::string_view urlPath,
                                                        std::string_view contents);
  std::string Url(std::string_view urlPath) const;

 private:
  DemoWorld() = default;

  std::filesystem::path root_;
  std::filesystem::path caFile_;
  bool keep_ = false;
  std::unique_ptr<MakerServer> server_;
  std::unique_ptr<MakerServer> geoServer_;
};

}  // namespace sim
