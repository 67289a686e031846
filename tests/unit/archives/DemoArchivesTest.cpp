#include <gtest/gtest.h>

#include <cstdio>

#include "Fixtures.h"
#include "download/ZipReader.h"
#include "sim/DemoArchives.h"
#include "sim/DemoWorld.h"

namespace {

std::string Output(const std::string& command) {
  std::string text;
  if (FILE* pipe = ::popen(command.c_str(), "r")) {
    char buffer[256];
    while (std::fgets(buffer, sizeof buffer, pipe) != nullptr)
      text += buffer;
    ::pclose(pipe);
  }
  return text;
}

class DemoArchivesTest : public ArchiveFolder {};

TEST_F(DemoArchivesTest, EveryServedArchiveUnpacksAndTheToolsRunUnderTheirNames) {
  auto world = sim::DemoWorld::Create({});
  ASSERT_TRUE(world) << world.error();
  auto written = sim::WriteDemoArchives(**world, SOLVANTA_FAKE_TOOL);
  ASSERT_TRUE(written) << written.error().toStdString();

  int archives = 0;
  for (const auto& e : fs::recursive_directory_iterator((*world)->ServedDir())) {
    if (e.path().extension() != ".zip")
      continue;
    download::ZipReader reader;
    reader.BaseDirectory = Dest() / e.path().stem();
    reader.FileName = e.path();
    const auto result = reader.ExtractFiles("*.*");
    EXPECT_TRUE(result.ok()) << e.path() << ": " << result.error;
    EXPECT_GT(result.extracted, 0) << e.path();
    ++archives;
  }
  EXPECT_EQ(archives, 14);
  const fs::path tool = Dest() / "SpreadstrumTool/SpreadstrumTool/CmdDloader.exe";
  EXPECT_EQ(Output("'" + tool.string() + "' -C -pac"), "CmdDloader.exe: -C -pac\n");
  EXPECT_EQ(Output("'" + (Dest() / "MediaTekTools/MediaTekTools/flash_tool.exe").string() + "'"),
            "flash_tool.exe:\n");
}

}  // namespace
