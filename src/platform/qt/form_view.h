// A window that shows any form of the model and nothing else: it paints the controls from the
// model, keeps real line edits for the text boxes and web views for the browser controls, and
// turns mouse and key input into the form's input events. It repaints after every event the logic
// has handled, and on a coarse timer whenever the model changed.
#pragma once

#include <QTimer>
#include <QWidget>
#include <cstdint>
#include <map>

#include "platform/controls.h"
#include "platform/qt/form_layout.h"

namespace tallow::platform::qt {

class BrowserPanel;
class TextBoxEdit;

class FormView : public QWidget {
 public:
  // Every call into the logic refreshes the views when it returns; the timer only catches
  // changes made some other way.
  static constexpr int kRefreshMs = 250;

  // The form must outlive the view. A view with an owner is a tool window of the owner's window:
  // it stays above it, leaves the task bar alone and goes down with it.
  explicit FormView(ui::Form& form, QWidget* owner = nullptr);
  ~FormView() override;

  ui::Form& Model() const { return form_; }
  // Applies the model to the window (caption, geometry, frame, visibility, state, focus) and to
  // the text boxes' line edits.
  void Sync();
  // Sync and repaint when the model changed since the last time.
  void Refresh();

  // Every view: sync and paint now, before returning (used before a blocking sleep).
  static void RepaintAll();
  // Every view: Refresh().
  static void RefreshAll();

 protected:
  // A tooltip is asked for: the ToolTipText of the control under the pointer, shown for as long
  // as the pointer stays on that control.
  bool event(QEvent* e) override;
  void paintEvent(QPaintEvent* e) override;
  void mousePressEvent(QMouseEvent* e) override;
  void mouseReleaseEvent(QMouseEvent* e) override;
  void mouseDoubleClickEvent(QMouseEvent* e) override;
  void mouseMoveEvent(QMouseEvent* e) override;
  void wheelEvent(QWheelEvent* e) override;
  void keyPressEvent(QKeyEvent* e) override;
  void keyReleaseEvent(QKeyEvent* e) override;
  void resizeEvent(QResizeEvent* e) override;
  void moveEvent(QMoveEvent* e) override;
  void changeEvent(QEvent* e) override;
  void closeEvent(QCloseEvent* e) override;
  bool focusNextPrevChild(bool) override { return false; }  // Tab is a key like any other

 private:
  friend class BrowserPanel;
  friend class TextBoxEdit;

  void Deliver(const ui::InputEvent& e);
  void DeliverKey(ui::Control* target, const QKeyEvent* e, bool press);
  void TextFocusIn(ui::TextBox& box);
  void TextFocusOut(ui::TextBox& box);

  void ApplyModel();
  void ApplyWindow();
  void ApplyTextBoxes(const std::vector<PlacedControl>& placed);
  void ApplyBrowsers(const std::vector<PlacedControl>& placed);
  void ApplyFocus();
  QSize FrameExtra() const;
  void ApplyRequests();
  void UpdatePointer(ui::Control* hover);
  ui::InputEvent MouseEvent(ui::InputKind kind, ui::Control* target, const QMouseEvent* e,
                            int buttons) const;

  // Inside RepaintAll (a blocking sleep is about to start): input is held back until events
  // are handled again.
  static inline bool holdInput_ = false;

  ui::Form& form_;
  QTimer refresh_;
  std::uint64_t shown_ = 0;  // fingerprint of the model last synced
  bool syncing_ = false;
  bool resync_ = false;
  bool applying_ = false;  // our own geometry changes

  QRect appliedGeometry_;  // the form's outer rectangle in pixels, as last applied or observed
  ui::WindowState appliedState_ = ui::WindowState::Normal;
  ui::WindowState observedState_ = ui::WindowState::Normal;
  ui::Control* appliedFocus_ = nullptr;
  ui::Control* lastNonTextFocus_ = nullptr;

  bool capturing_ = false;  // a button is down: the pointer belongs to capture_
  ui::Control* capture_ = nullptr;
  bool clickPending_ = false;
  ui::Control* hover_ = nullptr;  // under the pointer at its last move
  ui::MousePointer pointerShown_ = ui::MousePointer::Default;
  // Moving the window by hand where the window system cannot move it.
  bool dragging_ = false;
  QPoint lastPress_;   // global pointer position of the last button press
  QPoint dragFrom_;    // global pointer position at the start
  QPoint dragWindow_;  // window position at the start

  std::map<ui::TextBox*, TextBoxEdit*> edits_;  // children of this widget
  std::map<ui::Browser*, BrowserPanel*> browsers_;
};

}  // namespace tallow::platform::qt
