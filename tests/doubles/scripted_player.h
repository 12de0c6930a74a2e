// A player at a whole table in a test: it answers its client's operation offers and discards
// through the client's own controls (the claim buttons, the chow and kong choosers, the hand's
// tile sprites, the table picture and the 继续 button), the way a person at the table would.
// Its choices are drawn from a seeded generator, weighted so that every kind of claim comes up
// over a few hundred hands.
#pragma once

#include <cstdint>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "doubles/table_harness.h"

namespace tallow::testing {

class ScriptedPlayer {
 public:
  // How often the player takes what it is offered (0 never, 1 always).
  struct Habits {
    double win = 0.9;
    double kong = 0.85;
    double pung = 0.7;
    double chow = 0.6;
    // When it passes: how often by a right click on the table instead of the 过 button, and,
    // on its own turn, how often it simply throws a tile (which declines the offer as well).
    double rightClick = 0.2;
    double throwAtOnce = 0.4;
  };

  ScriptedPlayer(TableHarness& table, int seat, std::uint64_t seed, Habits habits);

  // The client has handled a record (from the harness's check).
  void Handled(const SeatView& view);
  // One step of virtual time has passed: act if something is due.
  void Step();

  // What the player did, by name ("pass button", "chow chooser 2 of 3", ...).
  std::map<std::string, int> did;
  // Clicks on controls that were not there to click (hidden or disabled), by description.
  std::vector<std::string> badClicks;

 private:
  Client& C() { return *table_.seats[static_cast<std::size_t>(seat_)]->client; }
  bool Chance(double p) { return std::uniform_real_distribution<double>(0, 1)(rng_) < p; }
  int Pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng_); }
  void Wait(int fromMs, int toMs);
  void Click(ui::Control& control, const std::string& what);
  void ClickButton(int b, const std::string& what);
  bool AnswerOffer();
  bool UseChooser();
  void ThrowTile();
  std::vector<bool> KongOptions();
  bool KongChoiceValid(int j);
  std::vector<bool> ChowOptions();
  int ChooseDiscard();

  TableHarness& table_;
  int seat_;
  std::mt19937_64 rng_;
  Habits habits_;
  std::int64_t actAt_ = 0;
};

}  // namespace tallow::testing
