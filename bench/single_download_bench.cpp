// TDownloader on one large file from the local maker server: peak memory of
// the process and throughput, against the curl command line on the same
// file (run by hand: single_download_bench [size in MiB, default 512]).
#include <sys/resource.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "download/UDownloader.h"
#include "sim/server/MakerServer.h"

namespace fs = std::filesystem;

namespace {

long PeakKiB() {
  std::ifstream status("/proc/self/status");
  for (std::string line; std::getline(status, line);) {
    if (line.starts_with("VmHWM:"))
      return std::stol(line.substr(6));
  }
  return -1;
}

double Seconds(auto work) {
  const auto start = std::chrono::steady_clock::now();
  work();
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

}  // namespace

int main(int argc, char** argv) {
  const long mib = argc > 1 ? std::atol(argv[1]) : 512;
  const fs::path root =
      fs::temp_directory_path() / ("single_download_bench." + std::to_string(getpid()));
  fs::create_directories(root / "served");
  {
    // Random-looking content, written in blocks so that making it costs no memory.
    std::ofstream out(root / "served" / "big.bin", std::ios::binary);
    std::string block(1 << 20, '\0');
    unsigned state = 12345;
    for (long i = 0; i < mib; ++i) {
      for (char& c : block)
        c = static_cast<char>((state = state * 1103515245u + 12345u) >> 24);
      out.write(block.data(), static_cast<std::streamsize>(block.size()));
    }
  }
  sim::MakerServer server({.root = root / "served"});
  if (auto started = server.Start(); !started) {
    std::fprintf(stderr, "server: %s\n", started.error().c_str());
    return 1;
  }
  const std::string url = server.BaseUrl() + "/big.bin";
  const double bytes = static_cast<double>(mib) * 1024 * 1024;

  const long before = PeakKiB();
  TDownloader downloader;
  bool ok = false;
  const double ours = Seconds([&] { ok = downloader.Download(url, (root / "ours.bin").string()); });
  const long after = PeakKiB();

  const std::string command = "curl -s -o '" + (root / "curl.bin").string() + "' '" + url + "'";
  int rc = 0;
  const double theirs = Seconds([&] { rc = std::system(command.c_str()); });

  const bool same =
      ok && fs::file_size(root / "ours.bin") == fs::file_size(root / "served" / "big.bin");
  std::printf("file: %ld MiB\n", mib);
  std::printf("TDownloader: %s, %.2f s, %.1f MiB/s\n", same ? "ok" : "FAILED", ours,
              bytes / ours / 1048576);
  std::printf("curl:        %s, %.2f s, %.1f MiB/s\n", rc == 0 ? "ok" : "FAILED", theirs,
              bytes / theirs / 1048576);
  std::printf(
      "peak memory of this process (server included): %.1f MiB before, %.1f MiB after "
      "the download\n",
      before / 1024.0, after / 1024.0);
  server.Stop();
  fs::remove_all(root);
  return same && rc == 0 ? 0 : 1;
}
