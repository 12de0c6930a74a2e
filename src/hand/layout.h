// Table layout, the picture-id tables and picture loading.
#pragma once

#include <string>

#include "platform/checked_array.h"
#include "platform/controls.h"

namespace tallow {

class Client;

// The twelve tables that map a slot to a picture resource id, kept as decimal text.
struct ImageTables {
  CheckedArray<std::string, 0, 19> ButtonImageIds;
  CheckedArray<std::string, 0, 2> NoticeImageIds;
  CheckedArray<std::string, 0, 3> CompassImageIds;
  CheckedArray<std::string, 0, 7> DialogButtonImageIds;
  CheckedArray<std::string, 0, 17> OperationImageIds;
  CheckedArray<std::string, 0, 15> DiceImageIds;
  CheckedArray<std::string, 0, 7> BannerImageIds;
  CheckedArray<std::string, 0, 19> AvatarImageIds;
  CheckedArray<std::string, 0, 179> TileImageIds;
  CheckedArray<std::string, 0, 3> CoverButtonImageIds;
  CheckedArray<std::string, 0, 2> CoverBubbleIds;
  CheckedArray<std::string, 0, 2> FollowBubbleIds;
};

// Toolbar state cleared by the layout.
struct ToolbarState {
  CheckedArray<short, 0, 8> ButtonHover;
  CheckedArray<short, 0, 8> ToolbarLock;
  short HoverButton = -1;  // the button whose highlight was shown last
};

void LoadImageTables(Client& c);
void LayoutSeatsAndToolbar(Client& c);
void LayoutPlayerLabels(Client& c);
void LayoutPlayArea(Client& c);

// A table slot's id as a 16-bit integer.
short ImageId(const std::string& slot);
// Loads the picture of a resource id into the image; a missing picture leaves it unchanged.
bool LoadResourcePicture(Client& c, ui::Image& image, int id);
// Gives sprite its tile picture; out-of-range sprites and picture indexes are ignored.
void SetTileSprite(Client& c, short sprite, short pictureIndex);

// A scaled pixel value stored in a 16-bit integer: rounded, halves to the even neighbour.
short ScaledInt(double value, double scale);

}  // namespace tallow
