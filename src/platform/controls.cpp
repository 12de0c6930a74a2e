#include "platform/controls.h"

#include <algorithm>

namespace tallow::ui {

void Control::ZOrder(ZPosition pos) {
  if (Owner != nullptr) Owner->ZOrder(*this, pos);
}

void Form::ZOrder(Control& c, ZPosition pos) {
  auto it = std::find(zorder_.begin(), zorder_.end(), &c);
  if (it == zorder_.end()) return;
  zorder_.erase(it);
  if (pos == ZPosition::Front) {
    zorder_.push_back(&c);
    return;
  }
  // The back of a container's children is just in front of the container itself.
  auto at = zorder_.begin();
  if (c.Parent != nullptr) {
    auto parent = std::find(zorder_.begin(), zorder_.end(), c.Parent);
    if (parent != zorder_.end()) at = parent + 1;
  }
  zorder_.insert(at, &c);
}

int Form::ZIndex(const Control& c) const {
  auto it = std::find(zorder_.begin(), zorder_.end(), &c);
  return it == zorder_.end() ? -1 : static_cast<int>(it - zorder_.begin());
}

Control* Form::Find(const std::string& name, int index) const {
  for (const auto& c : controls_) {
    if (c->Name == name && c->Index == index) return c.get();
  }
  return nullptr;
}

}  // namespace tallow::ui
