// A hand played to a chosen moment for the picture tool: the records a server would send are
// built here and fed through the client's own receive path, and the local player's clicks go
// to the client's own input handlers. Nothing here draws; the client does.
#pragma once

#include <optional>
#include <string>

namespace tallow {
class Client;
namespace ui {
class Form;
}
}  // namespace tallow

namespace tallow::picture {

enum class Stage {
  Empty,        // the table after start-up
  Wall,         // the whole wall built
  Hand,         // a hand in play: sets on every side, pools of two rows, the wall partly drawn
  Offer,        // the local player is offered a chow that can be made three ways
  Claim,        // ... and has clicked 吃: the chooser is open
  Reveal,       // the hand won and every hand revealed
  Settlement,   // the settlement of that hand in the result window
  Settings,     // the hand in play with the sound settings open, the table loop switched off
  Chat,         // a hand in play with chat in the ticker and a private line being typed
  Talk,         // ... and the chat window open with its history
  Phrases,      // ... and the phrase window open with the text phrases
  Voices,       // ... and the phrase window open with the voice phrases
  Card,         // ... and the card of the opposite player under the pointer
  Toolbar,      // the hand in play with the pointer on 战绩: the button lit, its tooltip up
  Web,          // the hand in play with the web panel's page over the emblem
  ExitInHand,   // the hand in play with the exit confirmation open: with the warning
  ExitBetween,  // after the settlement, the result window closed, the exit confirmation open
  Notice,       // after the settlement a seat runs out of coins: the notice window
  Wild,         // the hand just dealt, its wild tile in the 混儿 frame
  // Another hand, rebuilt from the server's snapshots in the middle of play
  Watch,        // ... for a spectator of the local account's seat, which joins then
  WatchLater,   // ... and the same table a few discards, a chow and a 中 kong later
  Rejoin,       // ... for the local player himself, coming back after a break
  RejoinLater,  // ... and his table at the later moment
};

// Whether the stage is drawn by a spectator (its client starts with a spectator's line).
bool IsSpectatorStage(Stage stage);

std::optional<Stage> StageByName(const std::string& name);
// The stage names, separated by '|', for a usage line.
const char* StageNames();

// The seat whose name is on the command line sits at seat bit 1 and deals.
inline constexpr const char* kLocalAccount = "player";

// Plays the table of a started client (FormLoad done) up to the stage. The login names
// `webPage` for the web panel (at most 99 characters). A record the client refuses ends the
// process as it would at a real table.
void PlayTo(Client& c, Stage stage, const std::string& webPage = "");

// The small window that stands over the table in the stage's picture, or nullptr.
const ui::Form* WindowOver(const Client& c, Stage stage);

// The chat of a table in play: lines from every side, the local player's own and an
// announcement, a private line half typed, and the window the stage opens.
void PlayChat(Client& c, Stage stage);

}  // namespace tallow::picture
