#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <set>

#include "hall_options.h"
#include "notifications.h"
#include "platform/platform.h"

namespace tallow::hall {
namespace {

TEST(HallOptions, ReadsEveryOption) {
  const auto p = ParseHallOptions(
      {"--caption",    "X",       "--host",       "10.0.0.1", "--port",           "40000",
       "--account",    "bob",     "--password",   "pw",       "--proxy-host",     "127.0.0.1",
       "--proxy-port", "1081",    "--proxy-user", "u",        "--proxy-password", "v",
       "--table",      "2",       "--seat",       "3",        "--robots",         "2",
       "--sit",        "--watch", "amy",          "--client", "/bin/tallow",      "--data",
       "/d",           "--grab",  "/g.png"});
  ASSERT_EQ(p.error, "");
  const HallOptions& o = p.options;
  EXPECT_EQ(o.caption, "X");
  EXPECT_EQ(o.host, "10.0.0.1");
  EXPECT_EQ(o.port, 40000);
  EXPECT_EQ(o.SeatingPort(), 40001);
  EXPECT_EQ(o.account, "bob");
  EXPECT_EQ(o.password, "pw");
  EXPECT_EQ(o.proxy.host, "127.0.0.1");
  EXPECT_EQ(o.proxy.port, 1081);
  EXPECT_EQ(o.proxy.user, "u");
  EXPECT_EQ(o.proxy.password, "v");
  EXPECT_EQ(o.table, 2);
  EXPECT_EQ(o.seat, 3);
  EXPECT_EQ(o.robots, 2);
  EXPECT_TRUE(o.sit);
  EXPECT_EQ(o.watch, "amy");
  EXPECT_EQ(o.client, "/bin/tallow");
  EXPECT_EQ(o.data, "/d");
  EXPECT_EQ(o.grab, "/g.png");
  EXPECT_EQ(ParseHallOptions({"--port", "7000", "--seat-port", "9"}).options.SeatingPort(), 9);
  EXPECT_EQ(ParseHallOptions({}).options.caption, "锦程山庄");
}

TEST(HallOptions, RefusesWhatCannotBeRight) {
  for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
           {"--seat", "4"},
           {"--seat", "-1"},
           {"--robots", "4"},
           {"--port", "0"},
           {"--port", "65536"},
           {"--port", "70x"},
           {"--table", ""},
           {"--account"},
           {"--bogus"},
           {"--caption", ""},
       }) {
    EXPECT_NE(ParseHallOptions(args).error, "") << args[0];
  }
  EXPECT_TRUE(ParseHallOptions({"--sit", "--help"}).help);
}

TEST(Notifications, EachClientNotificationHasItsOwnLineNamedByItsNumber) {
  using namespace platform::wm;
  std::set<std::string> seen;
  for (std::uint32_t msg :
       {kConnect, kLeaveQuestion, kLeaveNow, kHandStarted, kGameRunning, kLoginPending}) {
    const std::string text = NotificationText(msg);
    char number[16];
    std::snprintf(number, sizeof number, "0x%x ", msg);
    EXPECT_EQ(text.rfind(number, 0), 0u) << text;
    EXPECT_EQ(text.find("unknown"), std::string::npos) << text;
    EXPECT_TRUE(seen.insert(text.substr(std::strlen(number))).second) << text;
  }
  EXPECT_NE(NotificationText(0x1234).find("unknown"), std::string::npos);
  EXPECT_NE(RequestText(kLeaveQuestion, std::nullopt).find("no answer"), std::string::npos);
  EXPECT_NE(RequestText(kConnect, 0).find("answered 0"), std::string::npos);
}

}  // namespace
}  // namespace tallow::hall
