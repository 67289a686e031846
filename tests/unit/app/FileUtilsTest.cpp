#include <dirent.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdio>
#include <random>

#include "TestFiles.h"
#include "app/FileUtils.h"

namespace fs = std::filesystem;

namespace {

struct UrlCase {
  std::string url;
  std::string expected;
};

TEST(ExtractFileNameFromURL, KeepsLastSegmentWhateverTheSchemeCaseQueryOrSeparators) {
  const UrlCase cases[] = {
      {"http://host/a/b/fw.zip", "fw.zip"},
      {"HTTP://HOST/Dir/FW.ZIP", "FW.ZIP"},
      {"HtTpS://host/x/tool.rar", "tool.rar"},
      {"https://host:8443/f.zip", "f.zip"},
      {"https://host/dl/file.zip?token=a1&x=2", "file.zip?token=a1&x=2"},
      {"https://host/get?path=a/b.zip", "b.zip"},
      {"http://a/x?u=https://b/c.zip", "c.zip"},
      {"https://host/dir/", ""},
      {"https://host", "host"},
      {"ftp://host/d/f.bin", "f.bin"},
      {"C:\\Firmwares\\a.pac", "a.pac"},
      {"c:fw.bin", "fw.bin"},
      {"plainname.txt", "plainname.txt"},
      {"", ""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(app::ExtractFileNameFromURL(c.url), c.expected) << c.url;
  }
}

std::string ReferenceMd5(const fs::path& file) {
  std::string output;
  if (FILE* pipe = ::popen(("md5sum '" + file.string() + "'").c_str(), "r")) {
    char buffer[128];
    while (std::fgets(buffer, sizeof buffer, pipe)) {
      output += buffer;
    }
    ::pclose(pipe);
  }
  output = output.substr(0, 32);
  for (char& c : output) {
    c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  }
  return output;
}

TEST(MD5File, DigestOfKnownTextsIsUpperCaseHex) {
  TempDir dir;
  WriteFile(dir / "empty", "");
  WriteFile(dir / "abc", "abc");
  EXPECT_EQ(app::MD5File((dir / "empty").string()), "D41D8CD98F00B204E9800998ECF8427E");
  EXPECT_EQ(app::MD5File((dir / "abc").string()), "900150983CD24FB0D6963F7D28E17F72");
}

TEST(MD5File, WholeContentHashedAcrossBufferBoundaries) {
  TempDir dir;
  std::mt19937 random(1234);
  for (const std::size_t size : {1u, 32767u, 32768u, 32769u, 3u * 32768u + 12345u}) {
    std::string content(size, '\0');
    for (char& c : content) {
      c = static_cast<char>(random());
    }
    const auto file = dir / ("data" + std::to_string(size));
    WriteFile(file, content);
    const std::string expected = ReferenceMd5(file);
    ASSERT_EQ(expected.size(), 32u);
    EXPECT_EQ(app::MD5File(file.string()), expected) << size << " bytes";
  }
}

TEST(MD5File, MissingFileIsEmptyButUnreadableOneThrows) {
  TempDir dir;
  EXPECT_EQ(app::MD5File((dir / "missing.zip").string()), "");
  EXPECT_THROW(app::MD5File(dir.path().string()), std::runtime_error);
}

struct BatCase {
  std::string command;
  std::string written;
};

TEST(CriaBatNoSlash, EveryLineBreakBecomesCrLfWithoutAddedEmptyLine) {
  const BatCase cases[] = {
      {"a\r\nb", "a\r\nb\r\n"},
      {"a\rb", "a\r\nb\r\n"},
      {"a\nb", "a\r\nb\r\n"},
      {"a\r\nb\nc\rd", "a\r\nb\r\nc\r\nd\r\n"},
      {"a\n", "a\r\n"},
      {"a\r\n\r\n", "a\r\n\r\n"},
      {"\n\r", "\r\n\r\n"},
      {"", ""},
      {"echo ação", "echo a\xC3\xA7\xC3\xA3o\r\n"},
  };
  TempDir dir;
  const auto bat = dir / "run.bat";
  for (const auto& c : cases) {
    WriteFile(bat, std::string(100, 'x'));
    app::CriaBatNoSlash(bat.string(), c.command);
    EXPECT_EQ(ReadFile(bat), c.written) << testing::PrintToString(c.command);
  }
}

TEST(CriaBatNoSlash, MissingFolderIsSwallowed) {
  TempDir dir;
  const auto bat = dir / "no" / "such" / "run.bat";
  EXPECT_NO_THROW(app::CriaBatNoSlash(bat.string(), "echo x"));
  EXPECT_FALSE(fs::exists(bat));
}

struct MaskCase {
  std::string name;
  std::string mask;
  bool matches;
};

TEST(MatchesFileMask, WildcardsMatchWithoutRegardToCase) {
  const MaskCase cases[] = {
      {"a.pac", "*.pac", true},
      {"A.PAC", "*.pac", true},
      {"x.ttf", "*.TTF", true},
      {"noext", "*.*", true},
      {"noext", "*", true},
      {"DA_SWSEC_6580.bin", "DA_SWSEC*.*", true},
      {"MT6580_Android_scatter.txt", "MT*.txt", true},
      {"xMT.txt", "MT*.txt", false},
      {"font.ttf.bak", "*.ttf", false},
      {"ab", "a?", true},
      {"a", "a?", false},
      {"abc", "a?", false},
      {"abcbd", "*bd", true},
      {"aXbYc", "a*b*c", true},
      {"aXbY", "a*b*c", false},
      {"ab", "*?*?*?", false},
      {"configuração.TXT", "CONFIGURAÇÃO.txt", true},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(app::MatchesFileMask(c.name, c.mask), c.matches) << c.name << " ~ " << c.mask;
  }
}

// The walk as readdir gives it: each folder's entries in listing order, a
// real subfolder entered where it is listed, matching files (links to files
// included) kept.
void ReaddirWalk(const fs::path& folder, const std::string& suffix, std::vector<std::string>& out) {
  DIR* d = ::opendir(folder.c_str());
  ASSERT_NE(d, nullptr);
  while (const dirent* e = ::readdir(d)) {
    const std::string name = e->d_name;
    if (name == "." || name == "..") {
      continue;
    }
    const fs::path child = folder / name;
    struct stat s {};
    ASSERT_EQ(::lstat(child.c_str(), &s), 0);
    if (S_ISDIR(s.st_mode)) {
      ReaddirWalk(child, suffix, out);
    } else if (::stat(child.c_str(), &s) == 0 && S_ISREG(s.st_mode) &&
               name.size() >= suffix.size() &&
               std::equal(suffix.rbegin(), suffix.rend(), name.rbegin(),
                          [](char a, char b) { return a == std::tolower(b); })) {
      out.push_back(child.string());
    }
  }
  ::closedir(d);
}

class FileSearch : public testing::Test {
 protected:
  void SetUp() override {
    for (const char* file : {"a.pac", "one/b.pac", "one/x.txt", "one/deeper/c.PAC", "two/d.pac",
                             "two/e.txt", "three/f.pac", "outside/g.pac"}) {
      WriteFile(dir / file, file);
    }
    fs::create_directories(dir / "folder.pac");
    fs::create_symlink(dir / "outside", dir / "two" / "linked");
    fs::create_symlink(dir / "outside" / "g.pac", dir / "one" / "g-link.pac");
    fs::create_symlink(dir / "gone", dir / "broken.pac");
  }

  TempDir dir;
};

TEST_F(FileSearch, FilesComeInListingOrderDepthFirstAndLastCollectedWins) {
  std::vector<std::string> expected;
  ReaddirWalk(dir.path(), ".pac", expected);
  const auto found = app::SearchFiles(dir.path().string() + "/", "*.PAC");
  EXPECT_EQ(found, expected);
  ASSERT_FALSE(found.empty());
  EXPECT_EQ(app::localizaArquivos(dir.path().string(), "*.pac"), found.back());
  EXPECT_EQ(app::LocateFirmwareDeepDir(dir.path().string(), "*.pac"),
            fs::path(found.back()).parent_path().string() + "/");
}

TEST_F(FileSearch, LinkedFilesCountButLinkedFoldersAreNotEntered) {
  const auto found = app::SearchFiles((dir / "one").string(), "*.pac");
  EXPECT_NE(std::find(found.begin(), found.end(), (dir / "one" / "g-link.pac").string()),
            found.end());
  EXPECT_EQ(app::SearchFiles((dir / "two").string(), "g.pac"), std::vector<std::string>{});
}

TEST_F(FileSearch, NoMatchGivesEmptyTexts) {
  EXPECT_EQ(app::localizaArquivos(dir.path().string(), "*.img"), "");
  EXPECT_EQ(app::LocateFirmwareDeepDir(dir.path().string(), "*.img"), "");
}

TEST_F(FileSearch, SingleFileFoundInItsSubfolder) {
  EXPECT_EQ(app::localizaArquivos(dir.path().string(), "C.pac"),
            (dir / "one" / "deeper" / "c.PAC").string());
  EXPECT_EQ(app::LocateFirmwareDeepDir(dir.path().string(), "c.pac"),
            (dir / "one" / "deeper").string() + "/");
}

struct SearchErrorCase {
  std::string start;
  std::string pattern;
  std::string message;
};

TEST_F(FileSearch, BadStartFolderOrPatternRaisesItsMessage) {
  const std::string root = dir.path().string();
  const SearchErrorCase cases[] = {
      {root + "/missing", "*.pac", app::kPathNotFound},
      {root + "/a.pac", "*.pac", app::kPathNotFound},
      {"", "*.pac", app::kPathNotFound},
      {root, "", app::kInvalidSearchPattern},
      {root, "   ", app::kInvalidSearchPattern},
      {root, "one/*.pac", app::kInvalidSearchPattern},
      {root, "a|b", app::kInvalidSearchPattern},
      {root, "a\tb", app::kInvalidSearchPattern},
      {root + "/" + std::string(300, 'n'), "*.pac", app::kPathTooLong},
      {root + std::string(5000, '/'), "*.pac", app::kPathTooLong},
  };
  for (const auto& c : cases) {
    for (const auto search : {&app::localizaArquivos, &app::LocateFirmwareDeepDir}) {
      try {
        search(c.start, c.pattern);
        ADD_FAILURE() << "no error for " << c.start.substr(0, 80) << " / " << c.pattern;
      } catch (const app::FileSearchError& e) {
        EXPECT_STREQ(e.what(), c.message.c_str()) << c.start.substr(0, 80) << " / " << c.pattern;
      }
    }
  }
}

}  // namespace
