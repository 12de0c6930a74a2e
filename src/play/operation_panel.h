// The operation panel: the five claim buttons 吃 碰 杠 胡 过, the chow and kong choosers, and
// the senders of the local player's answers. Auto-play uses the same senders.
#pragma once

namespace tallow {

class Client;

// Button b (0 吃, 1 碰, 2 杠, 3 胡, 4 过) clicked.
void OperationClick(Client& c, int b);
// Chow chooser tile j clicked; kong chooser tile j clicked.
void ChiClick(Client& c, int j);
void GangClick(Client& c, int j);

// What the 吃 and 杠 buttons run: search, then send at once or show the chooser.
void ChooseChow(Client& c, int tile);
void ChooseKong(Client& c);

// Senders. i and j are indices into the local seat's mj entries. Every sender but SendWin
// sets ActionSent; the set entries are written before the server confirms the set.
void SendChow(Client& c, int i, int j);
void SendPung(Client& c, int tile);
void SendExposedKong(Client& c, int i);
void SendConcealedKong(Client& c, int i);
void SendOneTileKong(Client& c, int i);
void SendWin(Client& c);
void SendPass(Client& c);
// The Discard message for a tile (ActionSent is the caller's business).
void SendDiscard(Client& c, int tile);

// Gives the five buttons their normal pictures and disables them.
void ResetOperationButtons(Client& c);
// Buttons disabled, hidden and normal; both choosers disabled and hidden.
void ClosePanel(Client& c);

}  // namespace tallow
