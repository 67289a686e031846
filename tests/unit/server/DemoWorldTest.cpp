#include <gtest/gtest.h>

#include <QImage>
#include <QString>
#include <QTemporaryDir>
#include <filesystem>
#include <fstream>

#include "sim/DemoWorld.h"
#include "support/HttpClient.h"

namespace {

namespace fs = std::filesystem;
using testsupport::Fetch;

class DemoWorldTest : public ::testing::Test {
 protected:
  void SetUp() override {
    // Worlds without a root of their own are made in the temporary folder.
    setenv("TMPDIR", parent.path().toLocal8Bit().constData(), 1);
    const fs::path fonts = fontsFolder.path().toStdString();
    std::ofstream(fonts / "Roboto-Regular.ttf") << "font";
    std::ofstream(fonts / "Lato-Bold.TTF") << "font";
    std::ofstream(fonts / "readme.txt") << "not a font";
  }

  std::unique_ptr<sim::DemoWorld> Make(bool https = false) {
    auto world =
        sim::DemoWorld::Create({.fontsSource = fontsFolder.path().toStdString(), .https = https});
    EXPECT_TRUE(world) << world.error();
    return world ? std::move(*world) : nullptr;
  }

  QTemporaryDir fontsFolder;
  QTemporaryDir parent;
};

TEST_F(DemoWorldTest, LaysOutTheInstallationAndServesItsServerFolder) {
  auto world = Make();
  ASSERT_TRUE(world);
  const fs::path root = world->Root();
  EXPECT_EQ(world->ProgramDir(), root / "Program Files" / "AssistenteSolvanta");
  EXPECT_EQ(world->DataDir(), root / "AppData" / "Local" / "AssistenteSolvanta");
  for (const fs::path& folder :
       {world->FontsDir(), world->DriversDir(), world->TempDir(), world->WindowsDir(),
        world->ServedDir() / "solvanta/rewriter", world->ServedDir() / "solvanta/updates"}) {
    EXPECT_TRUE(fs::is_directory(folder)) << folder;
  }
  EXPECT_EQ(world->DriversDir(), world->DataDir() / "SoftwareDrivers");
  EXPECT_TRUE(fs::exists(world->FontsDir() / "Roboto-Regular.ttf"));
  EXPECT_TRUE(fs::exists(world->FontsDir() / "Lato-Bold.TTF"));
  EXPECT_FALSE(fs::exists(world->FontsDir() / "readme.txt"));

  QImage noimg;
  ASSERT_TRUE(noimg.load(QString::fromStdString(world->NoImgFile().string()), "JPG"));
  EXPECT_GT(noimg.width(), 0);

  const auto url = world->AddServedFile("/solvanta/updates/Softwareupdate.slvr", "conteúdo");
  ASSERT_TRUE(url) << url.error();
  EXPECT_EQ(*url, world->ServerUrl() + "/solvanta/updates/Softwareupdate.slvr");
  EXPECT_TRUE(world->ServerUrl().starts_with("http://127.0.0.1:"));
  const auto r = Fetch({.url = *url});
  ASSERT_EQ(r.code, CURLE_OK) << r.error;
  EXPECT_EQ(r.body, "conteúdo");
  EXPECT_EQ(world->GeoUrl(), world->ServerUrl());
  EXPECT_EQ(Fetch({.url = world->GeoUrl() + "/json"}).status, 200);
  EXPECT_TRUE(world->CaFile().empty());
}

TEST_F(DemoWorldTest, ServedFilesCannotBeWrittenOutsideTheServerFolder) {
  auto world = Make();
  ASSERT_TRUE(world);
  for (const char* path : {"/../escape.txt", "/solvanta/../../escape.txt", "/", ""}) {
    SCOPED_TRACE(path);
    EXPECT_FALSE(world->AddServedFile(path, "x"));
  }
  EXPECT_FALSE(fs::exists(world->Root() / "escape.txt"));
}

TEST_F(DemoWorldTest, HttpsWorldIsTrustedThroughItsCaAndKeepsGeolocationPlain) {
  auto world = Make(true);
  ASSERT_TRUE(world);
  EXPECT_TRUE(world->ServerUrl().starts_with("https://"));
  ASSERT_TRUE(fs::exists(world->CaFile()));
  const auto url = world->AddServedFile("/solvanta/rewriter/t.zip", "zip");
  ASSERT_TRUE(url);
  const auto r = Fetch({.url = *url, .caFile = world->CaFile()});
  ASSERT_EQ(r.code, CURLE_OK) << r.error;
  EXPECT_EQ(r.body, "zip");
  EXPECT_TRUE(world->GeoUrl().starts_with("http://"));
  EXPECT_EQ(Fetch({.url = world->GeoUrl() + "/json"}).status, 200);
}

TEST_F(DemoWorldTest, EndingTheWorldStopsTheServerAndRemovesOnlyATemporaryFolder) {
  auto world = Make();
  ASSERT_TRUE(world);
  const fs::path root = world->Root();
  const std::string url = world->ServerUrl() + "/json";
  world.reset();
  EXPECT_FALSE(fs::exists(root));
  EXPECT_EQ(Fetch({.url = url, .timeoutMs = 2000}).code, CURLE_COULDNT_CONNECT);

  // A world given its own folder keeps it, and a second world reuses it.
  const fs::path own = fs::path(parent.path().toStdString()) / "own world";
  auto first = sim::DemoWorld::Create({.root = own});
  ASSERT_TRUE(first) << first.error();
  ASSERT_TRUE((*first)->AddServedFile("/solvanta/updates/left.txt", "ficou"));
  first->reset();
  EXPECT_TRUE(fs::is_directory(own / "Program Files" / "AssistenteSolvanta"));
  auto second = sim::DemoWorld::Create({.root = own});
  ASSERT_TRUE(second) << second.error();
  EXPECT_EQ((*second)->Root(), own);
  EXPECT_EQ(Fetch({.url = (*second)->Url("/solvanta/updates/left.txt")}).body, "ficou");
}

TEST_F(DemoWorldTest, MissingFontsFolderIsReportedAndLeavesNothingBehind) {
  const auto world = sim::DemoWorld::Create({.fontsSource = "/nonexistent/fonts"});
  ASSERT_FALSE(world);
  EXPECT_NE(world.error().find("/nonexistent/fonts"), std::string::npos);
  EXPECT_TRUE(fs::is_empty(parent.path().toStdString()));
}

}  // namespace
