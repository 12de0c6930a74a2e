// The chat window Talk: the history of the table's chat lines.
#pragma once

#include "platform/controls.h"

namespace tallow {

class TalkForm : public ui::Form {
 public:
  // The client area in pixels, below a title bar of up to 30 pixels.
  static constexpr double kClientWidth = 320, kClientHeight = 180, kTitleBar = 30;

  TalkForm()
      : ui::Form("Talk"), Text1(Create<ui::ListBox>("Text1")), Label1(Create<ui::Label>("Label1")) {
    Caption = "聊天";
    Width = kClientWidth * 15;
    Height = (kClientHeight + kTitleBar) * 15;
  }
  ui::ListBox& Text1;  // the chat history
  ui::Label& Label1;   // closes the window
  bool Loaded = false;
};

}  // namespace tallow
