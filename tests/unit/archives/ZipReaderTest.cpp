#include <gtest/gtest.h>

#include "Fixtures.h"
#include "download/ZipReader.h"

using download::ZipReader;
using sim::ArchiveFile;

namespace {

class ZipReaderTest : public ArchiveFolder {
 protected:
  fs::path MakeZip(const std::vector<ArchiveFile>& entries) {
    const fs::path file = Box() / "fixture.zip";
    auto written = sim::WriteZip(file, entries);
    EXPECT_TRUE(written) << written.error();
    return file;
  }
  void Prepare(ZipReader& reader, const fs::path& zip) {
    reader.BaseDirectory = Dest();
    reader.FileName = zip;
  }
};

TEST_F(ZipReaderTest, RestoredPathsKeepEveryByteAndFolder) {
  const std::string a = Pattern(300'000, 1), b = Pattern(5, 2);
  const fs::path zip = MakeZip({{"pasta/", "", true},
                                {"pasta/sub/a.bin", a},
                                {"b.txt", b},
                                {"tool.exe", "#!/bin/sh\n", false, true}});
  ZipReader reader;
  Prepare(reader, zip);
  const auto result = reader.ExtractFiles("*.*");
  ASSERT_TRUE(result.ok()) << result.error;
  EXPECT_EQ(result.extracted, 3);
  EXPECT_TRUE(Read(Dest() / "pasta/sub/a.bin") == a);
  EXPECT_EQ(Read(Dest() / "b.txt"), b);
  EXPECT_NE(fs::status(Dest() / "tool.exe").permissions() & fs::perms::owner_exec, fs::perms::none);
}

TEST_F(ZipReaderTest, WithoutRestoredPathsEveryFileLandsInTheBaseFolderCreatedWhenMissing) {
  const fs::path zip = MakeZip({{"x/y/one.img", "1"}, {"z/two.img", "22"}});
  ZipReader reader;
  Prepare(reader, zip);
  reader.RestorePath = false;
  reader.BaseDirectory = Dest() / "O";
  ASSERT_TRUE(reader.ExtractFiles("*.*").ok());
  EXPECT_EQ(Read(Dest() / "O/one.img"), "1");
  EXPECT_EQ(Read(Dest() / "O/two.img"), "22");
  EXPECT_FALSE(fs::exists(Dest() / "O/x"));
}

TEST_F(ZipReaderTest, ProgressRisesFromZeroToHundredForArchiveAndEachItem) {
  const fs::path zip = MakeZip({{"a.bin", Pattern(3 << 20, 3)}, {"b.bin", Pattern(1 << 20, 4)}});
  ZipReader reader;
  Prepare(reader, zip);
  std::vector<int> archive, item;
  reader.OnArchiveProgress = [&](int p) { archive.push_back(p); };
  reader.OnArchiveItemProgress = [&](int p) { item.push_back(p); };
  ASSERT_TRUE(reader.ExtractFiles("*.*").ok());
  ASSERT_GE(archive.size(), 3u);
  EXPECT_EQ(archive.front(), 0);
  EXPECT_EQ(archive.back(), 100);
  EXPECT_TRUE(std::is_sorted(archive.begin(), archive.end()));
  // The first entry is three quarters of the bytes: the archive passes 75%
  // exactly when the second item starts over at 0.
  const auto secondStart = std::find(item.begin() + 1, item.end(), 0);
  ASSERT_NE(secondStart, item.end());
  EXPECT_EQ(*(secondStart - 1), 100);
  EXPECT_EQ(item.back(), 100);
  EXPECT_NE(std::find(archive.begin(), archive.end(), 75), archive.end());
}

TEST_F(ZipReaderTest, MaskSelectsByFileName) {
  const fs::path zip = MakeZip({{"a/keep.pac", "k"}, {"a/drop.txt", "d"}, {"semponto", "s"}});
  ZipReader reader;
  Prepare(reader, zip);
  ASSERT_TRUE(reader.ExtractFiles("*.pac").ok());
  EXPECT_TRUE(fs::exists(Dest() / "a/keep.pac"));
  EXPECT_FALSE(fs::exists(Dest() / "a/drop.txt"));
  EXPECT_TRUE(download::MatchesMask("semponto", "*.*"));
}

struct HostileCase {
  const char* label;
  std::vector<ArchiveFile> entries;
};

class ZipHostileTest : public ZipReaderTest, public testing::WithParamInterface<HostileCase> {};

TEST_P(ZipHostileTest, EntryLeavingTheDestinationIsRefusedAndNothingLandsOutside) {
  std::vector<ArchiveFile> entries = GetParam().entries;
  entries.push_back({"bom.txt", "ok"});
  const fs::path zip = MakeZip(entries);
  ZipReader reader;
  Prepare(reader, zip);
  const auto result = reader.ExtractFiles("*.*");
  EXPECT_FALSE(result.ok());
  EXPECT_FALSE(result.refused.empty());
  EXPECT_EQ(Read(Dest() / "bom.txt"), "ok");  // the harmless entry is still written
  EXPECT_EQ(Escapes(), std::vector<std::string>{});
}

INSTANTIATE_TEST_SUITE_P(
    Attacks, ZipHostileTest,
    testing::Values(HostileCase{"Traversal", {{"../fora.txt", "x"}}},
                    HostileCase{"DeepTraversal", {{"a/b/../../../../outside/fora.txt", "x"}}},
                    HostileCase{"BackslashTraversal", {{"..\\fora.txt", "x"}}},
                    HostileCase{"AbsolutePath", {{"/tmp/solvanta_absoluto.txt", "x"}}},
                    HostileCase{"DriveLetter", {{"C:\\Windows\\fora.txt", "x"}}},
                    HostileCase{
                        "LinkOutThenWriteThrough",
                        {{"ponte", "../../outside", false, false, true}, {"ponte/fora.txt", "x"}}},
                    HostileCase{"AbsoluteLink", {{"ponte", "/tmp", false, false, true}}}),
    [](const auto& info) { return std::string(info.param.label); });

TEST_F(ZipReaderTest, LinkAlreadyOnDiskIsNotFollowed) {
  fs::create_directories(Dest());
  fs::create_directory_symlink(Outside(), Dest() / "plantada");
  const fs::path zip = MakeZip({{"plantada/fora.txt", "x"}});
  ZipReader reader;
  Prepare(reader, zip);
  EXPECT_FALSE(reader.ExtractFiles("*.*").ok());
  EXPECT_TRUE(fs::is_empty(Outside()));
}

TEST_F(ZipReaderTest, LinkInsideTheDestinationIsKept) {
  const fs::path zip = MakeZip({{"a/alvo.txt", "t"}, {"a/atalho", "alvo.txt", false, false, true}});
  ZipReader reader;
  Prepare(reader, zip);
  ASSERT_TRUE(reader.ExtractFiles("*.*").ok());
  EXPECT_EQ(fs::read_symlink(Dest() / "a/atalho"), "alvo.txt");
}

TEST_F(ZipReaderTest, BombPassingTheByteLimitIsRefusedBeforeWriting) {
  const fs::path zip = MakeZip({{"zeros.img", std::string(8 << 20, '\0')}});
  ZipReader reader;
  Prepare(reader, zip);
  reader.Limits.maxTotalBytes = 1 << 20;
  const auto result = reader.ExtractFiles("*.*");
  EXPECT_FALSE(result.ok());
  EXPECT_FALSE(fs::exists(Dest() / "zeros.img"));
}

TEST_F(ZipReaderTest, BombWithTooManyEntriesIsRefusedBeforeWriting) {
  std::vector<ArchiveFile> many;
  for (int i = 0; i < 50; ++i)
    many.push_back({"f" + std::to_string(i), "x"});
  ZipReader reader;
  Prepare(reader, MakeZip(many));
  reader.Limits.maxEntries = 49;
  EXPECT_FALSE(reader.ExtractFiles("*.*").ok());
  EXPECT_FALSE(fs::exists(Dest() / "f0"));
}

TEST_F(ZipReaderTest, AbortStopsAtTheNextBlockAndRemovesThePartialFile) {
  const fs::path zip = MakeZip({{"grande.bin", Pattern(8 << 20, 5)}, {"depois.txt", "d"}});
  ZipReader reader;
  Prepare(reader, zip);
  reader.OnArchiveItemProgress = [&](int p) {
    if (p > 0)
      reader.Abort();
  };
  const auto result = reader.ExtractFiles("*.*");
  EXPECT_FALSE(result.error.empty());
  EXPECT_FALSE(fs::exists(Dest() / "grande.bin"));
  EXPECT_FALSE(fs::exists(Dest() / "depois.txt"));
}

TEST_F(ZipReaderTest, DamagedOrMissingArchiveFailsWithAMessage) {
  std::ofstream(Box() / "lixo.zip") << "isto não é um zip";
  for (const fs::path& file : {Box() / "lixo.zip", Box() / "ausente.zip"}) {
    ZipReader reader;
    Prepare(reader, file);
    const auto result = reader.ExtractFiles("*.*");
    EXPECT_FALSE(result.error.empty()) << file;
  }
}

}  // namespace
