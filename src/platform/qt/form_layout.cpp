#include "platform/qt/form_layout.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <functional>
#include <string_view>
#include <unordered_map>

namespace tallow::platform::qt {
namespace {

constexpr int kMaxDepth = 32;  // containers nest a few levels; deeper means a broken model

using Children = std::unordered_map<const ui::Control*, std::vector<ui::Control*>>;

void Place(ui::Control* c, QPoint origin, const QRect& clip, const Children& children, int depth,
           std::vector<PlacedControl>& out) {
  if (!c->Visible || depth > kMaxDepth) return;
  const QRect rect(origin.x() + ToPixels(c->Left), origin.y() + ToPixels(c->Top),
                   std::max(0, ToPixels(c->Width)), std::max(0, ToPixels(c->Height)));
  out.push_back({c, rect, clip});
  auto it = children.find(c);
  if (it == children.end()) return;
  const QRect inner = clip.intersected(rect);
  for (ui::Control* child : it->second) {
    Place(child, rect.topLeft(), inner, children, depth + 1, out);
  }
}

// A 64-bit digest of the fields, eight bytes at a time (the whole table is digested after
// every timer tick, so it must stay cheap).
class Digest {
 public:
  void Bytes(const void* p, std::size_t n) {
    const auto* b = static_cast<const unsigned char*>(p);
    for (; n >= 8; b += 8, n -= 8) {
      std::uint64_t w;
      std::memcpy(&w, b, 8);
      Mix(w);
    }
    if (n > 0) {
      std::uint64_t w = n;  // the count keeps "a" and "a\0" apart
      std::memcpy(reinterpret_cast<unsigned char*>(&w) + 1, b, n);
      Mix(w);
    }
  }
  template <class T>
  void Add(const T& v) {
    static_assert(std::is_trivially_copyable_v<T>);
    Bytes(&v, sizeof v);
  }
  void Add(std::string_view s) {
    Add(s.size());
    Bytes(s.data(), s.size());
  }
  void Add(const std::string& s) { Add(std::string_view(s)); }
  std::uint64_t Value() const { return h_; }

 private:
  void Mix(std::uint64_t w) {
    h_ = (h_ ^ w) * 0x9e3779b97f4a7c15ULL;
    h_ ^= h_ >> 29;
  }
  std::uint64_t h_ = 0xcbf29ce484222325ULL;
};

void AddControl(Digest& d, const ui::Control& c) {
  d.Add(&c);
  d.Add(c.Parent);
  d.Add(c.Left);
  d.Add(c.Top);
  d.Add(c.Width);
  d.Add(c.Height);
  d.Add(c.Visible);
  d.Add(c.Enabled);
  d.Add(c.Pointer);
  d.Add(c.ToolTipText);
  switch (c.Kind()) {
    case ui::ControlKind::Image: {
      const auto& i = static_cast<const ui::Image&>(c);
      d.Add(i.picture.id);
      d.Add(i.picture.name);
      d.Add(i.Stretch);
      d.Add(i.Source.x);
      d.Add(i.Source.y);
      d.Add(i.Source.width);
      d.Add(i.Source.height);
      break;
    }
    case ui::ControlKind::Label: {
      const auto& l = static_cast<const ui::Label&>(c);
      d.Add(l.Caption);
      d.Add(l.ForeColor);
      d.Add(l.FontSize);
      d.Add(l.FontBold);
      d.Add(l.Transparent);
      d.Add(l.BackColor);
      break;
    }
    case ui::ControlKind::ListBox: {
      const auto& l = static_cast<const ui::ListBox&>(c);
      d.Add(l.lines.size());
      for (const auto& line : l.lines) d.Add(line);
      d.Add(l.TopIndex);
      d.Add(l.ListIndex);
      d.Add(l.ForeColor);
      d.Add(l.BackColor);
      d.Add(l.FontSize);
      d.Add(l.FixedPitch);
      break;
    }
    case ui::ControlKind::TextBox: {
      const auto& t = static_cast<const ui::TextBox&>(c);
      d.Add(t.Text);
      d.Add(t.SelStart);
      d.Add(t.MaxLength);
      d.Add(t.ForeColor);
      d.Add(t.BackColor);
      d.Add(t.FontSize);
      break;
    }
    case ui::ControlKind::Browser:
      d.Add(static_cast<const ui::Browser&>(c).Url);
      d.Add(static_cast<const ui::Browser&>(c).Navigations);
      break;
  }
}

}  // namespace

int ToPixels(double v) {
  if (!std::isfinite(v)) return 0;
  return static_cast<int>(std::lround(std::clamp(v, -1.0e6, 1.0e6)));
}

std::vector<PlacedControl> PlaceControls(const ui::Form& form) {
  const auto& order = form.PaintOrder();
  Children children;
  std::vector<ui::Control*> roots;
  for (ui::Control* c : order) {
    if (c->Parent != nullptr && c->Parent != c && c->Parent->Owner == &form) {
      children[c->Parent].push_back(c);
    } else {
      roots.push_back(c);
    }
  }
  std::vector<PlacedControl> out;
  out.reserve(order.size());
  const QRect all(-1000000, -1000000, 2000000, 2000000);
  for (ui::Control* c : roots) Place(c, QPoint(0, 0), all, children, 0, out);
  return out;
}

Hit HitTest(const std::vector<PlacedControl>& placed, QPoint point) {
  for (auto it = placed.rbegin(); it != placed.rend(); ++it) {
    if (!it->rect.intersected(it->clip).contains(point)) continue;
    ui::Control* c = it->control;
    int depth = 0;
    while (c != nullptr && !c->Enabled && ++depth <= kMaxDepth) c = c->Parent;
    if (c == nullptr || !c->Enabled) return {nullptr, point};
    return {c, point - PlacedRect(placed, c).topLeft()};
  }
  return {nullptr, point};
}

QPoint ControlOrigin(const ui::Form& form, const ui::Control* control) {
  QPoint origin(0, 0);
  for (int depth = 0; control != nullptr && depth <= kMaxDepth; ++depth) {
    origin += QPoint(ToPixels(control->Left), ToPixels(control->Top));
    const ui::Control* parent = control->Parent;
    if (parent == control || (parent != nullptr && parent->Owner != &form)) break;
    control = parent;
  }
  return origin;
}

QRect PlacedRect(const std::vector<PlacedControl>& placed, const ui::Control* control) {
  for (const auto& p : placed) {
    if (p.control == control) return p.rect;
  }
  return QRect();
}

std::uint64_t Fingerprint(const ui::Form& form) {
  Digest d;
  d.Add(form.Caption);
  d.Add(form.Left);
  d.Add(form.Top);
  d.Add(form.Width);
  d.Add(form.Height);
  d.Add(form.Visible);
  d.Add(form.State);
  d.Add(form.Borderless);
  d.Add(form.BackColor);
  d.Add(form.Focus);
  d.Add(form.MoveRequested);
  d.Add(form.RaiseRequested);
  d.Add(form.FocusRequested);
  // A hidden window shows nothing: its controls are applied when it is shown again.
  if (!form.Visible) return d.Value();
  for (const ui::Control* c : form.PaintOrder()) AddControl(d, *c);
  return d.Value();
}

}  // namespace tallow::platform::qt
