// Where a form's controls lie on its client area, in the order they are painted, and which
// control the pointer is over. Painting, hit testing and the text boxes' widgets all use this.
#pragma once

#include <QPoint>
#include <QRect>
#include <cstdint>
#include <vector>

#include "platform/controls.h"

namespace tallow::platform::qt {

struct PlacedControl {
  ui::Control* control = nullptr;
  QRect rect;  // the control's own rectangle, in client pixels of the form
  QRect clip;  // what its containers leave visible of the client area
};

// The visible controls (a control inside a hidden container is not visible), back to front.
// Top-level controls follow the form's z-order; each container is followed by its children in
// their z-order, so a child always lies over its container. A control whose Parent belongs to
// another form counts as top-level.
std::vector<PlacedControl> PlaceControls(const ui::Form& form);

struct Hit {
  ui::Control* control = nullptr;  // nullptr: the form itself
  QPoint local;                    // the point relative to the control (or the form)
};

// The topmost placed control whose visible part contains the point. A disabled control passes
// the pointer to its nearest enabled container, as windowless controls do.
Hit HitTest(const std::vector<PlacedControl>& placed, QPoint point);
inline Hit HitTest(const ui::Form& form, QPoint point) {
  return HitTest(PlaceControls(form), point);
}

// The top-left corner of a control in client pixels of the form, placed or not.
QPoint ControlOrigin(const ui::Form& form, const ui::Control* control);

// Where a control lies now (empty rectangle when it is not placed).
QRect PlacedRect(const std::vector<PlacedControl>& placed, const ui::Control* control);

// A digest of everything the view shows of a form; it changes whenever the view must repaint.
std::uint64_t Fingerprint(const ui::Form& form);

// Pixels of a model coordinate, clamped to a sane range.
int ToPixels(double v);

}  // namespace tallow::platform::qt
