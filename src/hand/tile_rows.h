// Where the tiles of each seat lie: tile sizes, hand rows, set rows, one-tile kongs, and the
// hand sort with its re-picturing.
#pragma once

namespace tallow {

class Client;

// The size tables the handlers switch between before they move sprites.
enum class TileSizes { Hand, Pool, Set };

// Sets TileWidth/TileHeight of all four seats from one size table, scaled.
void SetTileSizes(Client& c, TileSizes sizes);
// Sets only the local seat's tile size from one size table, scaled.
void SetLocalTileSize(Client& c, TileSizes sizes);

struct Spot {
  double left = 0, top = 0;
};

// Position of the concealed entry mj(k) of seat rel in its hand row (hand sizes).
Spot HandTileSpot(const Client& c, int rel, int k);
// Position of the exposed entry mj(k) of seat rel in its set row (set sizes). The rows run
// along the same direction as the hand and end before the hand's first concealed tile.
Spot SetTileSpot(const Client& c, int rel, int k);
// Position of the fourth tile of a kong whose middle tile is the set entry mj(k) of seat rel:
// lifted onto it. The side rows overlap by all but a strip of each tile, so there the lift is
// small enough to leave the strips of both neighbours in sight.
Spot KongTopSpot(const Client& c, int rel, int k);
// Position of the n-th red-dragon (red = true) or wild-tile one-tile kong of seat rel.
Spot OneTileKongSpot(const Client& c, int rel, bool red, int n);

// Moves and sizes a sprite to the seat's current tile size; out-of-range sprites are ignored.
void PlaceSprite(Client& c, int sprite, int rel, Spot at);
// Stacking of a sprite placed in a hand row or a set row of seat rel.
void StackHandTile(Client& c, int sprite, int rel);
void StackSetTile(Client& c, int sprite, int rel);

// A tile of seat rel's set row at mj index k, shown with the given picture (set sizes).
void ShowSetTile(Client& c, int rel, int k, int sprite, int picture);
// The fourth tile of a kong, face up or down as pictured, on the middle tile of the set at mj
// index k.
void ShowKongTop(Client& c, int rel, int k, int sprite, int picture);
// Lays a 中 (red) or wild tile face up beside seat rel's hand as the seat's next one-tile kong
// of that kind and counts it; false, and nothing shown, when the seat shows four of them.
bool ShowLoneKongTile(Client& c, int rel, int sprite, int code);

// Sets the hand tile sizes and re-places every concealed sprite of seat rel at its slot.
void LayHandRow(Client& c, int rel);

// Picture of a concealed tile of seat rel: the local upright face, a known tile's face in the
// seat's group, or the seat's standing tile back.
int HandTilePicture(int rel, int code);
// Picture of a tile lying face up in front of seat rel.
int TableTilePicture(int rel, int code);

// Sorts the first `count` concealed tiles of seat `seat` and re-pictures their sprites.
void SortHand(Client& c, int seat, int count);

}  // namespace tallow
