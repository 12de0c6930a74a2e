// The scale of the table layout: 1.0 on the full layout, 0.78125 on the small one.
#pragma once

namespace tallow {

struct LayoutState {
  double ScaleX = 1.0;
  double ScaleY = 1.0;
};

}  // namespace tallow
