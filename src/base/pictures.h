// Picture ids, picture loading and the scaled pixel values of the layout.
#pragma once

#include <string>

#include "platform/controls.h"

namespace tallow {

class Client;

// Fills the picture-id tables for the full or the small layout (ScaleX).
void LoadImageTables(Client& c);

// A table slot's id as a 16-bit integer.
short ImageId(const std::string& slot);
// Loads the picture of a resource id into the image; a missing picture leaves it unchanged.
bool LoadResourcePicture(Client& c, ui::Image& image, int id);
// Gives sprite its tile picture; out-of-range sprites and picture indexes are ignored.
void SetTileSprite(Client& c, short sprite, short pictureIndex);

// The hand's wild tile in the 混儿 frame: JK_Image shows its large upright face (group 4). A
// value that names no tile (none yet, or not a tile code) leaves the frame empty.
void ShowWildTile(Client& c);

// A scaled pixel value stored in a 16-bit integer: rounded, halves to the even neighbour.
short ScaledInt(double value, double scale);

}  // namespace tallow
