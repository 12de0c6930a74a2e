// The hall finds its client and its site both in the build tree and in an installed prefix.
#include "install_layout.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "hall_processes.h"

namespace tallow::hall {
namespace {

namespace fs = std::filesystem;

void Touch(const fs::path& file) {
  fs::create_directories(file.parent_path());
  std::ofstream(file) << "x";
}

TEST(InstallLayout, AnInstalledHallStartsTheClientBesideIt) {
  test::TempDir t;
  const fs::path root = t.Path();
  const std::string bin = (root / "usr/games").string(), hallDir = (root / "build/hall").string();
  const std::string built = (root / "build/src/app/tallow").string();
  Touch(root / "usr/games/tallow");
  Touch(built);
  const struct {
    std::string option, hallDir, built, expected;
  } cases[] = {
      {"/opt/my-tallow", bin, built, "/opt/my-tallow"},  // --client wins
      {"", bin, built, bin + "/tallow"},  // installed, even with a build tree on the machine
      {"", hallDir, built, built},        // the build tree
      {"", hallDir, (root / "gone").string(), hallDir + "/tallow"},  // named in the error
  };
  for (const auto& c : cases) {
    EXPECT_EQ(FindClientProgram(c.option, c.hallDir, c.built), c.expected) << c.hallDir;
  }
}

TEST(InstallLayout, TheSiteIsFoundInTheBuildTreeOrInstalled) {
  test::TempDir t;
  const fs::path root = t.Path();
  Touch(root / "build/site/gameinfo/tallowmj/index.html");
  Touch(root / "usr/share/tallow/site/gameinfo/tallowmj/index.html");
  Touch(root / "empty/site/panel.html");  // no rules page
  EXPECT_EQ(FindSiteDir((root / "build/hall").string()), (root / "build/site").string());
  EXPECT_EQ(FindSiteDir((root / "usr/games").string()), (root / "usr/share/tallow/site").string());
  EXPECT_EQ(FindSiteDir((root / "empty/hall").string()), "");
}

}  // namespace
}  // namespace tallow::hall
