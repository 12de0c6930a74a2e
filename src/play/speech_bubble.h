// Speech bubbles beside the seats: the 跟庄 bubble and the operation banners.
#pragma once

#include "protocol/record.h"

namespace tallow {

class Client;

// The 跟庄 bubble of seat rel (1..3).
void ShowFollowBubble(Client& c, int rel);
// The speech bubble of seat rel (1..3) beside its portrait with the banner picture
// BannerImageIds(banner) laid over it.
void ShowOperationBanner(Client& c, int rel, int banner);
// Scheduler slot 9: hides the bubble shown last, and the banner, two seconds after it appeared.
void HideSpeechBubble(Client& c);

}  // namespace tallow
