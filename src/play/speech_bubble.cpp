#include "play/speech_bubble.h"

#include <string>

#include "base/pictures.h"
#include "session/client.h"

namespace tallow {
namespace {

// Picture sizes of the artwork, before scaling.
constexpr double kBubbleW = 180, kBubbleH = 110;
constexpr double kBannerW = 120, kBannerH = 72;
constexpr double kFollowW = 84, kFollowH = 56;

void StartBubbleTimer(Client& c, int index) {
  c.hand.BubbleIndex = static_cast<short>(index);
  c.scheduler.BubbleShown = true;
  c.scheduler.Enable(TickScheduler::kBubble);
}

}  // namespace

void ShowFollowBubble(Client& c, int rel) {
  if (rel < 1 || rel > 3) return;
  auto& f = c.mainForm;
  const double sx = c.layout.ScaleX, sy = c.layout.ScaleY;
  auto& bubble = f.tsSpeak(rel - 1);
  LoadResourcePicture(c, bubble, ImageId(c.images.FollowBubbleIds(rel - 1)));
  bubble.Stretch = true;
  bubble.Width = kFollowW * sx;
  bubble.Height = kFollowH * sy;
  if (rel == 1) {
    bubble.Move(8 * sx, 280 * sy);
  } else if (rel == 3) {
    bubble.Move(936 * sx, 280 * sy);
  } else {
    // The opposite seat's bubble goes beside the opposite seat's own portrait.
    const auto& tou = f.Tou(2);
    bubble.Move(tou.Left + 0.8 * tou.Width, tou.Top);
  }
  f.Speak(rel - 1).Visible = false;
  bubble.ZOrder(ui::ZPosition::Front);
  bubble.Visible = true;
  StartBubbleTimer(c, rel - 1);
}

void ShowOperationBanner(Client& c, int rel, int banner) {
  if (rel < 1 || rel > 3) return;
  auto& f = c.mainForm;
  const double sx = c.layout.ScaleX, sy = c.layout.ScaleY;
  const auto& tou = f.Tou(rel);
  auto& bubble = f.Speak(rel - 1);
  bubble.picture.name = "speak" + std::to_string(rel - 1);
  bubble.Stretch = true;
  bubble.Move(tou.Left + 0.8 * tou.Width, tou.Top, kBubbleW * sx, kBubbleH * sy);
  auto& words = f.Words;
  LoadResourcePicture(c, words, ImageId(c.images.BannerImageIds(banner)));
  words.Move(bubble.Left + 0.17 * bubble.Width, bubble.Top + (kBubbleH - kBannerH) / 2 * sy,
             kBannerW * sx, kBannerH * sy);
  bubble.Visible = true;
  words.Visible = true;
  bubble.ZOrder(ui::ZPosition::Front);
  words.ZOrder(ui::ZPosition::Front);
  StartBubbleTimer(c, rel - 1);
}

void HideSpeechBubble(Client& c) {
  auto& f = c.mainForm;
  const int i = c.hand.BubbleIndex;
  f.Speak(i).Visible = false;
  f.tsSpeak(i).Visible = false;
  f.Words.Visible = false;
  c.scheduler.BubbleShown = false;
  c.scheduler.Disable(TickScheduler::kBubble);
}

}  // namespace tallow
