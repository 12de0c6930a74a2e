// Operation offers, and which hand tiles an offered chow, pung or kong would use.
#pragma once

#include "protocol/record.h"

namespace tallow {

class Client;

// Message type 6: lights the offered buttons, notes a due discard, starts the turn timer.
void OnOperationOffer(Client& c, const protocol::Header& h);

// The claim buttons' normal and lit pictures: OperationImageIds(3b) and (3b + 1).
void SetOperationPicture(Client& c, int button, bool lit);

// Fills ChowOptions/ChowCount with the pairs of local hand indices that chow `tile`;
// sorts the local hand first.
void FindChowOptions(Client& c, int tile);
// Index of the first pair of `tile` in the local hand, or -1.
int FindPungPair(const Client& c, int tile);
// Fills KongOptions/KongCount/KongKind from OperationFlags and pictures the kong chooser.
void FindKongOptions(Client& c);

}  // namespace tallow
