// The lines the hall builds are read back by the client's own command-line parser.
#include "seat_line.h"

#include <gtest/gtest.h>

#include "session/command_line.h"

namespace tallow::hall {
namespace {

SeatLine Player() {
  return {"alice", "pw", "127.0.0.1", 7000, RoomName(0), {}, false, {}, {}};
}

struct RoundTrip {
  const char* name;
  SeatLine seat;
};

class PlayerLineRoundTrip : public testing::TestWithParam<RoundTrip> {};

TEST_P(PlayerLineRoundTrip, ClientReadsBackEveryField) {
  const SeatLine& s = GetParam().seat;
  const Built built = PlayerLine(s);
  ASSERT_TRUE(built.ok()) << built.error;
  ASSERT_EQ(built.line.back(), '$');
  const auto parsed = ParseCommandLine(TrimBlanks(built.line));
  ASSERT_TRUE(parsed.line.has_value());
  const CommandLine& c = *parsed.line;
  EXPECT_FALSE(c.Spectating);
  EXPECT_EQ(c.FieldsPresent, 13);
  EXPECT_EQ(c.UserName, s.account);
  EXPECT_EQ(c.Password, s.password);
  EXPECT_EQ(c.ServerHost, s.host);
  EXPECT_EQ(c.ServerPort, s.port);
  EXPECT_EQ(c.RoomName, s.room);
  EXPECT_EQ(c.ProxyKind, s.proxy.Enabled() ? 5 : 0);
  if (s.proxy.Enabled()) {
    EXPECT_EQ(c.ProxyHost, s.proxy.host);
    EXPECT_EQ(c.ProxyPort, s.proxy.port);
    EXPECT_EQ(c.ProxyUser, s.proxy.user);
    EXPECT_EQ(c.ProxyPassword, s.proxy.password);
  }
  EXPECT_EQ(c.RobotMode, s.robot);
  if (s.robot) {
    EXPECT_EQ(c.HallCaption, s.hallCaption);
    EXPECT_EQ(c.RobotCaption, s.tableCaption);
  }
}

SeatLine With(void (*change)(SeatLine&)) {
  SeatLine s = Player();
  change(s);
  return s;
}

INSTANTIATE_TEST_SUITE_P(Lines, PlayerLineRoundTrip,
                         testing::Values(RoundTrip{"Direct", Player()},
                                         RoundTrip{"EmptyPasswordHighPort", With([](SeatLine& s) {
                                                     s.password.clear();
                                                     s.port = 65000;
                                                   })},
                                         RoundTrip{"Proxy", With([](SeatLine& s) {
                                                     s.proxy = {"127.0.0.1", 1080, "u", "p w"};
                                                   })},
                                         RoundTrip{"Robot", With([](SeatLine& s) {
                                                     s.account = "robot7";
                                                     s.robot = true;
                                                     s.hallCaption = "tallow-robot-hall-7";
                                                     s.tableCaption = "tallow-robot-7";
                                                   })},
                                         RoundTrip{"LongChineseRoom", With([](SeatLine& s) {
                                                     s.room = RoomName(1234);
                                                   })}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(PlayerLine, DirectLineHasThirteenFieldsEachClosedBySeparator) {
  EXPECT_EQ(PlayerLine(Player()).line, "alice$pw$127.0.0.1$7000$松竹厅 1号桌$0$$0$$$0$$$");
}

TEST(SpectatorLine, ClientReadsWatchedUserId) {
  const Built built = SpectatorLine(Player(), 10003);
  ASSERT_TRUE(built.ok()) << built.error;
  EXPECT_EQ(built.line, "alice$pw$127.0.0.1$7000$松竹厅 1号桌$10003");
  const auto parsed = ParseCommandLine(TrimBlanks(built.line));
  ASSERT_TRUE(parsed.line.has_value());
  EXPECT_TRUE(parsed.line->Spectating);
  EXPECT_EQ(parsed.line->WatchedUserId, 10003);
  EXPECT_EQ(parsed.line->UserName, "alice");
  EXPECT_EQ(parsed.line->ProxyKind, 0);
  EXPECT_FALSE(parsed.line->RobotMode);
}

struct Refusal {
  const char* name;
  SeatLine seat;
};

class PlayerLineRefuses : public testing::TestWithParam<Refusal> {};

// A field that would shift the client's fields, break a seating command or a directory name,
// or cannot be sent one byte per character, is refused before anything starts.
TEST_P(PlayerLineRefuses, WithAReason) {
  const Built built = PlayerLine(GetParam().seat);
  EXPECT_FALSE(built.ok());
  EXPECT_TRUE(built.line.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Fields, PlayerLineRefuses,
    testing::Values(
        Refusal{"EmptyAccount", With([](SeatLine& s) { s.account.clear(); })},
        Refusal{"AccountWithBlank", With([](SeatLine& s) { s.account = "al ice"; })},
        Refusal{"AccountWithSeparator", With([](SeatLine& s) { s.account = "al$ice"; })},
        Refusal{"AccountWithNewline", With([](SeatLine& s) { s.account = "a\nseat b 0 0"; })},
        Refusal{"AccountWithSlash", With([](SeatLine& s) { s.account = "../x"; })},
        Refusal{"AccountDotDot", With([](SeatLine& s) { s.account = ".."; })},
        Refusal{"AccountTooLong", With([](SeatLine& s) { s.account = std::string(17, 'a'); })},
        Refusal{"AccountNotAscii", With([](SeatLine& s) { s.account = "张三"; })},
        Refusal{"PasswordWithSeparator", With([](SeatLine& s) { s.password = "a$b"; })},
        Refusal{"PasswordNotAscii", With([](SeatLine& s) { s.password = "密码"; })},
        Refusal{"RoomWithSeparator", With([](SeatLine& s) { s.room = "a$b"; })},
        Refusal{"EmptyHost", With([](SeatLine& s) { s.host.clear(); })},
        Refusal{"PortZero", With([](SeatLine& s) { s.port = 0; })},
        Refusal{"PortTooHigh", With([](SeatLine& s) { s.port = 65536; })},
        Refusal{"ProxyToHostName", With([](SeatLine& s) {
                  s.host = "localhost";
                  s.proxy.host = "127.0.0.1";
                })},
        Refusal{"ProxyUserWithSeparator", With([](SeatLine& s) {
                  s.proxy.host = "127.0.0.1";
                  s.proxy.user = "a$";
                })},
        Refusal{"RobotWithoutCaptions", With([](SeatLine& s) { s.robot = true; })}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(SpectatorLine, RefusesMissingUserIdAndBadAccount) {
  EXPECT_FALSE(SpectatorLine(Player(), 0).ok());
  EXPECT_FALSE(SpectatorLine(With([](SeatLine& s) { s.account = "a b"; }), 10001).ok());
}

}  // namespace
}  // namespace tallow::hall
