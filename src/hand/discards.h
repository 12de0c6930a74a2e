// The discard pools: pooling a discard with the row rules, the right pool's restacking, the
// blink of a freshly pooled discard, and the middle of the table where a discard is shown.
#pragma once

#include "protocol/record.h"

namespace tallow {

class Client;

// Moves the sprite into the pool of seat rel at that seat's cursor, with the pool tile size,
// and advances the cursor (eight tiles a row). The position used goes to LastPoolX/LastPoolY.
void PoolSprite(Client& c, int rel, int sprite);
// Brings the right pool's rows to the front so that the lowest index of each row ends on top.
void RestackRightPool(Client& c);
// Scheduler slot 3: one step of the blink of the last pooled discard.
void BlinkLastDiscard(Client& c);
// Shows a sprite, sized w x h, in the middle of the table picture.
void ShowInTableMiddle(Client& c, int sprite, double w, double h);

}  // namespace tallow
