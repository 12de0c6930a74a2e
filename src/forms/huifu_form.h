// The phrase window huifu: ready-made text phrases and voice phrases, sent by a double click.
#pragma once

#include "platform/controls.h"

namespace tallow {

class HuifuForm : public ui::Form {
 public:
  // The client area in pixels, below a title bar of up to 30 pixels.
  static constexpr double kClientWidth = 319, kClientHeight = 180, kTitleBar = 30;

  HuifuForm()
      : ui::Form("huifu"),
        List1(Create<ui::ListBox>("List1")),
        List2(Create<ui::ListBox>("List2")),
        Label1(Create<ui::Label>("Label1")) {
    Width = kClientWidth * 15;
    Height = (kClientHeight + kTitleBar) * 15;
    List2.ToolTipText = "双击后发送你想说的话";
  }
  ui::ListBox& List1;  // text phrases
  ui::ListBox& List2;  // voice phrases
  ui::Label& Label1;   // closes the window
  bool Loaded = false;
};

}  // namespace tallow
