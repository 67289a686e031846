#include <gtest/gtest.h>

#include "TestFiles.h"
#include "app/FileUtils.h"

namespace fs = std::filesystem;

namespace {

class RecursiveDelete : public testing::Test {
 protected:
  bool Delete(const fs::path& folder, const std::string& suffix = "") {
    return app::RecursiveDelete(folder.string() + suffix, [this] { ++kills; });
  }

  TempDir dir;
  int kills = 0;
};

TEST_F(RecursiveDelete, NestedFoldersAreGoneWithOneKillPerFolder) {
  for (const std::string suffix : {"", "/"}) {
    const fs::path root = dir / "work";
    for (const char* file : {"f1", "a/f2", "a/b/f3", "a/b/.hidden"}) {
      WriteFile(root / file, "x");
    }
    fs::create_directories(root / "c");
    kills = 0;
    EXPECT_TRUE(Delete(root, suffix)) << "suffix '" << suffix << "'";
    EXPECT_FALSE(fs::exists(root));
    EXPECT_EQ(kills, 4) << "work, a, a/b and c";
  }
}

TEST_F(RecursiveDelete, ReadOnlyFileStaysWithItsFoldersAndFails) {
  const fs::path root = dir / "work";
  WriteFile(root / "keep" / "ro.bin", "x");
  fs::permissions(root / "keep" / "ro.bin", fs::perms::owner_read | fs::perms::group_read);
  EXPECT_FALSE(Delete(root));
  EXPECT_TRUE(fs::exists(root / "keep" / "ro.bin"));
}

TEST_F(RecursiveDelete, LinksAreRemovedButWhatTheyPointToSurvives) {
  const fs::path outside = dir / "outside";
  WriteFile(outside / "target.txt", "keep me");
  WriteFile(outside / "folder" / "inner.txt", "keep me too");
  fs::permissions(outside / "target.txt", fs::perms::owner_read);
  const fs::path root = dir / "work";
  fs::create_directories(root / "sub");
  fs::create_symlink(outside / "target.txt", root / "file-link");
  fs::create_symlink(outside / "folder", root / "sub" / "folder-link");
  fs::create_symlink(dir / "nowhere", root / "broken-link");

  EXPECT_TRUE(Delete(root));
  EXPECT_FALSE(fs::exists(fs::symlink_status(root)));
  EXPECT_EQ(ReadFile(outside / "target.txt"), "keep me");
  EXPECT_EQ(ReadFile(outside / "folder" / "inner.txt"), "keep me too");
  EXPECT_EQ(kills, 2);
}

TEST_F(RecursiveDelete, LinkGivenAsTheFolderIsNotFollowed) {
  WriteFile(dir / "outside" / "inner.txt", "keep me");
  fs::create_symlink(dir / "outside", dir / "work");
  EXPECT_FALSE(Delete(dir / "work", "/"));
  EXPECT_EQ(ReadFile(dir / "outside" / "inner.txt"), "keep me");
}

TEST_F(RecursiveDelete, MissingFolderFailsAfterTheKills) {
  EXPECT_FALSE(Delete(dir / "missing"));
  EXPECT_EQ(kills, 1);
}

}  // namespace
