// The drawing code behind the pictures: captions are scaled into their boxes without spilling
// over, the catalogue names every picture once, and the contact sheet shows what it is asked for.
#include <gtest/gtest.h>

#include <QFontDatabase>
#include <QGuiApplication>
#include <QSet>

#include "paint.h"
#include "picture.h"
#include "sheet.h"

namespace {

using tallow::art::Fit;

TEST(ArtgenTest, TheCaptionFontIsInstalled) {
  // without it every caption would be drawn as empty boxes
  EXPECT_TRUE(QFontDatabase::families().contains(tallow::art::kFontFamily));
}

TEST(ArtgenTest, FittedTextStaysInsideItsBox) {
  const QString texts[] = {QString::fromUtf8("一"),     QString::fromUtf8("萬"),
                           QString::fromUtf8("普通话"), QString::fromUtf8("用户升级"),
                           QString::fromUtf8("混儿杠"), QStringLiteral("OK")};
  const QRectF boxes[] = {QRectF(5, 1, 30, 24), QRectF(0, 0, 120, 20), QRectF(10, 10, 8, 40),
                          QRectF(-3, 2, 44, 44)};
  for (const QString& text : texts) {
    for (const QRectF& box : boxes) {
      for (Fit fit : {Fit::Ink, Fit::InkStretch, Fit::Em, Fit::EmStretch}) {
        const QRectF ink = tallow::art::FittedText(text, box, fit).boundingRect();
        ASSERT_FALSE(ink.isEmpty()) << text.toStdString();
        EXPECT_TRUE(box.adjusted(-0.01, -0.01, 0.01, 0.01).contains(ink))
            << text.toStdString() << " fit " << int(fit);
        // uniform fits touch the box on at least one axis; stretched ink fills it
        if (fit == Fit::Ink) {
          EXPECT_TRUE(qAbs(ink.width() - box.width()) < 0.01 ||
                      qAbs(ink.height() - box.height()) < 0.01)
              << text.toStdString();
        }
        if (fit == Fit::InkStretch) {
          EXPECT_NEAR(ink.width(), box.width(), 0.01);
          EXPECT_NEAR(ink.height(), box.height(), 0.01);
        }
      }
    }
  }
}

TEST(ArtgenTest, EmFitKeepsThinGlyphsThin) {
  // 一 fitted by its em box stays a stroke; fitted by its ink it would become a slab
  const QRectF box(0, 0, 40, 40);
  const QRectF em =
      tallow::art::FittedText(QString::fromUtf8("一"), box, Fit::EmStretch).boundingRect();
  EXPECT_LT(em.height(), box.height() / 4);
}

TEST(ArtgenTest, EveryPictureHasOneKeyAndASize) {
  const tallow::art::Catalogue all = tallow::art::FullCatalogue();
  QSet<QString> keys;
  for (const auto& pic : all) {
    EXPECT_FALSE(keys.contains(pic.key)) << "twice: " << pic.key.toStdString();
    keys.insert(pic.key);
    EXPECT_FALSE(pic.size.isEmpty()) << pic.key.toStdString();
    EXPECT_FALSE(pic.family.isEmpty()) << pic.key.toStdString();
    EXPECT_TRUE(pic.draw) << pic.key.toStdString();
  }
}

TEST(ArtgenTest, ContactSheetShowsTheFamiliesAskedFor) {
  const tallow::art::Catalogue all = tallow::art::FullCatalogue();
  const QImage tiles = tallow::art::ContactSheet(all, "tiles4", 1);
  const QImage everything = tallow::art::ContactSheet(all, "", 1);
  const QImage nothing = tallow::art::ContactSheet(all, "no such family", 1);
  // 36 pictures of 50 x 77 need at least that much room; the whole catalogue needs more
  EXPECT_GE(qint64(tiles.width()) * tiles.height(), 36 * 50 * 77);
  EXPECT_GT(everything.height(), tiles.height() * 4);
  EXPECT_LT(nothing.height(), 50);
}

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
