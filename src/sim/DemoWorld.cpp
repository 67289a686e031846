#include "sim/DemoWorld.h"

#include <QColor>
#include <QImage>
#include <QPainter>
#include <QString>
#include <algorithm>
#include <cstdlib>
#include <fstream>

#include "sim/server/Certificates.h"

namespace sim {
namespace fs = std::filesystem;
namespace {

constexpr const char* kSystemName = "AssistenteSolvanta";

std::expected<fs::path, std::string> MakeTemporaryFolder() {
  std::error_code error;
  std::string pattern = (fs::temp_directory_path(error) / "solvanta-demo-XXXXXX").string();
  if (error || mkdtemp(pattern.data()) == nullptr) {
    return std::unexpected("Não foi possível criar a pasta temporária do mundo");
  }
  return fs::path(pattern);
}

bool WriteNoImage(const fs::path& file) {
  QImage image(160, 120, QImage::Format_RGB32);
  image.fill(QColor(0xe8, 0xe8, 0xe8));
  QPainter painter(&image);
  painter.setPen(QPen(QColor(0x9a, 0x9a, 0x9a), 6));
  painter.drawLine(40, 30, 120, 90);
  painter.drawLine(120, 30, 40, 90);
  painter.end();
  return image.save(QString::fromStdString(file.string()), "JPG");
}

std::expected<void, std::string> CopyFonts(const fs::path& from, const fs::path& to) {
  std::error_code error;
  if (!fs::is_directory(from, error)) {
    return std::unexpected("Pasta de fontes não encontrada: " + from.string());
  }
  for (const auto& entry : fs::directory_iterator(from, error)) {
    std::string extension = entry.path().extension().string();
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    if (entry.is_regular_file() && extension == ".ttf" &&
        !fs::copy_file(entry.path(), to / entry.path().filename(),
                       fs::copy_options::overwrite_existing, error)) {
      return std::unexpected("Não foi possível copiar a fonte " + entry.path().string());
    }
  }
  if (error) {
    return std::unexpected("Não foi possível ler a pasta de fontes " + from.string());
  }
  return {};
}

// The URL path as a relative path below the served folder; nullopt when it
// is empty or climbs out.
std::optional<fs::path> ServedRelative(std::string_view urlPath) {
  const fs::path relative = fs::path(urlPath).relative_path().lexically_normal();
  if (relative.empty() || *relative.begin() == ".." || !relative.has_filename()) {
    return std::nullopt;
  }
  return relative;
}

}  // namespace

std::expected<std::unique_ptr<DemoWorld>, std::string> DemoWorld::Create(
    const DemoWorldOptions& options) {
  std::error_code error;
  std::unique_ptr<DemoWorld> world(new DemoWorld);
  if (options.root.empty()) {
    auto root = MakeTemporaryFolder();
    if (!root) {
      return std::unexpected(root.error());
    }
    world->root_ = *root;
  } else {
    world->root_ = fs::absolute(options.root, error);
    world->keep_ = true;
  }
  for (const fs::path& folder : {world->FontsDir(), world->DriversDir(), world->TempDir(),
                                 world->WindowsDir(), world->ServedDir() / "solvanta" / "rewriter",
                                 world->ServedDir() / "solvanta" / "updates"}) {
    if (!fs::create_directories(folder, error) && error) {
      return std::unexpected("Não foi possível criar " + folder.string());
    }
  }
  if (!options.fontsSource.empty()) {
    if (auto copied = CopyFonts(options.fontsSource, world->FontsDir()); !copied) {
      return std::unexpected(copied.error());
    }
  }
  if (!WriteNoImage(world->NoImgFile())) {
    return std::unexpected("Não foi possível gravar " + world->NoImgFile().string());
  }

  ServerOptions serverOptions;
  serverOptions.root = world->ServedDir();
  if (options.https) {
    auto certificates = GenerateCertificates();
    if (!certificates) {
      return std::unexpected(certificates.error());
    }
    auto ca = WriteCertificates(*certificates, world->root_ / "certificates");
    if (!ca) {
      return std::unexpected(ca.error());
    }
    world->caFile_ = *ca;
    serverOptions.tls = certificates->server;
    world->geoServer_ = std::make_unique<MakerServer>(ServerOptions{});
    if (auto started = world->geoServer_->Start(); !started) {
      return std::unexpected(started.error());
    }
  }
  // A kept world serves on the port of its last run when that port is free,
  // so the addresses a run wrote down (the download state, the catalogue's
  // links) still lead to its files in the next one.
  const fs::path portFile = world->root_ / "server.port";
  if (world->keep_) {
    std::ifstream(portFile) >> serverOptions.port;
  }
  world->server_ = std::make_unique<MakerServer>(serverOptions);
  auto started = world->server_->Start();
  if (!started && serverOptions.port != 0) {
    serverOptions.port = 0;
    world->server_ = std::make_unique<MakerServer>(serverOptions);
    started = world->server_->Start();
  }
  if (!started) {
    return std::unexpected(started.error());
  }
  if (world->keep_) {
    std::ofstream(portFile) << *started << '\n';
  }
  return world;
}

DemoWorld::~DemoWorld() {
  if (server_) {
    server_->Stop();
  }
  if (geoServer_) {
    geoServer_->Stop();
  }
  if (!keep_ && !root_.empty()) {
    std::error_code error;
    fs::remove_all(root_, error);
  }
}

fs::path DemoWorld::ProgramFiles() const {
  return root_ / "Program Files";
}
fs::path DemoWorld::ProgramDir() const {
  return ProgramFiles() / kSystemName;
}
fs::path DemoWorld::FontsDir() const {
  return ProgramDir() / "fonts";
}
fs::path DemoWorld::NoImgFile() const {
  return ProgramDir() / "noimg.jpg";
}
fs::path DemoWorld::LocalAppData() const {
  return root_ / "AppData" / "Local";
}
fs::path DemoWorld::DataDir() const {
  return LocalAppData() / kSystemName;
}
fs::path DemoWorld::DriversDir() const {
  return DataDir() / "SoftwareDrivers";
}
fs::path DemoWorld::TempDir() const {
  return root_ / "Temp";
}
fs::path DemoWorld::WindowsDir() const {
  return root_ / "Windows";
}
fs::path DemoWorld::ServedDir() const {
  return root_ / "server";
}

std::string DemoWorld::GeoUrl() const {
  return geoServer_ ? geoServer_->BaseUrl() : server_->BaseUrl();
}

std::expected<std::string, std::string> DemoWorld::AddServedFile(std::string_view urlPath,
                                                                 std::string_view contents) {
  const auto relative = ServedRelative(urlPath);
  if (!relative) {
    return std::unexpected("Caminho inválido no servidor: " + std::string(urlPath));
  }
  const fs::path file = ServedDir() / *relative;
  std::error_code error;
  fs::create_directories(file.parent_path(), error);
  std::ofstream out(file, std::ios::binary | std::ios::trunc);
  out.write(contents.data(), static_cast<std::streamsize>(contents.size()));
  if (error || !out.flush()) {
    return std::unexpected("Não foi possível gravar " + file.string());
  }
  return Url("/" + relative->generic_string());
}

std::string DemoWorld::Url(std::string_view urlPath) const {
  std::string path(urlPath);
  if (!path.starts_with('/')) {
    path.insert(path.begin(), '/');
  }
  return ServerUrl() + path;
}

}  // namespace sim
