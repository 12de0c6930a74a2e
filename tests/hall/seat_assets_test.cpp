// A seat directory gets the generated sounds as links and a phrase file of its own.
#include "seat_assets.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "hall_processes.h"

namespace tallow::hall {
namespace {

namespace fs = std::filesystem;

void Write(const fs::path& file, const std::string& text) {
  fs::create_directories(file.parent_path());
  std::ofstream(file) << text;
}

std::string Read(const fs::path& file) {
  std::ifstream in(file);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

// Generated assets as the build lays them out.
fs::path MakeAssets(const fs::path& dir) {
  Write(dir / "chat.ini", "default");
  Write(dir / "common/music/majiang.wav", "loop");
  Write(dir / "common/mj/v00101302.wav", "pung");
  return dir;
}

TEST(SeatAssets, FoundBesideTheHallInTheBuildTreeOrInstalled) {
  test::TempDir t;
  const fs::path root = t.Path();
  MakeAssets(root / "build/assets");
  MakeAssets(root / "prefix/share/tallow/assets");
  fs::create_directories(root / "incomplete/assets/common/mj");  // no chat.ini, no music
  EXPECT_EQ(FindAssetsDir((root / "build/hall").string()), (root / "build/assets").string());
  EXPECT_EQ(FindAssetsDir((root / "prefix/bin").string()),
            (root / "prefix/share/tallow/assets").string());
  EXPECT_EQ(FindAssetsDir((root / "incomplete/hall").string()), "");
  EXPECT_EQ(FindAssetsDir((root / "nowhere/hall").string()), "");
}

TEST(SeatAssets, SeatsShareTheSoundsAndKeepTheirOwnPhraseFile) {
  test::TempDir t;
  const fs::path root = t.Path();
  const fs::path assets = MakeAssets(root / "assets");
  const fs::path seats = root / "data/seats";
  const fs::path alice = seats / "alice", bob = seats / "bob";
  fs::create_directories(alice);
  fs::create_directories(bob);

  ASSERT_EQ(ProvideSeatAssets(assets.string(), alice.string()), "");
  EXPECT_TRUE(fs::is_symlink(seats / "common/music"));
  EXPECT_EQ(Read(alice / "../common/music/majiang.wav"), "loop");
  EXPECT_EQ(Read(alice / "../common/mj/v00101302.wav"), "pung");
  EXPECT_EQ(Read(alice / "chat.ini"), "default");

  // A player's own phrases stay; a second seat shares the links; doing it again changes nothing.
  Write(alice / "chat.ini", "mine");
  ASSERT_EQ(ProvideSeatAssets(assets.string(), bob.string() + "/"), "");
  ASSERT_EQ(ProvideSeatAssets(assets.string(), alice.string()), "");
  EXPECT_EQ(Read(alice / "chat.ini"), "mine");
  EXPECT_EQ(Read(bob / "chat.ini"), "default");
  EXPECT_EQ(Read(bob / "../common/mj/v00101302.wav"), "pung");

  // A link left by another build is moved to this one; the player's own folder is left alone.
  const fs::path other = MakeAssets(root / "other");
  Write(other / "common/mj/v00101302.wav", "old");
  fs::remove(seats / "common/mj");
  fs::create_directory_symlink(other / "common/mj", seats / "common/mj");
  fs::remove(seats / "common/music");
  Write(seats / "common/music/majiang.wav", "own");
  ASSERT_EQ(ProvideSeatAssets(assets.string(), alice.string()), "");
  EXPECT_EQ(Read(alice / "../common/mj/v00101302.wav"), "pung");
  EXPECT_EQ(Read(alice / "../common/music/majiang.wav"), "own");
}

}  // namespace
}  // namespace tallow::hall
