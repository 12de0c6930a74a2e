// The sound settings window VosSet: three options switched on and off, and the voice set.
#pragma once

#include "platform/checked_array.h"
#include "platform/controls.h"

namespace tallow {

class VosSetForm : public ui::Form {
 public:
  // The client area in pixels, below a title bar of up to 30 pixels.
  static constexpr double kClientWidth = 220, kClientHeight = 330, kTitleBar = 30;

  VosSetForm() : ui::Form("VosSet") {
    Caption = "音效设置";
    Width = kClientWidth * 15;
    Height = (kClientHeight + kTitleBar) * 15;
    for (int i = 0; i <= 3; ++i) {
      Image1.Load(i);
      Command2.Load(i);
    }
    Command1.Load(0);
    Command1.Load(1);
  }
  // Captions of options 0..3: 背景音乐, 系统声音, 功能声音, 方言选择.
  ui::ControlArray<ui::Image> Image1{*this, "Image1", 3};
  // Option buttons 0..2 (关闭 while on, 开启 while off) and the voice-set button 3.
  ui::ControlArray<ui::Image> Command2{*this, "Command2", 3};
  // 0 OK, 1 cancel.
  ui::ControlArray<ui::Image> Command1{*this, "Command1", 1};
  // Option i was toggled since the window was last closed (toggled twice: false again).
  CheckedArray<bool, 0, 3> VosPending;
  bool Loaded = false;
};

}  // namespace tallow
