#pragma once

#include <QTemporaryDir>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>

#include "sim/server/MakerServer.h"

namespace testsupport {

// The maker's server started for one test on a free loopback port, serving a
// fresh temporary folder; with `https`, behind a certificate signed by a CA
// generated for the test (CaFile()). Stops and removes its folder when destroyed.
// Failing to start is a fatal test failure.
class LocalServer {
 public:
  explicit LocalServer(bool https = false);

  sim::MakerServer& server() { return *server_; }
  sim::MakerServer* operator->() { return server_.get(); }
  const std::filesystem::path& root() const { return root_; }
  std::string url(std::string_view path) const;  // base URL + path
  const std::string& CaFile() const { return caFile_; }

  // Writes a file to be served at `path` ("/a/b.bin"); returns its URL.
  std::string AddFile(std::string_view path, std::string_view contents);

 private:
  QTemporaryDir folder_;
  std::filesystem::path root_;
  std::string caFile_;
  std::unique_ptr<sim::MakerServer> server_;
};

// A certificate authority of its own, unrelated to any server's.
std::string WriteUnrelatedCa(const std::filesystem::path& folder);

}  // namespace testsupport
