// The result window and the leaderboard as a player sees them: after a real settlement every
// line is on screen, the padded fan lines keep their columns, long names stay inside their
// labels; and a small window shown by the app is a tool window above the table window.
#include <gtest/gtest.h>

#include <QFontMetrics>
#include <QImage>
#include <map>

#include "doubles/client_harness.h"
#include "platform/qt/form_layout.h"
#include "platform/qt/form_painter.h"
#include "platform/qt/form_view.h"
#include "session/framing.h"
#include "session/receive.h"
#include "test_support.h"

namespace tallow::platform::qt {
namespace {

using testing::ClientHarness;

int Bit(int rel) {
  return 1 << ((4 - rel) & 3);
}

void Deliver(Client& c, const protocol::Record& r) {
  AppendReceived(c, r);
  ExtractMessage(c);
  DispatchMessage(c);
}

// A hand with every line the settlement can write: a winner with all the fans, kongs on every
// seat, a discarder, the dealer, and the extra line.
void SettleABusyHand(Client& c) {
  c.table.custom(0).SeatBit = 1;
  c.session.HandNumber = 1;
  for (int s = 0; s <= 3; ++s) {
    auto r = ClientHarness::ServerRecord(9, Bit(s), {0, 1, 0, 0});
    r[16] = s == 2 ? 100 : 0xF0;
    for (int i = 17; i < 24; ++i) r[i] = s == 2 ? 0 : 0xFF;
    Deliver(c, r);
  }
  const std::map<int, int> common{{21, 2}, {23, 1}, {30, 3}, {31, 2}, {32, 12}, {27, 0}};
  for (int s = 0; s <= 3; ++s) {
    std::map<int, int> bytes = common;
    if (s == 2) {
      bytes.insert_or_assign(24, 1);
      bytes.insert_or_assign(17, 1);
      bytes.insert_or_assign(18, 0x11);
      bytes.insert_or_assign(19, 0x32);
      bytes.insert_or_assign(29, 1);
      bytes.insert_or_assign(31, 1);
      bytes.insert_or_assign(36, 0x10);
      bytes.insert_or_assign(37, 0x27);  // 10000
    } else {
      bytes.insert_or_assign(24, 2);
      bytes.insert_or_assign(25, 3 + s);
      bytes.insert_or_assign(26, 1);
      bytes.insert_or_assign(36, 0x88);
      bytes.insert_or_assign(37, 0x13);  // 5000
      bytes.insert_or_assign(44, 2);
    }
    bytes.insert_or_assign(20, s == 1 ? 1 : 0);
    bytes.insert_or_assign(28, s == 3 ? 1 : 0);
    auto r = ClientHarness::ServerRecord(17, Bit(s), {0, 250, 1, 1});
    for (auto [b, v] : bytes) r[static_cast<std::size_t>(b)] = static_cast<std::uint8_t>(v);
    Deliver(c, r);
  }
}

int InkIn(const QImage& image, QRect r, QRgb background) {
  int ink = 0;
  r = r.intersected(image.rect());
  for (int y = r.top(); y <= r.bottom(); ++y) {
    for (int x = r.left(); x <= r.right(); ++x) ink += image.pixel(x, y) != background ? 1 : 0;
  }
  return ink;
}

TEST(ResultWindow, ShowsEveryLineOfABusySettlement) {
  ClientHarness h;
  h.Start();
  Client& c = h.c();
  SettleABusyHand(c);
  auto& score = c.forms.Score;
  ASSERT_GE(score.State(0).ListCount(), 26) << "the settlement should fill the longest column";
  const QImage image = RenderToImage(score);
  const auto placed = PlaceControls(score);
  for (int l = 0; l <= 7; ++l) {
    const ui::ListBox& list = score.State(l);
    const int rows = (ToPixels(list.Height) - 2) / ListLineHeight(list);
    EXPECT_GE(rows, list.ListCount()) << "State(" << l << ") needs scrolling";
    EXPECT_EQ(ListTopLine(list), 0);
    // The last line is painted inside the list.
    const QRect rect = PlacedRect(placed, &list);
    ASSERT_FALSE(rect.isEmpty());
    const int h = ListLineHeight(list);
    const QRect last(rect.left() + 2, rect.top() + 1 + (list.ListCount() - 1) * h, rect.width() - 4,
                     h);
    EXPECT_LE(last.bottom(), rect.bottom()) << "State(" << l << ")";
    EXPECT_GT(InkIn(image, last, image.pixel(rect.right() - 3, rect.bottom() - 2)), 10)
        << "State(" << l << ") last line " << list.lines.back();
  }
}

TEST(ResultWindow, FanLinesKeepTheirColumns) {
  ScoreForm score;
  const QFontMetrics m(ListFont(score.State(0)));
  // The fan count stands at the same place whatever the fan's name.
  const int at = m.horizontalAdvance(QString::fromUtf8("  点  炮      "));
  for (const char* prefix : {"  三家立      ", "  飘喜儿      ", "  庄  家      "}) {
    EXPECT_EQ(m.horizontalAdvance(QString::fromUtf8(prefix)), at) << prefix;
  }
  EXPECT_EQ(m.horizontalAdvance(QString::fromUtf8("胡牌分  ：")),
            m.horizontalAdvance(QString::fromUtf8("胡牌得分：")));
  // The long separator fits at least as far as the short one.
  const ui::ListBox& list = score.State(0);
  EXPECT_LE(m.horizontalAdvance(QString(26, QLatin1Char('-'))), ToPixels(list.Width) - 4);
}

TEST(ResultWindow, LongNamesStayInsideTheirLabels) {
  ClientHarness h;
  const std::string name = "欧阳锋锋锋锋锋锋";  // eight characters, 16 bytes on the wire
  std::vector<ui::Label*> labels;
  for (int s = 0; s <= 3; ++s) {
    labels.push_back(&h.c().forms.Score.ID(s));
    labels.push_back(&h.c().forms.Hero.ID(s));
  }
  for (int i = 0; i <= 8; ++i) labels.push_back(&h.c().forms.Information.Inf(i));
  for (ui::Label* label : labels) {
    const QFontMetrics m(ControlFont(label->FontSize, label->FontBold));
    const QRect room(0, 0, ToPixels(label->Width), ToPixels(label->Height));
    const QRect used = m.boundingRect(room, Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap,
                                      QString::fromStdString(name));
    EXPECT_TRUE(room.contains(used))
        << label->Owner->Name << "." << label->Name << label->Index << ": " << used.width() << "x"
        << used.height() << " in " << room.width() << "x" << room.height();
  }
}

TEST(SmallWindowView, IsAToolWindowOfTheTableThatFollowsItsForm) {
  ui::Form table("table");
  table.Width = 300 * 15;
  table.Height = 200 * 15;
  table.Visible = true;
  ScoreForm score;
  FormView tableView(table);
  FormView scoreView(score, &tableView);
  EXPECT_TRUE(scoreView.isWindow());
  EXPECT_EQ(scoreView.parentWidget(), &tableView);
  EXPECT_EQ(scoreView.windowType(), Qt::Tool);
  EXPECT_TRUE(scoreView.windowFlags().testFlag(Qt::FramelessWindowHint));
  EXPECT_FALSE(scoreView.isVisible());
  score.Visible = true;
  scoreView.Refresh();
  EXPECT_TRUE(test::PumpUntil([&] { return scoreView.isVisible(); }));
  score.Visible = false;
  scoreView.Refresh();
  EXPECT_FALSE(scoreView.isVisible());
}

}  // namespace
}  // namespace tallow::platform::qt

namespace tallow::platform::qt {
namespace {

// The chat history wraps at 46 half-width units; its widest line, a first line of 24 Chinese
// characters or a continuation of a space and 23, is never cut at the list's edge.
TEST(ChatWindow, TheWidestWrappedLineFitsTheHistory) {
  TalkForm talk;
  const QFontMetrics m(ListFont(talk.Text1));
  const int room = ToPixels(talk.Text1.Width) - 4;
  EXPECT_LE(m.horizontalAdvance(QString(24, QChar(0x4E2D))), room);
  EXPECT_LE(m.horizontalAdvance(QStringLiteral(" ") + QString(23, QChar(0x4E2D))), room);
  EXPECT_LE(m.horizontalAdvance(QString(48, QLatin1Char('m'))), room);
}

}  // namespace
}  // namespace tallow::platform::qt
