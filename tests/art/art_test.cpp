// The embedded artwork: every picture the client asks for by id or by name resolves, with the
// size the table layout is built around; the ids that must stay missing are missing.
#include <gtest/gtest.h>

#include <QDirIterator>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QSet>
#include <QString>
#include <cstdlib>
#include <map>
#include <set>
#include <string_view>
#include <vector>

#include "art_resources.h"

namespace {

QImage Load(const QString& key) {
  return QImage(QStringLiteral(":/art/%1.png").arg(key));
}

struct Range {
  int first, last;
  QSize size;  // invalid when only the existence is fixed
};

// The numbered pictures, as the client's id tables list them.
const Range kIdRanges[] = {
    {101, 102, {48, 30}},  // 发送
    {103, 120, {55, 31}},  // toolbar pairs
    {123, 123, {82, 80}},  // wild-tile emblem
    {124, 125, {}},        // level plaques
    {126, 129, {77, 77}},  // compass
    {130, 137, {}},        // dialog buttons
    {141, 155, {50, 71}},  // claim buttons
    {161, 176, {}},        // dice faces and tumbling frames
    {183, 190, {}},        // banners
    {191, 200, {85, 90}},  // portraits, men
    {201, 236, {50, 58}},  // tiles, group 0
    {237, 272, {59, 46}},  // group 1
    {273, 308, {34, 37}},  // group 2
    {309, 344, {59, 46}},  // group 3
    {345, 380, {50, 77}},  // group 4
    {381, 398, {43, 24}},  // small toolbar pairs
    {401, 410, {85, 90}},  // portraits, women
    {411, 414, {}},        // 扣牌 / 放弃
    {415, 420, {}},        // bubbles
};

class ArtTest : public ::testing::Test {
 protected:
  static std::set<int> ExpectedIds() {
    std::set<int> ids;
    for (const Range& r : kIdRanges)
      for (int id = r.first; id <= r.last; ++id) ids.insert(id);
    return ids;
  }
  // Every picture embedded under /art, by key.
  static std::set<QString> EmbeddedKeys() {
    std::set<QString> keys;
    QDirIterator it(":/art");
    while (it.hasNext()) {
      const QString file = QFileInfo(it.next()).fileName();
      EXPECT_TRUE(file.endsWith(".png")) << file.toStdString();
      keys.insert(file.chopped(4));
    }
    return keys;
  }
};

TEST_F(ArtTest, EveryTableIdResolvesWithItsSize) {
  for (const Range& r : kIdRanges) {
    for (int id = r.first; id <= r.last; ++id) {
      const QImage image = Load(QString::number(id));
      ASSERT_FALSE(image.isNull()) << "id " << id;
      if (r.size.isValid()) {
        EXPECT_EQ(image.size(), r.size) << "id " << id;
      }
    }
  }
}

TEST_F(ArtTest, NumberedPicturesAreExactlyTheTableIds) {
  // 302 pictures; 156..158 (named by the claim-button table) and the gaps must not resolve
  std::set<int> embedded;
  for (const QString& key : EmbeddedKeys()) {
    bool number = false;
    const int id = key.toInt(&number);
    if (number) embedded.insert(id);
  }
  EXPECT_EQ(embedded, ExpectedIds());
  EXPECT_EQ(embedded.size(), 302u);
  for (int id : {156, 157, 158}) EXPECT_TRUE(Load(QString::number(id)).isNull()) << id;
}

TEST_F(ArtTest, PicturesSharingAControlShareASize) {
  // a control swaps these pictures in place: normal and highlight, the states of a claim
  // button, the dice frames, the compass turns, the banners over one bubble, the bubble shapes
  const std::vector<std::vector<int>> sets = {
      {101, 102},
      {124, 125},
      {126, 127, 128, 129},
      {130, 131, 132, 133, 134, 135, 136, 137},
      {161, 162, 163, 164, 165, 166, 167, 168, 169, 170, 171, 172, 173, 174, 175, 176},
      {183, 184, 185, 186, 187, 188, 189, 190},
      {411, 412, 413, 414},
      {415, 416, 417, 418, 419, 420},
  };
  for (const auto& set : sets) {
    const QSize size = Load(QString::number(set.front())).size();
    for (int id : set) EXPECT_EQ(Load(QString::number(id)).size(), size) << "id " << id;
  }
}

TEST_F(ArtTest, NamedPicturesResolveWithTheirSizes) {
  namespace n = tallow::art_name;
  const std::vector<std::pair<std::string_view, QSize>> named = {
      {n::kBackground, {1024, 768}},
      {n::kSkin, {46, 220}},
      {n::kCloseNormal, {16, 16}},
      {n::kCloseHover, {16, 16}},
      {n::kClosePressed, {16, 16}},
      {n::kMinNormal, {16, 16}},
      {n::kMinHover, {16, 16}},
      {n::kMinPressed, {16, 16}},
      {n::kIcon, {32, 32}},
      {n::kHandCursor, {32, 32}},
      {n::kTimePlate, {81, 38}},
      {n::kReady, {64, 36}},
      {n::kDealer, {36, 36}},
      {n::kJokerFrame, {81, 120}},
      {n::kEmblem, {82, 80}},
      {n::kPhrasesText, {57, 13}},
      {n::kPhrasesVoice, {57, 13}},
      {n::kLocationStrip, {394, 39}},
      {n::kSpeak[0], {180, 110}},
      {n::kSpeak[1], {180, 110}},
      {n::kSpeak[2], {180, 110}},
      {n::kSoundCaption[0], {80, 24}},
      {n::kSoundCaption[1], {80, 24}},
      {n::kSoundCaption[2], {80, 24}},
      {n::kSoundCaption[3], {80, 24}},
      {n::kNoticeOk, {70, 30}},
      {n::kNoticeCancel, {70, 30}},
      {n::kWindowClose, {20, 20}},
  };
  for (const auto& [name, size] : named) {
    const QImage image(QString::fromStdString(tallow::ArtPath(name)));
    EXPECT_EQ(image.size(), size) << name;
  }
  EXPECT_EQ(QImage(QString::fromStdString(tallow::ArtPath(201))).size(), QSize(50, 58));
}

TEST_F(ArtTest, OverlaidPicturesFitTheirPlaces) {
  // the timer digits (24 x 24) and the wild tile (36 x 56) go inside their plates; a banner laid
  // over a speech bubble stays inside it
  const QSize plate = Load("time_plate").size(), frame = Load("joker_frame").size();
  EXPECT_LE(tallow::kTimePlateDigitsX + 24, plate.width());
  EXPECT_LE(tallow::kTimePlateDigitsY + 24, plate.height());
  EXPECT_LE(tallow::kJokerTileX + 36, frame.width());
  EXPECT_LE(tallow::kJokerTileY + 56, frame.height());
  const QSize bubble = Load("speak0").size(), banner = Load("183").size();
  EXPECT_LE(tallow::kBannerOnBubbleX + banner.width(), bubble.width());
  EXPECT_LE(tallow::kBannerOnBubbleY + banner.height(), bubble.height());
  // the cursor's hot spot lies on the fingertip: an opaque pixel right below it
  const QImage cursor = Load("cursor_hand").convertToFormat(QImage::Format_ARGB32);
  EXPECT_GT(qAlpha(cursor.pixel(tallow::kHandCursorHotX, tallow::kHandCursorHotY + 1)), 128);
}

TEST_F(ArtTest, ManifestListsExactlyTheEmbeddedPictures) {
  QFile file(TALLOW_ART_MANIFEST);
  ASSERT_TRUE(file.open(QIODevice::ReadOnly | QIODevice::Text)) << TALLOW_ART_MANIFEST;
  std::set<QString> listed;
  while (!file.atEnd()) {
    const QString line = QString::fromUtf8(file.readLine()).trimmed();
    if (line.isEmpty() || line.startsWith('#')) continue;
    const QStringList f = line.split(' ', Qt::SkipEmptyParts);
    ASSERT_EQ(f.size(), 3) << line.toStdString();
    EXPECT_EQ(Load(f[0]).size(), QSize(f[1].toInt(), f[2].toInt())) << line.toStdString();
    listed.insert(f[0]);
  }
  EXPECT_EQ(listed, EmbeddedKeys());
}

TEST_F(ArtTest, NoPictureIsBlank) {
  for (const QString& key : EmbeddedKeys()) {
    const QImage image = Load(key).convertToFormat(QImage::Format_ARGB32);
    int opaque = 0;
    for (int y = 0; y < image.height(); ++y)
      for (int x = 0; x < image.width(); ++x) opaque += qAlpha(image.pixel(x, y)) > 128;
    EXPECT_GT(opaque, image.width() * image.height() / 20) << key.toStdString();
  }
}

TEST_F(ArtTest, TilesOfAGroupAreAllDifferent) {
  // a face drawn wrongly, or glyphs missing from the font, make tiles look alike
  for (int group = 0; group < 5; ++group) {
    QSet<QByteArray> seen;
    for (int i = 0; i < 36; ++i) {
      const QImage image = Load(QString::number(201 + 36 * group + i));
      const QByteArray bytes(reinterpret_cast<const char*>(image.constBits()), image.sizeInBytes());
      EXPECT_FALSE(seen.contains(bytes)) << "group " << group << " index " << i;
      seen.insert(bytes);
    }
  }
}

TEST_F(ArtTest, SideSeatsSeeTheirFacesTurnedOppositeWays) {
  // the left seat's tiles (group 1) and the right seat's (group 3) show the same face turned
  // half a circle: compare the middle of each face with the other one turned round
  auto difference = [](const QImage& a, const QImage& b, bool turned) {
    double sum = 0;
    int n = 0;
    for (int y = 5; y <= 32; ++y) {
      for (int x = 4; x <= 54; ++x) {
        const QRgb p = a.pixel(x, y);
        const QRgb q = turned ? b.pixel(58 - x, 37 - y) : b.pixel(x, y);
        sum += std::abs(qRed(p) - qRed(q)) + std::abs(qGreen(p) - qGreen(q)) +
               std::abs(qBlue(p) - qBlue(q));
        ++n;
      }
    }
    return sum / n;
  };
  // faces that look different when turned: 東, 發, one and seven bamboo, 三萬, seven dots
  for (int index : {0, 5, 9, 15, 20, 33}) {
    const QImage left = Load(QString::number(237 + index)).convertToFormat(QImage::Format_ARGB32);
    const QImage right = Load(QString::number(309 + index)).convertToFormat(QImage::Format_ARGB32);
    ASSERT_EQ(left.size(), QSize(59, 46));
    ASSERT_EQ(right.size(), QSize(59, 46));
    const double turned = difference(left, right, true);
    const double straight = difference(left, right, false);
    EXPECT_LT(turned, 40) << "index " << index;
    EXPECT_GT(straight, turned * 2) << "index " << index;
  }
}

TEST_F(ArtTest, BackgroundIsOpaque) {
  const QImage image = Load("background").convertToFormat(QImage::Format_ARGB32);
  ASSERT_FALSE(image.isNull());
  for (int y = 0; y < image.height(); y += 3)
    for (int x = 0; x < image.width(); x += 3)
      ASSERT_EQ(qAlpha(image.pixel(x, y)), 255) << x << "," << y;
}

TEST_F(ArtTest, SkinEdgesStretchWithoutSeams) {
  // the window stretches the edge pieces: each must be uniform along its stretch direction
  const QImage skin = Load("skin").convertToFormat(QImage::Format_ARGB32);
  ASSERT_EQ(skin.size(), QSize(46, 220));
  for (int y = 0; y < 20; ++y)  // top edge (8, 0, 8, 20), stretched sideways
    for (int x = 8; x < 16; ++x) EXPECT_EQ(skin.pixel(x, y), skin.pixel(8, y)) << x << "," << y;
  for (int y = 212; y < 220; ++y)  // bottom edge (8, 212, 8, 8)
    for (int x = 8; x < 16; ++x) EXPECT_EQ(skin.pixel(x, y), skin.pixel(8, y)) << x << "," << y;
  for (int x : {0, 1, 2, 3, 4, 5, 6, 7, 38, 39, 40, 41, 42, 43, 44, 45})  // side edges, downwards
    for (int y = 20; y < 212; ++y) EXPECT_EQ(skin.pixel(x, y), skin.pixel(x, 20)) << x << "," << y;
}

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  tallow::InitArtResources();
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
