// The window of a form: mouse and key input raised on the right control with the right
// numbers, text boxes kept in step with the model, and the window following the form.
#include "platform/qt/form_view.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QToolTip>

#include "platform/qt/key_codes.h"
#include "platform/qt/qt_clock.h"
#include "test_support.h"

namespace tallow::platform::qt {
namespace {

using Kind = ui::InputKind;

struct Seen {
  Kind kind;
  ui::Control* control;
  int button, shift, x, y, keyCode;
  std::uint32_t keyChar;
};

class FormViewTest : public ::testing::Test {
 protected:
  FormViewTest() {
    form_.Width = 200 * 15;
    form_.Height = 100 * 15;
    form_.Borderless = true;
    tile_.Move(10, 10, 20, 30);
    tile_.picture.id = 9001;
    table_.Move(0, 0, 200, 100);
    table_.ZOrder(ui::ZPosition::Back);
    chat_.Move(100, 70, 80, 20);
    form_.OnInput = [this](const ui::InputEvent& e) {
      seen_.push_back({e.kind, e.control, e.button, e.shift, static_cast<int>(e.x),
                       static_cast<int>(e.y), e.keyCode, e.keyChar});
      if (onInput_) onInput_(e);
    };
  }

  std::vector<Kind> Kinds(ui::Control* only = nullptr) const {
    std::vector<Kind> kinds;
    for (const Seen& s : seen_) {
      if (only == nullptr || s.control == only) kinds.push_back(s.kind);
    }
    return kinds;
  }

  void Mouse(QEvent::Type type, QPoint at, Qt::MouseButton button, Qt::MouseButtons held,
             QWidget* target = nullptr) {
    QWidget* w = target != nullptr ? target : view_.get();
    QMouseEvent e(type, QPointF(at), w->mapToGlobal(QPointF(at)), button, held, Qt::NoModifier);
    QApplication::sendEvent(w, &e);
  }
  void Click(QPoint at) {
    Mouse(QEvent::MouseButtonPress, at, Qt::LeftButton, Qt::LeftButton);
    Mouse(QEvent::MouseButtonRelease, at, Qt::LeftButton, Qt::NoButton);
  }
  void Key(QWidget* w, int key, Qt::KeyboardModifiers mods, const QString& text) {
    QKeyEvent press(QEvent::KeyPress, key, mods, text);
    QApplication::sendEvent(w, &press);
    QKeyEvent release(QEvent::KeyRelease, key, mods, text);
    QApplication::sendEvent(w, &release);
  }
  void Show() {
    form_.Visible = true;
    view_ = std::make_unique<FormView>(form_);
  }
  QLineEdit* ChatEdit() const { return view_->findChild<QLineEdit*>(); }

