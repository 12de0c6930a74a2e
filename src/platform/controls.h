// The retained model of the client's windows and their controls. The logic writes and reads
// it; the Qt layer renders it and turns input into the events the logic handles.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/failure.h"

namespace tallow::ui {

using Color = std::uint32_t;  // 0xRRGGBB
inline constexpr Color kBlack = 0x000000;
inline constexpr Color kWhite = 0xFFFFFF;

// A picture is a resource id (0 = no picture) or a named picture of the artwork.
struct Picture {
  int id = 0;
  std::string name;
  bool Empty() const { return id == 0 && name.empty(); }
  bool operator==(const Picture&) const = default;
};

enum class MousePointer { Default, Arrow, SizeAll, Custom };
enum class WindowState { Normal, Minimized, Maximized };
enum class ZPosition { Front, Back };
enum class ControlKind { Image, Label, ListBox, TextBox, Browser };

class Form;
struct Control;

// Input the Qt layer raises on the topmost control under the pointer (or on the form).
enum class InputKind {
  MouseDown,
  MouseUp,
  MouseMove,
  Click,
  DblClick,
  KeyDown,
  KeyUp,
  KeyPress,
  Resize,
  Unload,
  TextChanged,
  DocumentComplete,  // a browser control's page has finished loading
  NavigateError      // a browser control's page could not be loaded
};
enum MouseButton { kLeftButton = 1, kRightButton = 2, kMiddleButton = 4 };
enum ShiftState { kShiftMask = 1, kCtrlMask = 2, kAltMask = 4 };

struct InputEvent {
  InputKind kind = InputKind::Click;
  Control* control = nullptr;  // nullptr: the form itself
  int button = 0;              // MouseButton bits
  int shift = 0;               // ShiftState bits
  double x = 0, y = 0;         // pixels inside the control (or the form)
  int keyCode = 0;             // virtual key code for KeyDown/KeyUp (VK_ numbering)
  std::uint32_t keyChar = 0;   // Unicode character for KeyPress
};

struct Control {
  virtual ~Control() = default;
  virtual ControlKind Kind() const = 0;

  std::string Name;
  int Index = -1;  // element index inside a control array; -1 for a single control
  double Left = 0, Top = 0, Width = 0, Height = 0;
  bool Visible = true;
  bool Enabled = true;
  Form* Owner = nullptr;
  MousePointer Pointer = MousePointer::Default;
  std::string ToolTipText;
  // The container whose client area the position is relative to (Pic1 for table controls);
  // nullptr: relative to the form's client area.
  Control* Parent = nullptr;

  void Move(double left, double top) {
    Left = left;
    Top = top;
  }
  void Move(double left, double top, double width, double height) {
    Left = left;
    Top = top;
    Width = width;
    Height = height;
  }
  void ZOrder(ZPosition pos = ZPosition::Front);
};

// A rectangle in a picture's own pixels.
struct Rect {
  double x = 0, y = 0, width = 0, height = 0;
  bool Empty() const { return width <= 0 || height <= 0; }
  bool operator==(const Rect&) const = default;
};

struct Image : Control {
  ControlKind Kind() const override { return ControlKind::Image; }
  Picture picture;
  bool Stretch = false;
  // When set, only this part of the picture is shown, scaled into the control.
  Rect Source;
};

struct Label : Control {
  ControlKind Kind() const override { return ControlKind::Label; }
  std::string Caption;
  Color ForeColor = kBlack;
  double FontSize = 9;
  bool FontBold = false;
  bool Transparent = true;
  Color BackColor = kWhite;
};

struct ListBox : Control {
  ControlKind Kind() const override { return ControlKind::ListBox; }
  std::vector<std::string> lines;
  int TopIndex = 0;
  int ListIndex = -1;
  Color ForeColor = kBlack;
  Color BackColor = kWhite;
  double FontSize = 9;
  // Latin letters, digits and spaces half as wide as a Chinese character, so that lines padded
  // with spaces line up in columns.
  bool FixedPitch = false;
  // A frame around the list; a list without one uses its whole height for its lines.
  bool Border = true;

