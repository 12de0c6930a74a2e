// The faces of the tiles, drawn on an upright canvas of kFaceWidth x kFaceHeight units; the tile
// pictures map that canvas onto each tile's face, turned and foreshortened as the seat needs.
#pragma once

#include <QPainter>

namespace tallow::art {

inline constexpr double kFaceWidth = 40;
inline constexpr double kFaceHeight = 52;

// suit index: 0 honours (ranks 1..7: 東 南 西 北 中 發 白), 1 bamboo, 2 characters, 3 dots.
void DrawTileFace(QPainter& p, int suit, int rank);

}  // namespace tallow::art