  ui::Form form_{"F"};
  ui::Image& table_ = form_.Create<ui::Image>("table");
  ui::Image& tile_ = form_.Create<ui::Image>("tile");
  ui::TextBox& chat_ = form_.Create<ui::TextBox>("chat");
  std::unique_ptr<FormView> view_;
  std::vector<Seen> seen_;
  std::function<void(const ui::InputEvent&)> onInput_;
};

TEST_F(FormViewTest, MouseEventsReachTheControlUnderThePointer) {
  Show();
  seen_.clear();
  Mouse(QEvent::MouseButtonPress, {15, 17}, Qt::LeftButton, Qt::LeftButton);
  ASSERT_EQ(seen_.size(), 1u);
  EXPECT_EQ(seen_[0].kind, Kind::MouseDown);
  EXPECT_EQ(seen_[0].control, &tile_);
  EXPECT_EQ(seen_[0].button, 1);
  EXPECT_EQ(seen_[0].x, 5);
  EXPECT_EQ(seen_[0].y, 7);
  // While the button is down the pointer belongs to the pressed control, even outside it.
  Mouse(QEvent::MouseMove, {150, 50}, Qt::NoButton, Qt::LeftButton);
  EXPECT_EQ(seen_.back().control, &tile_);
  EXPECT_EQ(seen_.back().button, 1);
  EXPECT_EQ(seen_.back().x, 140);
  Mouse(QEvent::MouseButtonRelease, {150, 50}, Qt::LeftButton, Qt::NoButton);
  EXPECT_EQ((Kinds()), (std::vector{Kind::MouseDown, Kind::MouseMove, Kind::MouseUp}))
      << "released outside: no Click";
  seen_.clear();
  Mouse(QEvent::MouseMove, {150, 50}, Qt::NoButton, Qt::NoButton);
  EXPECT_EQ(seen_.back().control, &table_);

  seen_.clear();
  Mouse(QEvent::MouseButtonPress, {12, 12}, Qt::RightButton, Qt::RightButton);
  Mouse(QEvent::MouseButtonRelease, {12, 12}, Qt::RightButton, Qt::NoButton);
  EXPECT_EQ(Kinds(), (std::vector{Kind::MouseDown, Kind::MouseUp})) << "right button: no Click";
  EXPECT_EQ(seen_[0].button, 2);
}

// The tooltip of the control under the pointer, and none once the pointer is off it: moving
// off it ends the tooltip, and a tooltip asked for over a control without one hides it.
TEST_F(FormViewTest, TooltipsBelongToTheControlUnderThePointer) {
  Show();
  tile_.ToolTipText = "退出游戏";
  view_->Refresh();
  auto help = [&](QPoint at) {
    QHelpEvent e(QEvent::ToolTip, at, view_->mapToGlobal(at));
    QApplication::sendEvent(view_.get(), &e);
  };
  help({15, 17});
  ASSERT_TRUE(QToolTip::isVisible());
  EXPECT_EQ(QToolTip::text(), "退出游戏");
  Mouse(QEvent::MouseMove, {150, 50}, Qt::NoButton, Qt::NoButton);
  EXPECT_TRUE(test::PumpUntil([] { return !QToolTip::isVisible(); }));
  help({15, 17});
  ASSERT_TRUE(QToolTip::isVisible());
  help({150, 50});
  EXPECT_TRUE(test::PumpUntil([] { return !QToolTip::isVisible(); }));
}

TEST_F(FormViewTest, ClicksAndDoubleClicksComeInTheirOrder) {
  Show();
  seen_.clear();
  Click({12, 12});
  Mouse(QEvent::MouseButtonDblClick, {12, 12}, Qt::LeftButton, Qt::LeftButton);
  Mouse(QEvent::MouseButtonRelease, {12, 12}, Qt::LeftButton, Qt::NoButton);
  EXPECT_EQ(Kinds(&tile_), (std::vector{Kind::MouseDown, Kind::MouseUp, Kind::Click, Kind::DblClick,
                                        Kind::MouseUp}));
}

TEST_F(FormViewTest, ClickingHiddenOrMovedSpritesFollowsTheModel) {
  Show();
  tile_.Visible = false;
  seen_.clear();
  Click({12, 12});
  EXPECT_EQ(seen_.front().control, &table_);
  tile_.Visible = true;
  tile_.Move(150, 10);
  seen_.clear();
  Click({155, 12});
  EXPECT_EQ(seen_.front().control, &tile_);
}

TEST_F(FormViewTest, KeysGoToTheFocusControlWithVirtualKeyCodes) {
  form_.Focus = &table_;
  Show();
  seen_.clear();
  Key(view_.get(), Qt::Key_Escape, Qt::NoModifier, QString(QChar(27)));
  Key(view_.get(), Qt::Key_F1, Qt::NoModifier, QString());
  Key(view_.get(), Qt::Key_C, Qt::AltModifier, "c");
  Key(view_.get(), Qt::Key_A, Qt::ShiftModifier, "A");
  struct Expected {
    Kind kind;
    int keyCode;
    int shift;
    std::uint32_t keyChar;
  };
  const std::vector<Expected> expected = {
      {Kind::KeyDown, 27, 0, 0},  {Kind::KeyPress, 0, 0, 27}, {Kind::KeyUp, 27, 0, 0},
      {Kind::KeyDown, 112, 0, 0}, {Kind::KeyUp, 112, 0, 0},   {Kind::KeyDown, 67, 4, 0},
      {Kind::KeyUp, 67, 4, 0},    {Kind::KeyDown, 65, 1, 0},  {Kind::KeyPress, 0, 1, 'A'},
      {Kind::KeyUp, 65, 1, 0},
  };
  ASSERT_EQ(seen_.size(), expected.size());
  for (std::size_t i = 0; i < expected.size(); ++i) {
    EXPECT_EQ(seen_[i].kind, expected[i].kind) << i;
    EXPECT_EQ(seen_[i].control, &table_) << i;
    EXPECT_EQ(seen_[i].keyCode, expected[i].keyCode) << i;
    EXPECT_EQ(seen_[i].shift, expected[i].shift) << i;
    EXPECT_EQ(seen_[i].keyChar, expected[i].keyChar) << i;
  }
}

TEST_F(FormViewTest, TextBoxesStayInStepWithTheModel) {
  chat_.Text = "abc";
  chat_.SelStart = 1;
  Show();
  QLineEdit* edit = ChatEdit();
  ASSERT_NE(edit, nullptr);
  EXPECT_EQ(edit->text(), "abc");
  EXPECT_EQ(edit->cursorPosition(), 1);
  EXPECT_EQ(edit->geometry(), QRect(100, 70, 80, 20));

  // Typing edits the model and raises KeyDown, KeyPress and TextChanged on the text box.
  seen_.clear();
  edit->setCursorPosition(3);
  Key(edit, Qt::Key_D, Qt::NoModifier, "d");
  EXPECT_EQ(chat_.Text, "abcd");
  EXPECT_EQ(chat_.SelStart, 4);
  EXPECT_EQ(Kinds(&chat_),
            (std::vector{Kind::KeyDown, Kind::KeyPress, Kind::TextChanged, Kind::KeyUp}));

  // The logic answers Enter by taking the text: the line edit follows at once.
  onInput_ = [this](const ui::InputEvent& e) {
    if (e.kind == Kind::KeyPress && e.keyChar == 13) {
      chat_.Text.clear();
      chat_.SelStart = 0;
    }
  };
  Key(edit, Qt::Key_Return, Qt::NoModifier, "\r");
  EXPECT_EQ(edit->text(), "");
  // Keys typed into the text box are not raised on the window as well.
  for (const Seen& s : seen_) EXPECT_EQ(s.control, &chat_);

  // Model changes reach the widget: text, caret, visibility.
  chat_.Text = "新的";
  chat_.SelStart = 2;
  view_->Refresh();
  EXPECT_EQ(edit->text(), QString::fromUtf8("新的"));
  EXPECT_EQ(edit->cursorPosition(), 2);
  chat_.Visible = false;
  view_->Refresh();
  EXPECT_FALSE(edit->isVisible());
}

TEST_F(FormViewTest, FocusMovesBetweenTheModelAndTheTextBox) {
  form_.Focus = &table_;
  Show();
  QLineEdit* edit = ChatEdit();
  ASSERT_NE(edit, nullptr);
  view_->activateWindow();
  form_.Focus = &chat_;
  view_->Refresh();
  ASSERT_TRUE(test::PumpUntil([&] { return edit->hasFocus(); }, 1000));
  // A click on the table takes the focus back to the control that had it before.
  Mouse(QEvent::MouseButtonPress, {50, 50}, Qt::LeftButton, Qt::LeftButton);
  view_->setFocus(Qt::MouseFocusReason);
  Mouse(QEvent::MouseButtonRelease, {50, 50}, Qt::LeftButton, Qt::NoButton);
  EXPECT_EQ(form_.Focus, &table_);
}

TEST_F(FormViewTest, TheWindowFollowsTheForm) {
  form_.Caption = "松竹麻将";
  form_.Left = 30 * 15;
  form_.Top = 20 * 15;
  Show();
  EXPECT_EQ(view_->windowTitle(), QString::fromUtf8("松竹麻将"));
  EXPECT_TRUE(view_->windowFlags().testFlag(Qt::FramelessWindowHint));
  EXPECT_EQ(view_->size(), QSize(200, 100));
  EXPECT_EQ(view_->pos(), QPoint(30, 20));
  EXPECT_TRUE(view_->isVisible());

  form_.Width = 300 * 15;
  form_.State = ui::WindowState::Minimized;
  view_->Refresh();
  EXPECT_EQ(view_->size(), QSize(300, 100));
  EXPECT_TRUE(view_->isMinimized());
  form_.State = ui::WindowState::Normal;
  view_->Refresh();
  EXPECT_FALSE(view_->isMinimized());
  form_.Visible = false;
  view_->Refresh();
  EXPECT_FALSE(view_->isVisible());
}

TEST_F(FormViewTest, WindowRequestsAreCarriedOutOnce) {
  Show();
  QLineEdit* edit = ChatEdit();
  ASSERT_NE(edit, nullptr);
  view_->activateWindow();
  // A press on the table asks for the focus in the text box and for a window move.
  onInput_ = [this](const ui::InputEvent& e) {
    if (e.kind != Kind::MouseDown) return;
    form_.FocusRequested = &chat_;
    form_.RaiseRequested = true;
    form_.MoveRequested = true;
  };
  Mouse(QEvent::MouseButtonPress, {50, 50}, Qt::LeftButton, Qt::LeftButton);
  onInput_ = nullptr;
  EXPECT_EQ(form_.FocusRequested, nullptr);
  EXPECT_FALSE(form_.RaiseRequested);
  EXPECT_FALSE(form_.MoveRequested);
  EXPECT_EQ(form_.Focus, &chat_);
  ASSERT_TRUE(test::PumpUntil([&] { return edit->hasFocus(); }, 1000));

  // Without a window system to move it, the window follows the dragging pointer itself.
  seen_.clear();
  const QPoint start = view_->pos();
  Mouse(QEvent::MouseMove, {70, 60}, Qt::NoButton, Qt::LeftButton);
  Mouse(QEvent::MouseButtonRelease, {70, 60}, Qt::LeftButton, Qt::NoButton);
  EXPECT_EQ(view_->pos(), start + QPoint(20, 10));
  EXPECT_EQ(form_.Left, (start.x() + 20) * 15);
  EXPECT_EQ(form_.Top, (start.y() + 10) * 15);
  EXPECT_TRUE(seen_.empty()) << "the drag raises no input";
  Mouse(QEvent::MouseMove, {80, 80}, Qt::NoButton, Qt::NoButton);
  EXPECT_EQ(view_->pos(), start + QPoint(20, 10)) << "the drag ended with the release";
}

TEST_F(FormViewTest, ClosingTheWindowUnloadsTheForm) {
  Show();
  seen_.clear();
  view_->close();
  EXPECT_EQ(Kinds(), std::vector{Kind::Unload});
  EXPECT_FALSE(form_.Visible);
  EXPECT_FALSE(view_->isVisible());

  // The Unload handler may keep the form.
  form_.Visible = true;
  view_->Refresh();
  onInput_ = [this](const ui::InputEvent& e) {
    if (e.kind == Kind::Unload) form_.Visible = true;
  };
  view_->close();
  EXPECT_TRUE(view_->isVisible());
}

TEST_F(FormViewTest, ABlockingSleepAppliesTheModelFirstAndRunsNoLogic) {
  view_ = std::make_unique<FormView>(form_);  // still hidden
  ASSERT_FALSE(view_->isVisible());
  form_.Caption = "before the sleep";
  form_.Visible = true;
  seen_.clear();
  QtClock clock;
  clock.Sleep(0);
  EXPECT_EQ(view_->windowTitle(), "before the sleep");
  EXPECT_TRUE(view_->isVisible());
  EXPECT_TRUE(seen_.empty()) << "the Resize of showing waits until events are handled";
  clock.PumpEvents();
  EXPECT_EQ(Kinds(), std::vector{Kind::Resize});
}

TEST(KeyCodes, QtKeysMapToVirtualKeyCodes) {
  struct Case {
    int key;
    bool keypad;
    int code;
  };
  const Case cases[] = {
      {Qt::Key_Escape, false, 27},   {Qt::Key_Return, false, 13},  {Qt::Key_Enter, true, 13},
      {Qt::Key_F1, false, 112},      {Qt::Key_F12, false, 123},    {Qt::Key_A, false, 65},
      {Qt::Key_Z, false, 90},        {Qt::Key_0, false, 48},       {Qt::Key_9, false, 57},
      {Qt::Key_0, true, 96},         {Qt::Key_9, true, 105},       {Qt::Key_Plus, true, 107},
      {Qt::Key_Alt, false, 18},      {Qt::Key_Shift, false, 16},   {Qt::Key_Control, false, 17},
      {Qt::Key_Left, false, 37},     {Qt::Key_Down, false, 40},    {Qt::Key_Space, false, 32},
      {Qt::Key_Backspace, false, 8}, {Qt::Key_Tab, false, 9},      {Qt::Key_Delete, false, 46},
      {Qt::Key_Colon, false, 186},   {Qt::Key_Exclam, false, 49},  {Qt::Key_Question, false, 191},
      {Qt::Key_unknown, false, 0},   {Qt::Key_VolumeUp, false, 0},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(VirtualKeyCode(c.key, c.keypad), c.code) << std::hex << c.key;
  }
  EXPECT_EQ(ShiftBits(Qt::ShiftModifier | Qt::AltModifier), 5);
  EXPECT_EQ(ShiftBits(Qt::ControlModifier | Qt::KeypadModifier), 2);
  EXPECT_EQ(ButtonBits(Qt::LeftButton | Qt::MiddleButton), 5);
  EXPECT_EQ(ButtonBits(Qt::RightButton | Qt::BackButton), 2);
}

}  // namespace
}  // namespace tallow::platform::qt
