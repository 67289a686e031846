#pragma once

#include <expected>
#include <filesystem>
#include <string>

#include "sim/server/MakerServer.h"

namespace sim {

// A certificate authority made for one run and a server certificate it signed
// for "localhost" and 127.0.0.1, all as PEM text.
struct GeneratedCertificates {
  std::string caCertificatePem;
  TlsIdentity server;
};

std::expected<GeneratedCertificates, std::string> GenerateCertificates();

// Writes "ca.pem", "server.pem" and "server-key.pem" into `folder` (created when
// missing); returns the path of "ca.pem".
std::expected<std::filesystem::path, std::string> WriteCertificates(
    const GeneratedCertificates& certificates, const std::filesystem::path& folder);

// Reads a whole text file; the error names the file.
std::expected<std::string, std::string> ReadTextFile(const std::filesystem::path& path);

}  // namespace sim
