// Table sounds, the players' voices and the sound settings window.
#include "sound/sound.h"

#include <gtest/gtest.h>

#include <functional>
#include <set>

#include "forms/vos_set.h"
#include "play_support.h"
#include "shell/toolbar.h"
#include "sound/voices.h"

namespace tallow::testing {
namespace {

// What the client asked the sound device to play since the last call, each path relative to
// the "common" folder beside the application directory.
std::vector<std::string> TakePlayed(ClientHarness& h) {
  const std::string base = h.p.process.appPath + "/../common/";
  std::vector<std::string> out;
  for (const auto& p : h.p.sound.played) {
    out.push_back(p.path.starts_with(base) ? p.path.substr(base.size()) : p.path);
  }
  h.p.sound.played.clear();
  return out;
}

void GiveVoice(Client& c, int rel, int gender, std::string set, std::string number) {
  auto& p = c.players.PlayerInfo(rel);
  p.Gender = static_cast<std::uint8_t>(gender);
  p.VoiceSet = std::move(set);
  p.VoiceNumber = std::move(number);
  p.VoiceCode = gender != 0 ? 3 : 2;
}

TEST(Sound, StartUpStartsTheTableLoopOrStaysSilentWithoutADevice) {
  for (const bool device : {true, false}) {
    SCOPED_TRACE(device);
    ClientHarness h;
    h.p.sound.device = device;
    ASSERT_FALSE(h.Start());
    const auto& s = h.c().sound;
    EXPECT_EQ(s.SoundOn, device);
    EXPECT_TRUE(s.MusicOn);
    EXPECT_TRUE(s.SystemSoundOn);
    EXPECT_EQ(s.VoiceDir, h.p.process.appPath + "/../common/mj/");
    if (device) {
      ASSERT_EQ(h.p.sound.played.size(), 1u);
      EXPECT_TRUE(h.p.sound.played[0].loop);
      EXPECT_EQ(h.p.sound.volume, 0);  // full volume
    }
    EXPECT_EQ(TakePlayed(h),
              device ? std::vector<std::string>{"music/majiang.wav"} : std::vector<std::string>{});
  }
}

// Every table event that sounds, with what it plays while sounds are on; with sounds off each
// is silent, and a voice phrase plays all the same.
TEST(Sound, TableEventsPlayTheirFilesOnlyWhileSoundsAreOn) {
  const std::vector<int> local = {0x81, 0x82, 0x83, 0x41, 0x41, 0x44, 0x45,
                                  0x46, 0x23, 0x24, 0x11, 0x11, 0x17, 0x29};
  struct Event {
    const char* what;
    std::function<void(PlayTable&)> run;
    std::vector<std::string> played;
  };
  const std::vector<Event> events = {
      {"a deal",
       [](PlayTable& t) {
         t.Feed(1, 1, {0, 0, 0, 0});
       },
       {"music/qupai.wav"}},
      {"a woman of set 00 number 20 discards the dots 5",
       [](PlayTable& t) {
         t.Draw(2);
         t.Discard(2, 0x85);
       },
       {"music/dapai.wav", "mj/v00200245.wav"}},
      {"a man of set 27 number 30 discards the seventh honour",
       [](PlayTable& t) {
         t.Draw(1);
         t.Discard(1, 0x17);
       },
       {"music/dapai.wav", "mj/v27301317.wav"}},
      {"another seat pungs",
       [](PlayTable& t) {
         t.Draw(1);
         t.Discard(1, 0x85);
         t.Result(3, 8, 0x85, 0x85, 0x85);
       },
       {"music/dapai.wav", "mj/v27301345.wav", "music/dapai.wav", "mj/v00101302.wav"}},
      {"a lone 中 laid down is not announced",
       [](PlayTable& t) {
         t.Draw(1, 0);
         t.Result(1, 64, 0, 0, 0x15);
       },
       {"music/dapai.wav"}},
      {"a voice set from the server that is a path names no file",
       [](PlayTable& t) {
         t.c().players.PlayerInfo(2).VoiceSet = "/../..";
         t.Draw(2);
         t.Discard(2, 0x85);
       },
       {"music/dapai.wav"}},
      {"the turn timer's last seconds",
       [](PlayTable& t) {
         t.Offer(1 + 8);
         t.h.Ticks(20 * 3);
       },
       {"music/tishi.wav"}},
  };
  for (const bool soundOn : {true, false}) {
    for (const auto& e : events) {
      SCOPED_TRACE(std::string(e.what) + (soundOn ? "" : ", sounds off"));
      PlayTable t;
      t.Deal(local);
      t.Feed(2, 0, {0, 0, 0, 0x29});  // the local dealer's discard
      GiveVoice(t.c(), 1, 1, "27", "30");
      GiveVoice(t.c(), 2, 0, "00", "20");
      GiveVoice(t.c(), 3, 1, "00", "10");
      t.c().sound.SoundOn = soundOn;
      TakePlayed(t.h);
      e.run(t);
      EXPECT_EQ(TakePlayed(t.h), soundOn ? e.played : std::vector<std::string>{});
    }
  }
  PlayTable t;
  GiveVoice(t.c(), 2, 0, "00", "20");
  t.c().sound.SoundOn = false;
  TakePlayed(t.h);
  const int stops = t.h.p.sound.stops;
  PlayVoicePhrase(t.c(), 2, "a3.wav");
  EXPECT_EQ(TakePlayed(t.h), std::vector<std::string>{"mj/v002002a3.wav"});
  EXPECT_EQ(t.h.p.sound.stops, stops + 1);
}

TEST(Voices, NoTwoPlayersOfOneGenderShareASlot) {
  const std::set<std::string> female = {"10", "20", "30"}, male = {"10", "30"};
  const std::array<std::array<int, 4>, 4> tables = {
      {{0, 0, 0, 0}, {1, 1, 1, 1}, {0, 1, 0, 1}, {1, 0, 2, 0}}};
  for (const auto& genders : tables) {
    for (unsigned seed = 0; seed < 200; ++seed) {
      ClientHarness h;
      h.p.clock.Seed(seed);
      Client& c = h.c();
      for (int i = 0; i <= 3; ++i) {
        GiveVoice(c, i, genders[static_cast<std::size_t>(i)], "x", "y");
        c.players.PlayerInfo(i).VoiceCode = 0;
      }
      DrawVoices(c);
      int women = 0, men = 0;
      for (int i = 0; i <= 3; ++i) {
        const auto& p = c.players.PlayerInfo(i);
        SCOPED_TRACE("seed " + std::to_string(seed) + " position " + std::to_string(i));
        EXPECT_EQ(c.sound.SavedVoiceNumber(i), p.VoiceNumber);
        EXPECT_EQ(p.VoiceCode, p.Gender != 0 ? 3 : 2);
        if (p.Gender == 0) {
          ++women;
          EXPECT_TRUE(female.contains(p.VoiceNumber));
        } else if (p.Gender == 1) {
          ++men;
          EXPECT_TRUE(male.contains(p.VoiceNumber));
        } else {
          EXPECT_EQ(p.VoiceSet + p.VoiceNumber, "xy");  // another gender keeps its voice
          continue;
        }
        EXPECT_EQ(p.VoiceSet, "00");
      }
      int usedWomen = 0, usedMen = 0;
      for (int k = 0; k <= 5; ++k) {
        usedWomen += c.sound.FemaleVoiceUsed(k) ? 1 : 0;
        usedMen += c.sound.MaleVoiceUsed(k) ? 1 : 0;
      }
      EXPECT_EQ(usedWomen, women) << "seed " << seed;
      EXPECT_EQ(usedMen, men) << "seed " << seed;
    }
  }
}

// The settings window: clicks on the option buttons, then 确定 (0) or 取消 (1).
TEST(SoundSettings, OptionsActAtOnceAndCancelUndoesWhatWasToggled) {
  struct Case {
    std::vector<int> clicks;
    int close;
    bool music, system, sound;
    const char* set;
  };
  const Case cases[] = {
      {{3}, 1, true, true, true, "00"},       {{3, 3}, 1, true, true, true, "27"},
      {{3}, 0, true, true, true, "27"},       {{0, 1, 2}, 0, false, false, false, "00"},
      {{0, 1, 2}, 1, true, true, true, "00"}, {{2, 2, 1, 0}, 1, true, true, true, "00"},
      {{2, 0, 0}, 1, true, true, true, "00"},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(::testing::PrintToString(k.clicks) + (k.close == 0 ? " 确定" : " 取消"));
    ClientHarness h;
    ASSERT_FALSE(h.Start());
    Client& c = h.c();
    for (int i = 0; i <= 3; ++i) GiveVoice(c, i, i % 2, "00", "10");
    c.sound.SavedVoiceNumber.Fill("10");
    ToolbarClick(c, 3);
    auto& form = c.forms.VosSet;
    ASSERT_TRUE(form.Visible);
    for (int i : k.clicks) VosOptionClick(c, i);
    VosCloseClick(c, k.close);
    EXPECT_FALSE(form.Visible);
    EXPECT_EQ(c.sound.MusicOn, k.music);
    EXPECT_EQ(c.sound.SystemSoundOn, k.system);
    EXPECT_EQ(c.sound.SoundOn, k.sound);
    const bool on[3] = {k.music, k.system, k.sound};
    for (int i = 0; i <= 2; ++i) EXPECT_EQ(form.Command2(i).picture.id, on[i] ? 134 : 135) << i;
    EXPECT_EQ(form.Command2(3).picture.id, 136);
    for (int i = 0; i <= 3; ++i) EXPECT_EQ(c.players.PlayerInfo(i).VoiceSet, k.set) << i;
    // A later cancel has nothing left to undo.
    ToolbarClick(c, 3);
    VosCloseClick(c, 1);
    EXPECT_EQ(c.sound.MusicOn, k.music);
    EXPECT_EQ(c.players.PlayerInfo(0).VoiceSet, k.set);
  }
}

TEST(SoundSettings, TheMusicButtonStopsAnySoundAndRestartsTheLoop) {
  PlayTable t;
  Client& c = t.c();
  t.Feed(1, 1, {0, 0, 0, 0});
  TakePlayed(t.h);
  const int stops = t.h.p.sound.stops;
  VosOptionClick(c, 0);  // off: the deal sound stops too
  EXPECT_EQ(t.h.p.sound.stops, stops + 1);
  EXPECT_TRUE(TakePlayed(t.h).empty());
  c.sound.SoundOn = false;
  VosOptionClick(c, 0);  // on: the loop from its start, whatever SoundOn says
  ASSERT_EQ(t.h.p.sound.played.size(), 1u);
  EXPECT_TRUE(t.h.p.sound.played[0].loop);
  EXPECT_EQ(TakePlayed(t.h), std::vector<std::string>{"music/majiang.wav"});
}

}  // namespace
}  // namespace tallow::testing
