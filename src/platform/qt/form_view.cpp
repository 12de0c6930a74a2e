#include "platform/qt/form_view.h"

#include <QCloseEvent>
#include <QCursor>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QToolTip>
#include <QWheelEvent>
#include <QWindow>
#include <algorithm>
#include <vector>

#include "platform/qt/browser_panel.h"
#include "platform/qt/call_logic.h"
#include "platform/qt/form_painter.h"
#include "platform/qt/key_codes.h"
#include "platform/qt/pixmap_cache.h"
#include "platform/qt/text_box_edit.h"

namespace tallow::platform::qt {
namespace {

constexpr int kHandHotX = 12;
constexpr int kHandHotY = 4;

std::vector<FormView*>& Views() {
  static std::vector<FormView*> views;
  return views;
}

bool IsRegistered(FormView* view) {
  const auto& views = Views();
  return std::find(views.begin(), views.end(), view) != views.end();
}

const QCursor& HandCursor() {
  static const QCursor cursor = [] {
    const QPixmap& pm = PixmapCache::Shared().Get(ui::Picture{0, "cursor_hand"});
    return pm.isNull() ? QCursor(Qt::PointingHandCursor) : QCursor(pm, kHandHotX, kHandHotY);
  }();
  return cursor;
}

ui::WindowState ToModelState(Qt::WindowStates s) {
  if (s & Qt::WindowMinimized) return ui::WindowState::Minimized;
  if (s & Qt::WindowMaximized) return ui::WindowState::Maximized;
  return ui::WindowState::Normal;
}

double Twips(int pixels) {
  return pixels * 15.0;
}

}  // namespace

void AfterLogicCall() noexcept {
  FormView::RefreshAll();
}

FormView::FormView(ui::Form& form, QWidget* owner)
    : QWidget(owner, owner != nullptr ? Qt::Tool : Qt::Window), form_(form) {
  setAttribute(Qt::WA_OpaquePaintEvent);
  setMouseTracking(true);
  setFocusPolicy(Qt::StrongFocus);
  lastNonTextFocus_ = form_.Focus;
  refresh_.setInterval(kRefreshMs);
  QObject::connect(&refresh_, &QTimer::timeout, this, [this] { Refresh(); });
  refresh_.start();
  Views().push_back(this);
  Sync();
  shown_ = Fingerprint(form_);
}

FormView::~FormView() {
  std::erase(Views(), this);
}

void FormView::RepaintAll() {
  holdInput_ = true;
  for (FormView* view : std::vector<FormView*>(Views())) {
    if (!IsRegistered(view)) continue;
    view->Sync();
    view->shown_ = Fingerprint(view->form_);
    if (view->isVisible() && !view->isMinimized()) view->repaint();
  }
  holdInput_ = false;
}

void FormView::RefreshAll() {
  for (FormView* view : std::vector<FormView*>(Views())) {
    if (IsRegistered(view)) view->Refresh();
  }
}

void FormView::Refresh() {
  if (Fingerprint(form_) == shown_) return;
  Sync();
  shown_ = Fingerprint(form_);  // Sync may have carried out requests of the model
  update();
}

void FormView::Sync() {
  if (syncing_) {
    resync_ = true;  // an event raised while applying changed the model again
    return;
  }
  syncing_ = true;
  for (int pass = 0; pass < 4; ++pass) {
    resync_ = false;
    ApplyModel();
    if (!resync_) break;
  }
  syncing_ = false;
}

void FormView::ApplyModel() {
  ApplyWindow();
  const auto placed = PlaceControls(form_);
  ApplyTextBoxes(placed);
  ApplyBrowsers(placed);
  ApplyRequests();
  ApplyFocus();
  UpdatePointer(capturing_ ? capture_ : hover_);
}

void FormView::ApplyRequests() {
  if (form_.FocusRequested != nullptr) {
    form_.Focus = form_.FocusRequested;
    form_.FocusRequested = nullptr;
  }
  if (form_.RaiseRequested) {
    form_.RaiseRequested = false;
    if (isVisible()) {
      raise();
      activateWindow();
    }
  }
  if (form_.MoveRequested) {
    form_.MoveRequested = false;
    // The window system moves the window from here on; the button's release may never come.
    capturing_ = false;
    capture_ = nullptr;
    clickPending_ = false;
    QWindow* window = windowHandle();
    if (window == nullptr || !window->startSystemMove()) {
      dragging_ = true;
      dragFrom_ = lastPress_;
      dragWindow_ = pos();
    }
  }
}

QSize FormView::FrameExtra() const {
  if (form_.Borderless || !isVisible()) return QSize(0, 0);
  const QSize extra = frameGeometry().size() - size();
  return QSize(std::max(0, extra.width()), std::max(0, extra.height()));
}

void FormView::ApplyWindow() {
  const QString caption = QString::fromStdString(form_.Caption);
  if (windowTitle() != caption) setWindowTitle(caption);

  const bool frameless = windowFlags().testFlag(Qt::FramelessWindowHint);
  if (frameless != form_.Borderless) setWindowFlag(Qt::FramelessWindowHint, form_.Borderless);

  const QSize outer = FormPixelSize(form_);
  const QRect want(ToPixels(form_.Left / 15.0), ToPixels(form_.Top / 15.0), outer.width(),
                   outer.height());
  if (want != appliedGeometry_) {
    appliedGeometry_ = want;
    const QSize client = want.size() - FrameExtra();
    applying_ = true;
    move(want.topLeft());
    resize(std::max(1, client.width()), std::max(1, client.height()));
    applying_ = false;
  }

  if (!form_.Visible) {
    if (isVisible()) hide();
    return;
  }
  if (!isVisible() || form_.State != appliedState_) {
    appliedState_ = form_.State;
    switch (form_.State) {
      case ui::WindowState::Minimized:
        showMinimized();
        break;
      case ui::WindowState::Maximized:
        showMaximized();
        break;
      case ui::WindowState::Normal:
        showNormal();
        break;
    }
    if (focusWidget() == nullptr) setFocus(Qt::OtherFocusReason);
  }
}

void FormView::ApplyTextBoxes(const std::vector<PlacedControl>& placed) {
  std::vector<TextBoxEdit*> shown;
  for (ui::Control* c : form_.PaintOrder()) {
    if (c->Kind() != ui::ControlKind::TextBox) continue;
    auto* box = static_cast<ui::TextBox*>(c);
    auto [it, added] = edits_.try_emplace(box, nullptr);
    if (added) it->second = new TextBoxEdit(*this, *box);
    QRect where;
    for (const PlacedControl& p : placed) {
      if (p.control == c) where = p.rect.intersected(p.clip);
    }
    it->second->Apply(where);
    if (!where.isEmpty()) shown.push_back(it->second);
  }
  for (TextBoxEdit* edit : shown) edit->raise();  // text boxes stack in their z-order
}

void FormView::ApplyBrowsers(const std::vector<PlacedControl>& placed) {
  for (ui::Control* c : form_.PaintOrder()) {
    if (c->Kind() != ui::ControlKind::Browser) continue;
    auto* browser = static_cast<ui::Browser*>(c);
    auto [it, added] = browsers_.try_emplace(browser, nullptr);
    if (added) it->second = new BrowserPanel(*this, *browser);
    QRect where;
    for (const PlacedControl& p : placed) {
      if (p.control == c) where = p.rect.intersected(p.clip);
    }
    it->second->Apply(where);
  }
}

void FormView::ApplyFocus() {
  if (form_.Focus == appliedFocus_) return;
  appliedFocus_ = form_.Focus;
  ui::Control* focus = form_.Focus;
  if (focus != nullptr && focus->Kind() == ui::ControlKind::TextBox) {
    auto it = edits_.find(static_cast<ui::TextBox*>(focus));
    if (it != edits_.end()) it->second->setFocus(Qt::OtherFocusReason);
    return;
  }
  lastNonTextFocus_ = focus;
  if (QWidget* current = focusWidget(); current != nullptr && current != this) {
    setFocus(Qt::OtherFocusReason);
  }
}

void FormView::TextFocusIn(ui::TextBox& box) {
  if (form_.Focus == nullptr || form_.Focus->Kind() != ui::ControlKind::TextBox) {
    lastNonTextFocus_ = form_.Focus;
  }
  form_.Focus = &box;
  appliedFocus_ = &box;
}

void FormView::TextFocusOut(ui::TextBox& box) {
  if (form_.Focus != &box) return;
  form_.Focus = lastNonTextFocus_;
  appliedFocus_ = form_.Focus;
}

bool FormView::event(QEvent* e) {
  if (e->type() != QEvent::ToolTip) return QWidget::event(e);
  const auto* help = static_cast<QHelpEvent*>(e);
  const auto placed = PlaceControls(form_);
  ui::Control* control = HitTest(placed, help->pos()).control;
  if (control == nullptr || control->ToolTipText.empty()) {
    QToolTip::hideText();
    e->ignore();
    return true;
  }
  // The rectangle ends the tooltip as soon as the pointer leaves the control.
  QToolTip::showText(help->globalPos(), QString::fromStdString(control->ToolTipText), this,
                     PlacedRect(placed, control));
  return true;
}

void FormView::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  PaintForm(painter, form_, PlaceControls(form_), size(), PixmapCache::Shared(),
            PaintOptions{.paintTextBoxes = false});
}

