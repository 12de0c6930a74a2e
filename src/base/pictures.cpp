#include "base/pictures.h"

#include <charconv>
#include <cmath>
#include <stdexcept>

#include "base/tiles.h"
#include "session/client.h"

namespace tallow {
namespace {

std::string Id(int id) {
  return std::to_string(id);
}

}  // namespace

short ScaledInt(double value, double scale) {
  return CheckedInt16(static_cast<long>(std::nearbyint(value * scale)));
}

short ImageId(const std::string& slot) {
  // Image ids are plain decimal numbers, read without the cost of stoi; anything else takes
  // stoi's path, which accepts and refuses exactly as before.
  int plain = 0;
  const char* end = slot.data() + slot.size();
  if (const auto [at, ec] = std::from_chars(slot.data(), end, plain);
      ec == std::errc() && at == end && !slot.empty()) {
    return CheckedInt16(plain);
  }
  try {
    std::size_t used = 0;
    const int v = std::stoi(slot, &used);
    if (used != slot.size()) throw RuntimeFailure("image id is not a number");
    return CheckedInt16(v);
  } catch (const std::logic_error&) {
    throw RuntimeFailure("image id is not a number");
  }
}

bool LoadResourcePicture(Client& c, ui::Image& image, int id) {
  if (!c.platform.resources.HasPicture(id)) return false;
  image.picture = ui::Picture{id, {}};
  return true;
}

void SetTileSprite(Client& c, short sprite, short pictureIndex) {
  if (sprite >= 120 || pictureIndex >= 180) return;
  if (sprite < 0 || pictureIndex < 0) return;  // nothing to show; never an index fault
  auto& image = c.mainForm.MJ_Image(sprite);
  // The sprite is shown with its new picture; a picture that cannot be loaded changes nothing.
  if (LoadResourcePicture(c, image, ImageId(c.images.TileImageIds(pictureIndex)))) {
    image.Visible = true;
  }
}

void ShowWildTile(Client& c) {
  auto& image = c.mainForm.JK_Image;
  const int code = c.table.WildTile;
  const int suit = tile::Suit(code), rank = tile::Rank(code);
  const bool oneSuit = suit == 1 || suit == 2 || suit == 4 || suit == 8;
  const bool isTile =
      code > 0 && code <= 0xFF && oneSuit && rank >= 1 && rank <= (suit == 1 ? 7 : 9);
  image.Visible =
      isTile &&
      LoadResourcePicture(c, image, ImageId(c.images.TileImageIds(TilePictureIndex(4, code))));
}

void LoadImageTables(Client& c) {
  auto& t = c.images;
  const bool full = c.layout.ScaleX == 1.0;
  for (int i = 0; i <= 19; ++i) t.ButtonImageIds(i) = Id(full || i < 2 ? 101 + i : 379 + i);
  for (int i = 0; i <= 2; ++i) t.NoticeImageIds(i) = Id(123 + i);
  for (int i = 0; i <= 3; ++i) t.CompassImageIds(i) = Id(126 + i);
  for (int i = 0; i <= 7; ++i) t.DialogButtonImageIds(i) = Id(130 + i);
  for (int i = 0; i <= 17; ++i) t.OperationImageIds(i) = Id(141 + i);
  for (int i = 0; i <= 15; ++i) t.DiceImageIds(i) = Id(161 + i);
  for (int i = 0; i <= 7; ++i) t.BannerImageIds(i) = Id(183 + i);
  for (int i = 0; i <= 19; ++i) t.AvatarImageIds(i) = Id(i < 10 ? 191 + i : 391 + i);
  for (int group = 0; group <= 4; ++group) {
    for (int suit = 0; suit <= 3; ++suit) {
      for (int rank = 1; rank <= 9; ++rank) {
        const int index = 36 * group + 9 * suit + rank - 1;
        t.TileImageIds(index) = Id(201 + index);
      }
    }
  }
  for (int i = 0; i <= 3; ++i) t.CoverButtonImageIds(i) = Id(411 + i);
  for (int i = 0; i <= 2; ++i) t.CoverBubbleIds(i) = Id(415 + i);
  for (int i = 0; i <= 2; ++i) t.FollowBubbleIds(i) = Id(418 + i);
}

}  // namespace tallow
