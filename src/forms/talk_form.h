// The chat window Talk: the history of the table's chat lines.
#pragma once

#include "platform/controls.h"

namespace tallow {

// Borderless: a band across the top carries the caption and the close label Label1, and drags
// the window.
class TalkForm : public ui::Form {
 public:
  static constexpr double kClientWidth = 320, kClientHeight = 180;

  TalkForm();
  ui::Label& Band;
  ui::Label& Title;
  ui::ListBox& Text1;  // the chat history
  ui::Label& Label1;   // closes the window
  bool Loaded = false;
};

}  // namespace tallow