void FormView::Deliver(const ui::InputEvent& e) {
  if (holdInput_) {
    // Showing a window before a sleep raises Resize: the logic sees it after the sleep.
    QTimer::singleShot(0, this, [this, e] { Deliver(e); });
    return;
  }
  if (!form_.OnInput) {
    AfterLogicCall();
    return;
  }
  CallLogic("input", [&] { form_.OnInput(e); });
}

ui::InputEvent FormView::MouseEvent(ui::InputKind kind, ui::Control* target, const QMouseEvent* e,
                                    int buttons) const {
  const QPoint pos = e->position().toPoint();
  const QPoint local = target == nullptr ? pos : pos - ControlOrigin(form_, target);
  ui::InputEvent ev;
  ev.kind = kind;
  ev.control = target;
  ev.button = buttons;
  ev.shift = ShiftBits(e->modifiers());
  ev.x = local.x();
  ev.y = local.y();
  return ev;
}

void FormView::mousePressEvent(QMouseEvent* e) {
  lastPress_ = e->globalPosition().toPoint();
  const auto placed = PlaceControls(form_);
  const Hit hit = HitTest(placed, e->position().toPoint());
  if (!capturing_) {
    capturing_ = true;
    capture_ = hit.control;
    clickPending_ = false;
  }
  if (e->button() == Qt::LeftButton) clickPending_ = true;
  ui::Control* target = capture_;
  if (target != nullptr && target->Kind() == ui::ControlKind::ListBox &&
      e->button() == Qt::LeftButton) {
    auto* list = static_cast<ui::ListBox*>(target);
    const int line =
        ListLineAt(*list, e->position().toPoint().y() - ControlOrigin(form_, list).y());
    if (line >= 0) list->ListIndex = line;
  }
  Deliver(MouseEvent(ui::InputKind::MouseDown, target, e, ButtonBits(e->button())));
}

