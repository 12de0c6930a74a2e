// The local hand under the mouse: lifting a tile on hover, discarding by click, declining an
// offer with the right button, and looking at hidden tiles after a win.
#pragma once

namespace tallow {

class Client;

void TileMouseMove(Client& c, int sprite);
// The pointer moved over the table picture at (x, y): a lifted hand tile drops back into the
// row unless the pointer is on it or in the strip it left below it.
void DropLiftedTile(Client& c, double x, double y);
void TileMouseDown(Client& c, int sprite, int button);
// Pic1_MouseUp / Pic2_MouseUp.
void TableMouseUp(Client& c, int button);
// Pic1_Click: hides the floating windows over the table.
void TableClick(Client& c);
// Declines an open offer as a right click on the table does.
void DeclineOffer(Client& c);

}  // namespace tallow
