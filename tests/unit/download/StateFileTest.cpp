#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>

#include "DownloadTestSupport.h"

namespace {

using download::TResourceSnapshot;
using downloadtest::ReadAll;
using downloadtest::WriteAll;

class StateFile : public testing::Test {
 protected:
  QString Path(const char* name) const { return dir_.filePath(QString::fromLatin1(name)); }
  std::string Ini() const { return ReadAll(Path("DS.ini").toStdString()); }

  QTemporaryDir dir_;
};

constexpr std::int64_t k3GiB = 3LL << 30;

TEST_F(StateFile, LiesInTheGivenFolderUnderItsOwnName) {
  TUMPDownloader downloader(dir_.path());
  EXPECT_EQ(downloader.FileIni, Path("DS.ini"));
}

TEST_F(StateFile, FallsBackToTheDataFolderWhenTheExecutableFolderIsNotWritable) {
  EXPECT_EQ(StateFileFolder(dir_.path(), "/data/"), dir_.path() + "/");
  EXPECT_EQ(StateFileFolder("/proc", "/data/"), "/data/");
  EXPECT_EQ(StateFileFolder(Path("missing"), "/data/"), "/data/");
}

TEST_F(StateFile, IsLaidOutAsTheTableSaysWithSixtyFourBitNumbers) {
  const std::string local = Path("firmware.bin").toStdString();
  WriteAll(local, "x");
  TUMPDownloader downloader(dir_.path());
  downloader.SetDownload("https://servidor/firmware.bin", QString::fromStdString(local));
  downloader.DownLoader->ResourceState().Assign({k3GiB, {"\"abc\"", ""}, {{0, k3GiB, k3GiB - 5}}});
  downloader.PauseDownload();

  EXPECT_EQ(Ini(),
            "[Download]\r\nURL=https://servidor/firmware.bin\r\nLocalFile=" + local +
                "\r\n\r\n[ResourceState]\r\nCount=1\r\nResourceSize=3221225472\r\n"
                "ETag=\"abc\"\r\nLastModified=\r\n\r\n[ResourceStateItem0]\r\n"
                "ResourcePos=0\r\nBytesToProceed=3221225472\r\nBytesProceed=3221225467\r\n\r\n");
}

TEST_F(StateFile, RoundTripsSeveralPartsOfAResourceAbove4GiB) {
  const QString local = Path("big.bin");
  WriteAll(local.toStdString(), "x");
  const std::int64_t size = (5LL << 30) + 7;
  const std::vector<download::TResourceStateItem> items = {
      {0, size / 2, 123}, {size / 2, size - size / 2, (3LL << 30) + 1}};
  TUMPDownloader writer(dir_.path());
  writer.SetDownload("http://a/big.bin", local);
  writer.DownLoader->ResourceState().Assign({size, {"", "Tue, 01 Oct 2024 10:00:00 GMT"}, items});
  writer.PauseDownload();

  TUMPDownloader reader(dir_.path());
  reader.SetDownload("http://other", Path("other"));
  reader.ResumeDownload();
  const TResourceSnapshot loaded = reader.DownLoader->ResourceState().Snapshot();
  EXPECT_EQ(reader.DownLoader->URL, "http://a/big.bin");
  EXPECT_EQ(reader.DownLoader->LocalFile, local.toStdString());
  EXPECT_EQ(loaded.ResourceSize, size);
  EXPECT_EQ(loaded.Validator.LastModified, "Tue, 01 Oct 2024 10:00:00 GMT");
  ASSERT_EQ(loaded.Items.size(), 2u);
  for (size_t i = 0; i < 2; ++i) {
    EXPECT_EQ(loaded.Items[i].ResourcePos, items[i].ResourcePos);
    EXPECT_EQ(loaded.Items[i].BytesToProceed, items[i].BytesToProceed);
    EXPECT_EQ(loaded.Items[i].BytesProceed, items[i].BytesProceed);
  }
}

TEST_F(StateFile, AFileOfTheThirtyTwoBitWriterStillLoads) {
  // No validator keys, Windows line ends, a key order of its own and an
  // unrelated section that an update must keep.
  WriteAll(Path("DS.ini").toStdString(),
           "[Download]\r\nLocalFile=C:\\f.bin\r\nURL=http://h/f.bin\r\n[Extra]\r\nKeep=1\r\n"
           "[ResourceState]\r\nResourceSize=2000000000\r\nCount=1\r\n"
           "[ResourceStateItem0]\r\nBytesProceed=1500000000\r\nResourcePos=0\r\n"
           "BytesToProceed=2000000000\r\n");
  TUMPDownloader downloader(dir_.path());
  downloader.ResumeDownload();
  const TResourceSnapshot loaded = downloader.DownLoader->ResourceState().Snapshot();
  EXPECT_EQ(downloader.DownLoader->URL, "http://h/f.bin");
  EXPECT_EQ(loaded.ResourceSize, 2000000000);
  ASSERT_EQ(loaded.Items.size(), 1u);
  EXPECT_EQ(loaded.Items[0].BytesToProceed, 2000000000);
  EXPECT_EQ(loaded.Items[0].BytesProceed, 1500000000);

  downloader.DownLoader->LocalFile = Path("missing").toStdString();
  downloader.PauseDownload();
  EXPECT_NE(Ini().find("[Extra]\r\nKeep=1\r\n"), std::string::npos);
}

TEST_F(StateFile, NegativeOrMissingNumbersLoadAsZeroAndMissingTextsKeepTheCurrentOnes) {
  // A 32-bit writer's file for a resource above 2 GiB holds negative numbers.
  WriteAll(Path("DS.ini").toStdString(),
           "[ResourceState]\nCount=2\nResourceSize=-1073741824\n[ResourceStateItem0]\n"
           "ResourcePos=-5\nBytesToProceed=abc\n");
  TUMPDownloader downloader(dir_.path());
  downloader.SetDownload("http://atual/f.bin", Path("f.bin"));
  downloader.ResumeDownload();
  const TResourceSnapshot loaded = downloader.DownLoader->ResourceState().Snapshot();
  EXPECT_EQ(downloader.DownLoader->URL, "http://atual/f.bin");
  EXPECT_EQ(downloader.DownLoader->LocalFile, Path("f.bin").toStdString());
  EXPECT_EQ(loaded.ResourceSize, -1073741824);
  ASSERT_EQ(loaded.Items.size(), 2u);
  for (const auto& item : loaded.Items) {
    EXPECT_EQ(item.ResourcePos, 0);
    EXPECT_EQ(item.BytesToProceed, 0);
    EXPECT_EQ(item.BytesProceed, 0);
  }
}

TEST_F(StateFile, NeverRecordsBytesOfALocalFileThatIsGone) {
  TUMPDownloader downloader(dir_.path());
  downloader.SetDownload("http://h/f.bin", Path("gone.bin"));
  downloader.DownLoader->ResourceState().Assign({100, {}, {{0, 100, 60}}});
  downloader.PauseDownload();
  EXPECT_NE(Ini().find("BytesProceed=0\r\n"), std::string::npos);
}

TEST_F(StateFile, StopBeforeAnyStatusWritesNothing) {
  QTimer timer;
  TUMPDownloader downloader(dir_.path());
  downloader.SetDownload("http://h/f.bin", Path("f.bin"));
  downloader.StopDownload(&timer);
  EXPECT_FALSE(QFile::exists(downloader.FileIni));
}

TEST_F(StateFile, IsDiscardedWhenItBelongsToAnotherTransfer) {
  const QString local = Path("f.bin");
  const QString ini = Path("DS.ini");
  const auto write = [&](const char* url) {
    WriteAll(ini.toStdString(), std::string("[Download]\r\nURL=") + url + "\r\n");
  };
  const struct {
    const char* savedUrl;
    bool localExists;
    bool kept;
  } cases[] = {
      {"http://h/f.bin", true, true},
      {"http://h/other.bin", true, false},
      {"http://h/f.bin", false, false},
  };
  for (const auto& c : cases) {
    write(c.savedUrl);
    QFile::remove(local);
    if (c.localExists)
      WriteAll(local.toStdString(), "partial");
    DiscardForeignState(ini, "http://h/f.bin", local);
    EXPECT_EQ(QFile::exists(ini), c.kept) << c.savedUrl << " " << c.localExists;
  }
}

}  // namespace
