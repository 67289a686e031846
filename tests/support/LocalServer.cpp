#include "LocalServer.h"

#include <gtest/gtest.h>

#include <fstream>
#include <stdexcept>

#include "sim/server/Certificates.h"

namespace testsupport {

LocalServer::LocalServer(bool https) : root_(folder_.path().toStdString() + "/served") {
  std::filesystem::create_directories(root_);
  sim::ServerOptions options;
  options.root = root_;
  if (https) {
    auto certificates = sim::GenerateCertificates();
    if (!certificates) {
      ADD_FAILURE() << certificates.error();
      throw std::runtime_error(certificates.error());
    }
    auto ca = sim::WriteCertificates(*certificates, folder_.path().toStdString() + "/tls");
    if (!ca) {
      ADD_FAILURE() << ca.error();
      throw std::runtime_error(ca.error());
    }
    caFile_ = ca->string();
    options.tls = certificates->server;
  }
  server_ = std::make_unique<sim::MakerServer>(options);
  if (auto started = server_->Start(); !started) {
    ADD_FAILURE() << started.error();
    throw std::runtime_error(started.error());
  }
}

std::string LocalServer::url(std::string_view path) const {
  return server_->BaseUrl() + std::string(path);
}

std::string LocalServer::AddFile(std::string_view path, std::string_view contents) {
  const auto file = root_ / std::filesystem::path(path).relative_path();
  std::filesystem::create_directories(file.parent_path());
  std::ofstream(file, std::ios::binary)
      .write(contents.data(), static_cast<std::streamsize>(contents.size()));
  return url(path);
}

std::string WriteUnrelatedCa(const std::filesystem::path& folder) {
  auto other = sim::GenerateCertificates();
  if (!other) {
    ADD_FAILURE() << other.error();
    return {};
  }
  return sim::WriteCertificates(*other, folder).value_or(std::filesystem::path()).string();
}

}  // namespace testsupport
