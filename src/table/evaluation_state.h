// The working tables of the hand evaluation and the result of its claim judgement.
#pragma once

#include "platform/checked_array.h"

namespace tallow {

struct HandEvaluation {
  // By suit index (0 honours, 1 bamboo, 2 characters, 3 dots) and rank. Ranks 1..9 take part
  // in the scoring; the rest of the low nibble is room for odd codes, never read back.
  using KindTable = CheckedArray<CheckedArray<short, 0, 15>, 0, 3>;
  KindTable KindCount;     // tiles of a kind still unassigned during an evaluation
  KindTable SetTileCount;  // tiles of a kind placed in extracted sets
  KindTable KindScore;     // working score of a kind within one extraction pass
  // Result of ShouldClaim. Chow: mj indexes of the two hand tiles (or their codes when a code
  // matched no concealed entry). Pung: the code of the claimed tile, and 0.
  short ClaimFirst = 0;
  short ClaimSecond = 0;
};

}  // namespace tallow
