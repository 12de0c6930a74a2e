// The real line edit behind a text box of the model. The model stays the single source of
// truth: Apply() shows the model; the user's edits, caret moves, keys, clicks and focus changes
// go back into the model and reach the logic as input events.
#pragma once

#include <QLineEdit>
#include <QRect>

#include "platform/controls.h"

namespace tallow::platform::qt {

class FormView;

class TextBoxEdit : public QLineEdit {
 public:
  TextBoxEdit(FormView& view, ui::TextBox& box);
  // Shows the model: where (an empty rectangle hides it), text, caret, colours, font.
  void Apply(const QRect& where);
  ui::TextBox& Box() const { return box_; }

 protected:
  void keyPressEvent(QKeyEvent* e) override;
  void keyReleaseEvent(QKeyEvent* e) override;
  void mousePressEvent(QMouseEvent* e) override;
  void mouseReleaseEvent(QMouseEvent* e) override;
  void mouseDoubleClickEvent(QMouseEvent* e) override;
  void focusInEvent(QFocusEvent* e) override;
  void focusOutEvent(QFocusEvent* e) override;

 private:
  void Raise(ui::InputKind kind, const QMouseEvent* e);

  FormView& view_;
  ui::TextBox& box_;
  int appliedSel_ = -1;
  bool applying_ = false;
};

}  // namespace tallow::platform::qt