void FormView::mouseDoubleClickEvent(QMouseEvent* e) {
  if (e->button() != Qt::LeftButton) {
    mousePressEvent(e);
    return;
  }
  // The second press of a double click raises DblClick instead of MouseDown, and its release
  // raises no Click.
  const Hit hit = HitTest(form_, e->position().toPoint());
  capturing_ = true;
  capture_ = hit.control;
  clickPending_ = false;
  Deliver(MouseEvent(ui::InputKind::DblClick, capture_, e, ButtonBits(e->button())));
}

void FormView::mouseReleaseEvent(QMouseEvent* e) {
  if (dragging_ && e->button() == Qt::LeftButton) {
    dragging_ = false;
    return;
  }
  const auto placed = PlaceControls(form_);
  const QPoint pos = e->position().toPoint();
  ui::Control* target = capturing_ ? capture_ : HitTest(placed, pos).control;
  const bool inside =
      target == nullptr ? rect().contains(pos) : PlacedRect(placed, target).contains(pos);
  const bool click = e->button() == Qt::LeftButton && clickPending_ && inside;
  if (e->button() == Qt::LeftButton) clickPending_ = false;
  if (e->buttons() == Qt::NoButton) {
    capturing_ = false;
    capture_ = nullptr;
  }
  Deliver(MouseEvent(ui::InputKind::MouseUp, target, e, ButtonBits(e->button())));
  if (click) Deliver(MouseEvent(ui::InputKind::Click, target, e, ButtonBits(Qt::LeftButton)));
}

void FormView::mouseMoveEvent(QMouseEvent* e) {
  if (dragging_) {
    if (!e->buttons().testFlag(Qt::LeftButton)) {
      dragging_ = false;
    } else {
      move(dragWindow_ + (e->globalPosition().toPoint() - dragFrom_));
      form_.Left = Twips(pos().x());
      form_.Top = Twips(pos().y());
      appliedGeometry_.moveTopLeft(pos());
      return;
    }
  }
  const Hit hit = HitTest(form_, e->position().toPoint());
  ui::Control* target = capturing_ ? capture_ : hit.control;
  UpdatePointer(target);
  Deliver(MouseEvent(ui::InputKind::MouseMove, target, e, ButtonBits(e->buttons())));
}

