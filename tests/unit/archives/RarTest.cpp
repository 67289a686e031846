#include <gtest/gtest.h>

#include "Fixtures.h"
#include "system/RAR.h"
#include "system/Rar4Headers.h"

using sim::ArchiveFile;
using namespace archives::unrar;

namespace {

class RarTest : public ArchiveFolder {
 protected:
  std::vector<fs::path> MakeRar(const std::vector<ArchiveFile>& entries,
                                std::uint64_t volumeSize = 0, const char* name = "fw.part1.rar") {
    auto written = sim::WriteStoredRar4(Box() / name, entries, volumeSize);
    EXPECT_TRUE(written) << written.error();
    return written ? *written : std::vector<fs::path>{};
  }
  void Record(TRAR& rar) {
    rar.OnError = [this](TRAR&, int code, TRAROperation) {
      if (code != 0)
        errors.push_back(code);
    };
  }
  std::vector<int> errors;
};

TEST_F(RarTest, OpenFileGathersTheArchiveInformationAndListsEveryEntry) {
  const auto volumes = MakeRar(
      {{"firmware/", "", true}, {"firmware/boot.img", Pattern(70'000, 1)}, {"x.txt", "abc"}});
  TRAR rar;
  std::vector<TRARFileItem> items;
  rar.OnListFile = [&](TRAR&, const TRARFileItem& item) { items.push_back(item); };
  ASSERT_TRUE(rar.OpenFile(volumes[0].string()));
  const TRARArchiveInformation& info = rar.ArchiveInformation();
  EXPECT_TRUE(info.fOpened);
  EXPECT_EQ(info.UnCompressedSize, 70'003u);
  EXPECT_EQ(info.CompressedSize, 70'003u);  // stored
  EXPECT_EQ(info.HostOS, "Unix");
  EXPECT_EQ(info.ArchiverMajorVersion, 2);
  EXPECT_EQ(info.ArchiverMinorVersion, 0);
  EXPECT_FALSE(info.MultiVolume);
  // The folder's flags are 0xE0 and its attributes a Unix mode: it counts.
  EXPECT_EQ(info.TotalFiles, 3);
  ASSERT_EQ(items.size(), 3u);
  EXPECT_EQ(items[1].FileName, "firmware/boot.img");
  EXPECT_EQ(items[2].CRC32, "352441C2");  // CRC-32 of "abc", upper case
  EXPECT_EQ(items[2].CompressionStrength, 0x30);
  EXPECT_EQ(items[2].Time.date().year(), 2024);
}

TEST_F(RarTest, ExtractRestoresFoldersAndReportsProgressPerBlock) {
  const std::string big = Pattern(200'000, 2);
  const auto volumes = MakeRar({{"d/", "", true}, {"d/big.bin", big}, {"small.txt", "s"}});
  TRAR rar;
  Record(rar);
  std::uint32_t lastArchiveDone = 0, total = 0;
  std::map<std::wstring, std::pair<std::uint32_t, std::uint32_t>> perFile;
  rar.OnProgress = [&](TRAR&, const std::wstring& name, std::uint32_t archiveTotal,
                       std::uint32_t archiveDone, std::uint32_t fileTotal, std::uint32_t fileDone) {
    EXPECT_GE(archiveDone, lastArchiveDone);
    lastArchiveDone = archiveDone;
    total = archiveTotal;
    perFile[name] = {fileDone, fileTotal};
  };
  rar.OpenFile(volumes[0].string());
  ASSERT_TRUE(rar.Extract(Dest().string(), true, {}));
  EXPECT_EQ(errors, std::vector<int>{});
  EXPECT_TRUE(Read(Dest() / "d/big.bin") == big);
  EXPECT_EQ(Read(Dest() / "small.txt"), "s");
  EXPECT_EQ(total, 200'001u);
  EXPECT_EQ(lastArchiveDone, total);
  EXPECT_EQ(perFile[L"d/big.bin"], std::make_pair(200'000u, 200'000u));
}

TEST_F(RarTest, ExtractWithoutFoldersUsesBareNamesAndSelectsListedEntries) {
  const auto volumes = MakeRar({{"a/b/one.img", "1"}, {"a/two.img", "2"}});
  TRAR rar;
  rar.OpenFile(volumes[0].string());
  ASSERT_TRUE(rar.Extract(Dest().string(), false, {"a/two.img"}));
  EXPECT_EQ(Read(Dest() / "two.img"), "2");
  EXPECT_FALSE(fs::exists(Dest() / "one.img"));
  EXPECT_FALSE(fs::exists(Dest() / "a"));
}

TEST_F(RarTest, SplitArchiveExtractsAcrossVolumesWhileOpenFileCountsTheFirstOnly) {
  const std::string a = Pattern(50'000, 3), b = Pattern(30'000, 4), c = Pattern(10'000, 5);
  const auto volumes = MakeRar({{"a.bin", a}, {"b.bin", b}, {"c.bin", c}}, 40'000);
  ASSERT_EQ(volumes.size(), 3u);
  EXPECT_EQ(volumes[1].filename(), "fw.part2.rar");

  TRAR rar;
  Record(rar);
  std::uint32_t archiveTotal = 0, archiveDone = 0;
  rar.OnProgress = [&](TRAR&, const std::wstring&, std::uint32_t t, std::uint32_t d, std::uint32_t,
                       std::uint32_t) {
    archiveTotal = t;
    archiveDone = d;
  };
  // The listing inside OpenFile refuses the next volume and stops there.
  EXPECT_FALSE(rar.OpenFile(volumes[0].string()));
  EXPECT_EQ(rar.ArchiveInformation().UnCompressedSize, 50'000u);
  EXPECT_TRUE(rar.ArchiveInformation().MultiVolume);
  errors.clear();
  ASSERT_TRUE(rar.Extract(Dest().string(), true, {}));
  EXPECT_EQ(errors, std::vector<int>{});
  EXPECT_TRUE(Read(Dest() / "a.bin") == a);
  EXPECT_TRUE(Read(Dest() / "b.bin") == b);
  EXPECT_TRUE(Read(Dest() / "c.bin") == c);
  // The archive percentage passes 100: done 90 000 of a total of 50 000.
  EXPECT_EQ(archiveTotal, 50'000u);
  EXPECT_EQ(archiveDone, 90'000u);
}

TEST_F(RarTest, ReadMultiVolumeToEndAccountsEachSplitEntryOnceWithItsWholePackedSize) {
  const auto volumes = MakeRar({{"a.bin", Pattern(50'000, 3)}, {"b.bin", "bb"}}, 20'000);
  ASSERT_EQ(volumes.size(), 3u);
  TRAR rar;
  rar.ReadMultiVolumeToEnd = true;
  std::vector<TRARFileItem> items;
  rar.OnListFile = [&](TRAR&, const TRARFileItem& item) { items.push_back(item); };
  ASSERT_TRUE(rar.OpenFile(volumes[0].string()));
  EXPECT_EQ(rar.ArchiveInformation().TotalFiles, 2);
  EXPECT_EQ(rar.ArchiveInformation().CompressedSize, 50'002u);
  ASSERT_EQ(items.size(), 2u);
  EXPECT_EQ(items[0].CompressedSize, 50'000u);
}

TEST_F(RarTest, MissingVolumeIsAskedForAndTheSuppliedNameIsUsed) {
  const std::string a = Pattern(30'000, 6);
  const auto volumes = MakeRar({{"a.bin", a}}, 20'000);
  const fs::path moved = Box() / "renomeado.rar";
  fs::rename(volumes[1], moved);
  TRAR rar;
  std::vector<std::string> asked;
  rar.OnNextVolumeRequired = [&](TRAR&, const std::string& required, std::string& newName, bool&) {
    asked.push_back(required);
    newName = moved.string();
  };
  rar.OpenFile(volumes[0].string());
  ASSERT_TRUE(rar.Extract(Dest().string(), true, {}));
  EXPECT_EQ(asked, std::vector<std::string>{volumes[1].string()});
  EXPECT_TRUE(Read(Dest() / "a.bin") == a);
}

TEST_F(RarTest, CancelledVolumeFailsTheExtractionAndLeavesNoPartialFile) {
  const auto volumes = MakeRar({{"a.bin", Pattern(30'000, 7)}}, 20'000);
  fs::remove(volumes[1]);
  TRAR rar;
  Record(rar);
  rar.OnNextVolumeRequired = [](TRAR&, const std::string&, std::string&, bool& cancel) {
    cancel = true;
  };
  rar.OpenFile(volumes[0].string());
  errors.clear();
  EXPECT_FALSE(rar.Extract(Dest().string(), true, {}));
  EXPECT_EQ(errors, std::vector<int>{ERAR_EOPEN});
  EXPECT_FALSE(fs::exists(Dest() / "a.bin"));
}

struct RarHostileCase {
  const char* label;
  ArchiveFile entry;
};

class RarHostileTest : public RarTest, public testing::WithParamInterface<RarHostileCase> {};

TEST_P(RarHostileTest, EntryLeavingTheDestinationIsRefusedWithACreateError) {
  const auto volumes = MakeRar({GetParam().entry, {"ponte/fora.txt", "x"}});
  for (bool restore : {true, false}) {
    TRAR rar;
    Record(rar);
    rar.OpenFile(volumes[0].string());
    errors.clear();
    EXPECT_FALSE(rar.Extract(Dest().string(), restore, {}));
    EXPECT_EQ(errors, std::vector<int>{ERAR_ECREATE}) << restore;
  }
  EXPECT_EQ(Escapes(), std::vector<std::string>{});
}

INSTANTIATE_TEST_SUITE_P(
    Attacks, RarHostileTest,
    testing::Values(RarHostileCase{"Traversal", {"../../outside/fora.txt", "x"}},
                    RarHostileCase{"Absolute", {"/tmp/solvanta_rar_absoluto.txt", "x"}},
                    RarHostileCase{"LinkOut", {"ponte", "../../outside", false, false, true}}),
    [](const auto& info) { return std::string(info.param.label); });

TEST_F(RarTest, BombPassingTheLimitIsRefusedBeforeWriting) {
  const auto volumes = MakeRar({{"zeros.img", std::string(4 << 20, '\0')}});
  TRAR rar;
  Record(rar);
  rar.Limits.maxTotalBytes = 1 << 20;
  rar.OpenFile(volumes[0].string());
  EXPECT_FALSE(rar.Extract(Dest().string(), true, {}));
  EXPECT_EQ(errors, std::vector<int>{ERAR_EWRITE});
  EXPECT_FALSE(fs::exists(Dest() / "zeros.img"));
}

TEST_F(RarTest, AbortFromProgressStopsAndRemovesThePartialFile) {
  const auto volumes = MakeRar({{"big.bin", Pattern(2 << 20, 8)}, {"after.txt", "a"}});
  TRAR rar;
  rar.OnProgress = [](TRAR& r, const std::wstring&, std::uint32_t, std::uint32_t, std::uint32_t,
                      std::uint32_t) { r.Abort(); };
  rar.OpenFile(volumes[0].string());
  EXPECT_FALSE(rar.Extract(Dest().string(), true, {}));
  EXPECT_FALSE(fs::exists(Dest() / "big.bin"));
  EXPECT_FALSE(fs::exists(Dest() / "after.txt"));
}

TEST_F(RarTest, ReplaceHandlerSkipsOrCancels) {
  const auto volumes = MakeRar({{"a.txt", "novo"}, {"b.txt", "b"}});
  fs::create_directories(Dest());
  std::ofstream(Dest() / "a.txt") << "antigo";
  {
    TRAR rar;
    rar.OnReplace = [](TRAR&, const TRARReplaceData& existing, const TRARReplaceData& incoming,
                       TRARReplace& action) {
      EXPECT_EQ(existing.Size, 6);
      EXPECT_EQ(incoming.Size, 4);
      action = TRARReplace::rrSkip;
    };
    rar.OpenFile(volumes[0].string());
    EXPECT_TRUE(rar.Extract(Dest().string(), true, {}));
    EXPECT_EQ(Read(Dest() / "a.txt"), "antigo");
    EXPECT_EQ(Read(Dest() / "b.txt"), "b");
  }
  fs::remove(Dest() / "b.txt");
  TRAR rar;
  rar.OnReplace = [](TRAR&, const TRARReplaceData&, const TRARReplaceData&, TRARReplace& action) {
    action = TRARReplace::rrCancel;
  };
  rar.OpenFile(volumes[0].string());
  EXPECT_FALSE(rar.Extract(Dest().string(), true, {}));
  EXPECT_FALSE(fs::exists(Dest() / "b.txt"));
}

TEST_F(RarTest, TestFindsDamagedDataByItsChecksum) {
  const auto volumes = MakeRar({{"a.bin", Pattern(10'000, 9)}});
  TRAR good;
  good.OpenFile(volumes[0].string());
  EXPECT_TRUE(good.Test());
  {
    std::fstream f(volumes[0], std::ios::in | std::ios::out | std::ios::binary);
    f.seekp(-20, std::ios::end);  // inside the data, before the end block
    f.put('\x5A');
  }
  TRAR rar;
  Record(rar);
  rar.OpenFile(volumes[0].string());
  EXPECT_FALSE(rar.Test());
  EXPECT_EQ(errors, std::vector<int>{ERAR_BAD_DATA});
}

TEST_F(RarTest, MissingArchiveRaisesAndForeignFileReportsNotOpened) {
  TRAR rar;
  EXPECT_THROW(rar.OpenFile((Box() / "ausente.rar").string()), ERARAssertion);
  std::ofstream(Box() / "falso.rar") << "PK nada";
  Record(rar);
  EXPECT_FALSE(rar.OpenFile((Box() / "falso.rar").string()));
  EXPECT_EQ(errors, std::vector<int>{99});
  EXPECT_TRUE(rar.isDLLLoaded());
  EXPECT_GE(rar.GetDllVersion(), 4);
  EXPECT_TRUE(rar.DllName().starts_with("libarchive"));
}

TEST(Rar4VolumeNames, FollowTheFormatsNumbering) {
  struct Case {
    const char* current;
    bool newNumbering;
    const char* next;
  } cases[] = {{"fw.part1.rar", true, "fw.part2.rar"},
               {"fw.part09.rar", true, "fw.part10.rar"},
               {"fw.part99.rar", true, "fw.part100.rar"},
               {"fw.rar", false, "fw.r00"},
               {"fw.r00", false, "fw.r01"},
               {"fw.r99", false, "fw.s00"}};
  for (const Case& c : cases) {
    EXPECT_EQ(archives::rar4::NextVolumeName(c.current, c.newNumbering), c.next) << c.current;
  }
}

TEST_F(RarTest, OldNumberingVolumesAreFollowed) {
  const std::string a = Pattern(25'000, 10);
  auto written = sim::WriteStoredRar4(Box() / "old.rar", {{"a.bin", a}}, 10'000, false);
  ASSERT_TRUE(written);
  ASSERT_EQ(written->back().filename(), "old.r01");
  TRAR rar;
  rar.OpenFile(written->front().string());
  ASSERT_TRUE(rar.Extract(Dest().string(), true, {}));
  EXPECT_TRUE(Read(Dest() / "a.bin") == a);
}

}  // namespace
