// What a spectator keeps besides the table: whether its table is complete enough to draw.
#pragma once

namespace tallow {

struct SpectatorState {
  // True once the table is complete: after the fourth snapshot of a restore, or from the deal of
  // a hand the spectator saw start. Until then the spectator's turn handlers keep the seat
  // records and table globals up to date but draw nothing, show no banner and play no voice.
  short TableRestored = 0;
};

}  // namespace tallow
