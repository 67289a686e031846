#pragma once

#include <QCoreApplication>
#include <QTimer>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <thread>

#include "app/FileUtils.h"
#include "download/UMPDownloader.h"

namespace downloadtest {

inline std::string RandomBytes(size_t size, unsigned seed = 7) {
  std::mt19937_64 random(seed);
  std::string bytes(size, '\0');
  for (auto& c : bytes)
    c = static_cast<char>(random());
  return bytes;
}

inline std::string ReadAll(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

inline void WriteAll(const std::filesystem::path& path, std::string_view bytes) {
  std::ofstream(path, std::ios::binary | std::ios::trunc)
      .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

// Polls like the download screen does until the transfer finishes or the
// time is up; returns whether it finished.
inline bool PollUntilDone(TUMPDownloader& downloader,
                          std::chrono::milliseconds timeout = std::chrono::seconds(20)) {
  const auto end = std::chrono::steady_clock::now() + timeout;
  while (std::chrono::steady_clock::now() < end) {
    QCoreApplication::processEvents();
    if (downloader.GetStatusDownload())
      return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return false;
}

// Waits until `done` holds or the time is up.
template <typename Predicate>
bool WaitFor(Predicate done, std::chrono::milliseconds timeout = std::chrono::seconds(10)) {
  const auto end = std::chrono::steady_clock::now() + timeout;
  while (std::chrono::steady_clock::now() < end) {
    if (done())
      return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  return done();
}

}  // namespace downloadtest
