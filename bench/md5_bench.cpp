// Times MD5File and "openssl md5" on one large file with a warm cache and
// prints both throughputs and their ratio.
//
//   md5_bench [file]   without a file, a 1 GiB file is made in the temporary
//                      folder and removed at the end.

#include <stdlib.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iostream>
#include <random>
#include <string>
#include <vector>

#include "app/FileUtils.h"

namespace fs = std::filesystem;

namespace {

constexpr int kRuns = 5;
constexpr std::uintmax_t kDefaultSize = 1ull << 30;

fs::path MakeFile() {
  std::string name = (fs::temp_directory_path() / "md5_bench.XXXXXX").string();
  const int fd = ::mkstemp(name.data());
  if (fd < 0) {
    throw std::runtime_error("cannot create a file in the temporary folder");
  }
  ::close(fd);
  std::vector<char> block(1 << 20);
  std::mt19937_64 random(42);
  std::ofstream out(name, std::ios::binary | std::ios::trunc);
  for (std::uintmax_t written = 0; written < kDefaultSize; written += block.size()) {
    for (std::size_t i = 0; i < block.size(); i += sizeof(std::uint64_t)) {
      const std::uint64_t value = random();
      std::copy_n(reinterpret_cast<const char*>(&value), sizeof value, block.data() + i);
    }
    out.write(block.data(), static_cast<std::streamsize>(block.size()));
  }
  if (!out.flush()) {
    throw std::runtime_error("cannot write " + name);
  }
  return name;
}

std::string OpensslMd5(const fs::path& file) {
  std::string output;
  if (FILE* pipe = ::popen(("openssl md5 -r '" + file.string() + "'").c_str(), "r")) {
    char buffer[256];
    while (std::fgets(buffer, sizeof buffer, pipe)) {
      output += buffer;
    }
    ::pclose(pipe);
  }
  std::string digest = output.substr(0, 32);
  std::transform(digest.begin(), digest.end(), digest.begin(), ::toupper);
  return digest;
}

// Best wall time of kRuns runs, in seconds; `digest` receives the result.
double BestSeconds(const std::function<std::string()>& run, std::string& digest) {
  double best = 1e300;
  for (int i = 0; i < kRuns; ++i) {
    const auto start = std::chrono::steady_clock::now();
    digest = run();
    const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
    best = std::min(best, took.count());
  }
  return best;
}

}  // namespace

int main(int argc, char** argv) {
  try {
    const bool made = argc < 2;
    const fs::path file = made ? MakeFile() : fs::path(argv[1]);
    const double mib = static_cast<double>(fs::file_size(file)) / (1 << 20);
    app::MD5File(file.string());  // warms the page cache

    std::string ours;
    std::string theirs;
    const double oursSeconds = BestSeconds([&] { return app::MD5File(file.string()); }, ours);
    const double theirsSeconds = BestSeconds([&] { return OpensslMd5(file); }, theirs);
    if (made) {
      fs::remove(file);
    }

    std::printf("file:        %s (%.0f MiB), best of %d runs\n", file.c_str(), mib, kRuns);
    std::printf("MD5File:     %8.1f MiB/s  %s\n", mib / oursSeconds, ours.c_str());
    std::printf("openssl md5: %8.1f MiB/s  %s\n", mib / theirsSeconds, theirs.c_str());
    std::printf("ratio:       %8.3f (MD5File / openssl)\n", theirsSeconds / oursSeconds);
    if (ours != theirs) {
      std::printf("DIGESTS DIFFER\n");
      return 1;
    }
    return 0;
  } catch (const std::exception& e) {
    std::cerr << "md5_bench: " << e.what() << '\n';
    return 1;
  }
}
