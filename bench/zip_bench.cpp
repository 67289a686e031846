// Extracts the same ZIP archive with the ZIP reader and with bsdtar (Debian's
// libarchive-tools) and prints both throughputs (unpacked bytes per second)
// and their ratio, reader / bsdtar.
//
//   zip_bench [archive]   without an archive, one holding 1 GiB in four
//                         entries of mixed data is made in the temporary
//                         folder and removed at the end.

#include <archive.h>
#include <archive_entry.h>

#include <unistd.h>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <memory>
#include <random>
#include <string>

#include "download/ZipReader.h"

namespace fs = std::filesystem;

namespace {

constexpr int kRuns = 3;
constexpr std::uint64_t kDefaultSize = 1ull << 30;
constexpr int kEntries = 4;

struct WriterDeleter {
  void operator()(archive* a) const { archive_write_free(a); }
};

// Half random bytes, half text-like runs: a firmware image's mix of packed
// and compressible parts.
bool MakeArchive(const fs::path& file) {
  std::unique_ptr<archive, WriterDeleter> a(archive_write_new());
  archive_write_set_format_zip(a.get());
  if (archive_write_open_filename(a.get(), file.c_str()) != ARCHIVE_OK)
    return false;
  std::mt19937_64 random(42);
  std::string block(1 << 20, '\0');
  for (int e = 0; e < kEntries; ++e) {
    archive_entry* entry = archive_entry_new();
    archive_entry_set_pathname(entry, ("imagens/parte" + std::to_string(e) + ".img").c_str());
    archive_entry_set_filetype(entry, AE_IFREG);
    archive_entry_set_perm(entry, 0644);
    archive_entry_set_size(entry, kDefaultSize / kEntries);
    archive_write_header(a.get(), entry);
    archive_entry_free(entry);
    for (std::uint64_t done = 0; done < kDefaultSize / kEntries; done += block.size()) {
      for (std::size_t i = 0; i < block.size(); i += 8) {
        const std::uint64_t r = random();
        if ((i >> 16) % 2 == 0) {
          std::memcpy(block.data() + i, &r, 8);
        } else {
          std::memset(block.data() + i, 'a' + static_cast<int>(r % 4), 8);
        }
      }
      archive_write_data(a.get(), block.data(), block.size());
    }
  }
  return archive_write_close(a.get()) == ARCHIVE_OK;
}

std::uint64_t UnpackedBytes(const fs::path& folder) {
  std::uint64_t total = 0;
  for (const auto& e : fs::recursive_directory_iterator(folder)) {
    if (e.is_regular_file())
      total += e.file_size();
  }
  return total;
}

template <typename F>
double BestSeconds(const fs::path& out, F run) {
  double best = 1e300;
  for (int i = 0; i < kRuns; ++i) {
    fs::remove_all(out);
    fs::create_directories(out);
    const auto start = std::chrono::steady_clock::now();
    if (!run())
      return -1;
    const double s =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    best = std::min(best, s);
  }
  return best;
}

}  // namespace

int main(int argc, char** argv) {
  const fs::path work = fs::temp_directory_path() / ("zip_bench." + std::to_string(getpid()));
  fs::create_directories(work);
  fs::path zip = argc > 1 ? fs::path(argv[1]) : work / "bench.zip";
  if (argc <= 1 && !MakeArchive(zip)) {
    std::fprintf(stderr, "não foi possível criar %s\n", zip.c_str());
    return 1;
  }
  const fs::path out = work / "out";

  const double reader = BestSeconds(out, [&] {
    download::ZipReader unzip;
    unzip.BaseDirectory = out;
    unzip.FileName = zip;
    return unzip.ExtractFiles("*.*").ok();
  });
  const std::uint64_t bytes = UnpackedBytes(out);
  const std::string command = "bsdtar -xf '" + zip.string() + "' -C '" + out.string() + "'";
  const double bsdtar = BestSeconds(out, [&] { return std::system(command.c_str()) == 0; });
  fs::remove_all(work);
  if (reader < 0 || bsdtar < 0) {
    std::fprintf(stderr, "a extração falhou (bsdtar vem do pacote libarchive-tools)\n");
    return 1;
  }
  const double mib = static_cast<double>(bytes) / (1 << 20);
  std::printf("unpacked: %.0f MiB, best of %d runs\n", mib, kRuns);
  std::printf("ZipReader: %.1f MiB/s\n", mib / reader);
  std::printf("bsdtar:    %.1f MiB/s\n", mib / bsdtar);
  std::printf("ratio (ZipReader / bsdtar): %.2f\n", bsdtar / reader);
  return 0;
}
