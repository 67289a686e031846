#pragma once

#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "sim/ArchiveWriters.h"

namespace fs = std::filesystem;

// A scratch folder laid out so that escapes are seen: the archive and the
// extraction folder "dest" lie in "box", and anything written beside "dest"
// or above "box" is an escape.
class ArchiveFolder : public testing::Test {
 protected:
  fs::path Box() const { return fs::path(dir_.path().toStdString()) / "box"; }
  fs::path Dest() const { return Box() / "dest"; }
  fs::path Outside() const { return fs::path(dir_.path().toStdString()) / "outside"; }

  void SetUp() override {
    ASSERT_TRUE(dir_.isValid());
    fs::create_directories(Box());
    fs::create_directories(Outside());
  }

  // Every file that exists outside "dest" apart from the archives themselves.
  std::vector<std::string> Escapes() const {
    std::vector<std::string> found;
    for (const auto& e : fs::recursive_directory_iterator(dir_.path().toStdString())) {
      const fs::path p = e.path();
      const auto text = p.string();
      if (text.starts_with(Dest().string()))
        continue;
      if (e.is_directory() && !e.is_symlink())
        continue;
      const std::string ext = p.extension().string();
      if (p.parent_path() == Box() && (ext == ".zip" || ext == ".rar" || ext.starts_with(".r")))
        continue;
      found.push_back(text);
    }
    return found;
  }

  static std::string Read(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
  }

  // Data that does not repeat, so a misplaced block shows.
  static std::string Pattern(std::size_t size, unsigned seed) {
    std::string data(size, '\0');
    std::uint32_t x = seed * 2654435761u + 1;
    for (char& c : data) {
      x = x * 1664525u + 1013904223u;
      c = static_cast<char>(x >> 24);
    }
    return data;
  }

 private:
  QTemporaryDir dir_;
};
