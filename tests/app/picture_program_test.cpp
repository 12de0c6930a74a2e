// tallow-picture as a player runs it: each state of a hand in play exits 0 and writes a picture
// of the table size asked for, with a table on it that differs from the bare wall.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <QImage>
#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <set>
#include <string>

namespace {

struct Shot {
  const char* state;
  int w, h;
};

std::filesystem::path OutDir() {
  auto dir = std::filesystem::temp_directory_path() /
             ("tallow-picture-program-" + std::to_string(::getpid()));
  std::filesystem::create_directories(dir);
  return dir;
}

// Runs the program; its exit status.
int RunPicture(const std::filesystem::path& out, const std::string& state,
               const std::string& size) {
  const std::string cmd = std::string(TALLOW_PICTURE_BINARY) + " '" + out.string() + "' " + state +
                          " " + size + " 2>/dev/null";
  const int rc = std::system(cmd.c_str());
  return WIFEXITED(rc) ? WEXITSTATUS(rc) : -1;
}

// Pixels that differ between two pictures of one size, in a coarse grid.
int DifferentCells(const QImage& a, const QImage& b) {
  int n = 0;
  for (int y = 0; y < a.height(); y += 8) {
    for (int x = 0; x < a.width(); x += 8) n += a.pixel(x, y) != b.pixel(x, y) ? 1 : 0;
  }
  return n;
}

class PictureProgram : public ::testing::TestWithParam<Shot> {};

TEST_P(PictureProgram, WritesTheTable) {
  const Shot shot = GetParam();
  const auto dir = OutDir();
  const std::string size = std::to_string(shot.w) + "x" + std::to_string(shot.h);
  const auto wallPng = dir / ("wall-" + size + ".png");
  const auto png = dir / (std::string(shot.state) + "-" + size + ".png");
  ASSERT_EQ(RunPicture(wallPng, "wall", size), 0);
  ASSERT_EQ(RunPicture(png, shot.state, size), 0);
  const QImage wall(QString::fromStdString(wallPng.string()));
  const QImage image(QString::fromStdString(png.string()));
  ASSERT_FALSE(image.isNull());
  EXPECT_EQ(image.width(), shot.w);
  EXPECT_EQ(image.height(), shot.h);
  std::set<QRgb> colours;
  for (int y = 0; y < image.height(); y += 4) {
    for (int x = 0; x < image.width(); x += 4) colours.insert(image.pixel(x, y));
  }
  EXPECT_GT(colours.size(), 500u) << "a picture with hardly anything on it";
  // Hands, sets and pools cover a good part of the table where the wall stood alone.
  EXPECT_GT(DifferentCells(wall, image), (shot.w / 8) * (shot.h / 8) / 10);
  std::filesystem::remove_all(dir);
}

INSTANTIATE_TEST_SUITE_P(
    States, PictureProgram,
    ::testing::Values(Shot{"hand", 1024, 768}, Shot{"hand", 800, 600}, Shot{"offer", 1024, 768},
                      Shot{"claim", 1024, 768}, Shot{"claim", 800, 600}, Shot{"reveal", 1024, 768},
                      Shot{"settlement", 1024, 768}, Shot{"settlement", 800, 600},
                      Shot{"settings", 1024, 768}, Shot{"talk", 1024, 768}, Shot{"card", 800, 600},
                      Shot{"toolbar", 1024, 768}, Shot{"web", 800, 600}, Shot{"exit", 1024, 768},
                      Shot{"exit-between", 800, 600}, Shot{"notice", 1024, 768},
                      Shot{"wild", 800, 600}, Shot{"watch", 1024, 768},
                      Shot{"watch-later", 800, 600}, Shot{"rejoin-later", 1024, 768}),
    [](const auto& info) {
      std::string name = std::string(info.param.state) + "_" + std::to_string(info.param.w);
      std::replace(name.begin(), name.end(), '-', '_');
      return name;
    });

TEST(PictureProgramUsage, UnknownStateIsRefused) {
  EXPECT_EQ(RunPicture(OutDir() / "x.png", "halfway", "1024x768"), 2);
}

}  // namespace
