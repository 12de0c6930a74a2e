// The picture-id tables: which picture resource each slot of the table window shows.
#pragma once

#include <string>

#include "platform/checked_array.h"

namespace tallow {

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

}  // namespace tallow
