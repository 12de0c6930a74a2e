// Paints a form from its model: the same code draws the window and the offscreen pictures.
#pragma once

#include <QFont>
#include <QImage>
#include <QPainter>
#include <QSize>
#include <vector>

#include "platform/controls.h"
#include "platform/qt/form_layout.h"

namespace tallow::platform::qt {

class PixmapCache;

// A font of the given size in points (at 96 dots per inch, whatever the device), with the CJK
// font "WenQuanYi Zen Hei" when the system has it; fixed pitch: its "Mono" face, whose Latin
// characters are half as wide as the Chinese ones.
QFont ControlFont(double points, bool bold, bool fixedPitch = false);
// The font a list box draws its lines in.
QFont ListFont(const ui::ListBox& list);
// The height of one line of a list box.
int ListLineHeight(const ui::ListBox& list);
// The first line a list box shows: its TopIndex, but never so far down that rows stay empty
// below the last line (a list scrolls no further than its last page).
int ListTopLine(const ui::ListBox& list);
// The line of a list box at a height inside it, or -1 below the last line.
int ListLineAt(const ui::ListBox& list, int y);

// The client size of a form in pixels (its twips / 15, at least 1 x 1).
QSize FormPixelSize(const ui::Form& form);

struct PaintOptions {
  // The window shows its text boxes as real line edits; pictures paint them.
  bool paintTextBoxes = true;
};

// Paints the form's background and its placed controls onto the painter.
void PaintForm(QPainter& painter, const ui::Form& form, const std::vector<PlacedControl>& placed,
               QSize client, PixmapCache& pixmaps, PaintOptions options = {});

// The form painted offscreen at its own size.
QImage RenderToImage(const ui::Form& form);

}  // namespace tallow::platform::qt
