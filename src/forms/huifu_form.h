// The phrase window huifu: ready-made text phrases and voice phrases, sent by a double click.
#pragma once

#include "platform/controls.h"

namespace tallow {

// Borderless like the chat window; one of its two lists is shown at a time.
class HuifuForm : public ui::Form {
 public:
  static constexpr double kClientWidth = 319, kClientHeight = 180;

  HuifuForm();
  ui::Label& Band;
  ui::Label& Title;
  ui::ListBox& List1;  // text phrases
  ui::ListBox& List2;  // voice phrases
  ui::Label& Label1;   // closes the window
  bool Loaded = false;
};

}  // namespace tallow