void FormView::wheelEvent(QWheelEvent* e) {
  const Hit hit = HitTest(form_, e->position().toPoint());
  if (hit.control == nullptr || hit.control->Kind() != ui::ControlKind::ListBox) return;
  auto* list = static_cast<ui::ListBox*>(hit.control);
  const int rows = std::max(1, (ToPixels(list->Height) - 2) / ListLineHeight(*list));
  const int steps = e->angleDelta().y() / 40;  // three lines a notch
  const int last = std::max(0, list->ListCount() - rows);
  list->TopIndex = std::clamp(ListTopLine(*list) - steps, 0, last);
  AfterLogicCall();
}

void FormView::UpdatePointer(ui::Control* hover) {
  hover_ = hover;
  const ui::MousePointer want = hover != nullptr ? hover->Pointer : ui::MousePointer::Default;
  if (want == pointerShown_) return;
  pointerShown_ = want;
  switch (want) {
    case ui::MousePointer::Default:
      unsetCursor();
      break;
    case ui::MousePointer::Arrow:
      setCursor(Qt::ArrowCursor);
      break;
    case ui::MousePointer::SizeAll:
      setCursor(Qt::SizeAllCursor);
      break;
    case ui::MousePointer::Custom:
      setCursor(HandCursor());
      break;
  }
}

void FormView::DeliverKey(ui::Control* target, const QKeyEvent* e, bool press) {
  ui::InputEvent ev;
  ev.control = target;
  ev.shift = ShiftBits(e->modifiers());
  ev.keyCode = VirtualKeyCode(e->key(), e->modifiers().testFlag(Qt::KeypadModifier));
  if (!press) {
    if (ev.keyCode != 0 && !e->isAutoRepeat()) {
      ev.kind = ui::InputKind::KeyUp;
      Deliver(ev);
    }
    return;
  }
  if (ev.keyCode != 0) {
    ev.kind = ui::InputKind::KeyDown;
    Deliver(ev);
  }
  // Characters typed with Alt held are menu keys, not characters; Delete types nothing.
  if (e->modifiers().testFlag(Qt::AltModifier)) return;
  ev.kind = ui::InputKind::KeyPress;
  ev.keyCode = 0;
  for (char32_t c : e->text().toUcs4()) {
    if (c == 0x7F) continue;
    ev.keyChar = static_cast<std::uint32_t>(c);
    Deliver(ev);
  }
}

void FormView::keyPressEvent(QKeyEvent* e) {
  DeliverKey(form_.Focus, e, true);
}

void FormView::keyReleaseEvent(QKeyEvent* e) {
  DeliverKey(form_.Focus, e, false);
}

void FormView::resizeEvent(QResizeEvent* e) {
  QWidget::resizeEvent(e);
  if (!applying_ && e->spontaneous()) {
    const QSize outer = size() + FrameExtra();
    if (outer != appliedGeometry_.size()) {
      form_.Width = Twips(outer.width());
      form_.Height = Twips(outer.height());
      appliedGeometry_.setSize(outer);
    }
  }
  if (e->oldSize() != e->size()) {
    ui::InputEvent ev;
    ev.kind = ui::InputKind::Resize;
    Deliver(ev);
  }
}

void FormView::moveEvent(QMoveEvent* e) {
  QWidget::moveEvent(e);
  if (applying_ || !e->spontaneous() || !isWindow()) return;
  if (pos() != appliedGeometry_.topLeft()) {
    form_.Left = Twips(pos().x());
    form_.Top = Twips(pos().y());
    appliedGeometry_.moveTopLeft(pos());
  }
}

void FormView::changeEvent(QEvent* e) {
  QWidget::changeEvent(e);
  if (e->type() != QEvent::WindowStateChange) return;
  const ui::WindowState now = ToModelState(windowState());
  if (now == observedState_) return;
  observedState_ = now;
  form_.State = now;
  appliedState_ = now;
  ui::InputEvent ev;
  ev.kind = ui::InputKind::Resize;
  Deliver(ev);
}

void FormView::closeEvent(QCloseEvent* e) {
  // Closing the window unloads the form; the logic may show it again from its Unload handler.
  e->ignore();
  form_.Visible = false;
  ui::InputEvent ev;
  ev.kind = ui::InputKind::Unload;
  Deliver(ev);
}

}  // namespace tallow::platform::qt
