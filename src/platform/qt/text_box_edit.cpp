#include "platform/qt/text_box_edit.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPalette>
#include <algorithm>

#include "platform/qt/form_painter.h"
#include "platform/qt/form_view.h"
#include "platform/qt/key_codes.h"

namespace tallow::platform::qt {
namespace {

QColor ToQColor(ui::Color c) {
  return QColor::fromRgb(static_cast<QRgb>(c & 0xFFFFFF));
}

// Focus moves that the user made inside the window (not the window losing activation).
bool UserFocusMove(Qt::FocusReason reason) {
  return reason == Qt::MouseFocusReason || reason == Qt::TabFocusReason ||
         reason == Qt::BacktabFocusReason || reason == Qt::ShortcutFocusReason;
}

}  // namespace

TextBoxEdit::TextBoxEdit(FormView& view, ui::TextBox& box)
    : QLineEdit(&view), view_(view), box_(box) {
  setFrame(true);
  hide();
  QObject::connect(this, &QLineEdit::textEdited, this, [this](const QString& text) {
    box_.Text = text.toStdString();
    box_.SelStart = cursorPosition();
    appliedSel_ = box_.SelStart;
    ui::InputEvent ev;
    ev.kind = ui::InputKind::TextChanged;
    ev.control = &box_;
    view_.Deliver(ev);
  });
  QObject::connect(this, &QLineEdit::cursorPositionChanged, this, [this](int, int now) {
    if (applying_) return;
    box_.SelStart = now;
    appliedSel_ = now;
  });
}

void TextBoxEdit::Apply(const QRect& where) {
  if (where.isEmpty()) {
    if (isVisible()) hide();
    return;
  }
  applying_ = true;
  if (geometry() != where) setGeometry(where);
  // Setting the maximum length puts the caret at the end: it comes before the caret.
  const int maxLength = box_.MaxLength > 0 ? box_.MaxLength : 32767;
  const bool lengthChanged = maxLength != this->maxLength();
  if (lengthChanged) setMaxLength(maxLength);
  const QString text = QString::fromStdString(box_.Text);
  const bool textChanged = lengthChanged || text != this->text();
  if (text != this->text()) setText(text);
  if (textChanged || box_.SelStart != appliedSel_) {
    appliedSel_ = box_.SelStart;
    setCursorPosition(std::clamp(box_.SelStart, 0, static_cast<int>(this->text().size())));
  }
  QPalette pal = palette();
  pal.setColor(QPalette::Text, ToQColor(box_.ForeColor));
  pal.setColor(QPalette::Base, ToQColor(box_.BackColor));
  if (pal != palette()) setPalette(pal);
  const QFont f = ControlFont(box_.FontSize, false);
  if (f != font()) setFont(f);
  if (isEnabled() != box_.Enabled) setEnabled(box_.Enabled);
  if (!isVisible()) show();
  applying_ = false;
}

void TextBoxEdit::keyPressEvent(QKeyEvent* e) {
  view_.DeliverKey(&box_, e, true);
  QLineEdit::keyPressEvent(e);
  e->accept();  // the keys of a text box never reach the window as well
}

void TextBoxEdit::keyReleaseEvent(QKeyEvent* e) {
  view_.DeliverKey(&box_, e, false);
  QLineEdit::keyReleaseEvent(e);
  e->accept();
}

void TextBoxEdit::Raise(ui::InputKind kind, const QMouseEvent* e) {
  ui::InputEvent ev;
  ev.kind = kind;
  ev.control = &box_;
  ev.button = ButtonBits(kind == ui::InputKind::MouseMove ? e->buttons() : e->button());
  ev.shift = ShiftBits(e->modifiers());
  ev.x = e->position().x();
  ev.y = e->position().y();
  view_.Deliver(ev);
}

void TextBoxEdit::mousePressEvent(QMouseEvent* e) {
  QLineEdit::mousePressEvent(e);
  Raise(ui::InputKind::MouseDown, e);
}

void TextBoxEdit::mouseReleaseEvent(QMouseEvent* e) {
  QLineEdit::mouseReleaseEvent(e);
  Raise(ui::InputKind::MouseUp, e);
  if (e->button() == Qt::LeftButton && rect().contains(e->position().toPoint())) {
    Raise(ui::InputKind::Click, e);
  }
}

void TextBoxEdit::mouseDoubleClickEvent(QMouseEvent* e) {
  QLineEdit::mouseDoubleClickEvent(e);
  Raise(ui::InputKind::DblClick, e);
}

void TextBoxEdit::focusInEvent(QFocusEvent* e) {
  QLineEdit::focusInEvent(e);
  if (UserFocusMove(e->reason())) view_.TextFocusIn(box_);
}

void TextBoxEdit::focusOutEvent(QFocusEvent* e) {
  QLineEdit::focusOutEvent(e);
  if (UserFocusMove(e->reason())) view_.TextFocusOut(box_);
}

}  // namespace tallow::platform::qt
