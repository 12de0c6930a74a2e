// The player card Information, shown while the pointer rests on a portrait.
#pragma once

namespace tallow {

class Client;

// The card of the player at relative position i, placed by the portrait; nothing while the
// card is up or the seat has no player.
void ShowPlayerCard(Client& c, int i);
// The pointer moved over the table picture: the card goes.
void HidePlayerCard(Client& c);

}  // namespace tallow