  void AddItem(std::string line) { lines.push_back(std::move(line)); }
  void Clear() {
    lines.clear();
    TopIndex = 0;
    ListIndex = -1;
  }
  int ListCount() const { return static_cast<int>(lines.size()); }
};

struct TextBox : Control {
  ControlKind Kind() const override { return ControlKind::TextBox; }
  std::string Text;
  int SelStart = 0;
  int MaxLength = 0;
  Color ForeColor = kBlack;
  Color BackColor = kWhite;
  double FontSize = 9;
};

// An embedded web view. The platform loads the page of every navigation and raises
// DocumentComplete or NavigateError on the control.
struct Browser : Control {
  ControlKind Kind() const override { return ControlKind::Browser; }
  std::string Url;
  int Navigations = 0;  // each navigation loads Url afresh, the same address too
  void Navigate(std::string url) {
    Url = std::move(url);
    ++Navigations;
  }
};

// A form owns its controls and their z-order (front = last).
class Form {
 public:
  explicit Form(std::string name) : Name(std::move(name)) {}
  virtual ~Form() = default;
  Form(const Form&) = delete;
  Form& operator=(const Form&) = delete;

  std::string Name;
  std::string Caption;
  double Left = 0, Top = 0, Width = 0, Height = 0;  // twips, screen coordinates
  bool Visible = false;
  WindowState State = WindowState::Normal;
  bool Borderless = false;
  Color BackColor = 0xF0F0F0;  // the client area behind the controls
  // The control that receives key events (nullptr: the form). The logic sets it (the table
  // picture, or a text box to give it the caret); the Qt layer moves it to a text box the
  // user clicks into and back to the previous control when the user clicks elsewhere.
  Control* Focus = nullptr;

  // Creates a control owned by the form, placed in front of the others.
  template <class T>
  T& Create(std::string name, int index = -1) {
    auto p = std::make_unique<T>();
    p->Name = std::move(name);
    p->Index = index;
    p->Owner = this;
    T& ref = *p;
    zorder_.push_back(&ref);
    controls_.push_back(std::move(p));
    return ref;
  }

  // The logic's handler of this form's input; set by whoever owns the form's events.
  std::function<void(const InputEvent&)> OnInput;
  // Requests the window system carries out for the form while it handles the current input:
  // start moving the window with the mouse, raise it to the top without staying topmost.
  bool MoveRequested = false;
  bool RaiseRequested = false;
  // The text box that should get the keyboard focus, if any.
  Control* FocusRequested = nullptr;

  // Front: in front of every control. Back: behind its siblings inside the same container.
  void ZOrder(Control& c, ZPosition pos);
  // Controls in painting order, back to front.
  const std::vector<Control*>& PaintOrder() const { return zorder_; }
  // Position in the painting order (0 = backmost), or -1.
  int ZIndex(const Control& c) const;
  // Finds a control by name and index, or nullptr.
  Control* Find(const std::string& name, int index = -1) const;

 private:
  std::vector<std::unique_ptr<Control>> controls_;
  std::vector<Control*> zorder_;
};

// A control array: element 0 usually exists at design time, the others are loaded at run
// time. Access to an element that is not loaded, or outside the declared bound, is a failure.
template <class T>
class ControlArray {
 public:
  ControlArray(Form& form, std::string name, int upper) : form_(form), name_(std::move(name)) {
    elements_.resize(static_cast<std::size_t>(upper) + 1, nullptr);
  }

  T& Load(int i) {
    CheckBound(i);
    if (elements_[i] != nullptr) throw RuntimeFailure("control array element already loaded");
    elements_[i] = &form_.Create<T>(name_, i);
    return *elements_[i];
  }
  // Loads the element unless it is loaded already.
  T& Ensure(int i) {
    CheckBound(i);
    return elements_[i] != nullptr ? *elements_[i] : Load(i);
  }
  bool IsLoaded(int i) const {
    return i >= 0 && i < static_cast<int>(elements_.size()) && elements_[i] != nullptr;
  }
  T& operator()(int i) const {
    CheckBound(i);
    if (elements_[i] == nullptr) {
      throw RuntimeFailure("control " + name_ + "(" + std::to_string(i) + ") not loaded");
    }
    return *elements_[i];
  }
  int Upper() const { return static_cast<int>(elements_.size()) - 1; }
  const std::string& Name() const { return name_; }

 private:
  void CheckBound(int i) const {
    if (i < 0 || i >= static_cast<int>(elements_.size())) {
      throw RuntimeFailure("control " + name_ + "(" + std::to_string(i) + ") out of bounds");
    }
  }
  Form& form_;
  std::string name_;
  std::vector<T*> elements_;
};

}  // namespace tallow::ui
