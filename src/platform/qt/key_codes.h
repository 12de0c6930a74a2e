// Qt's keys, modifiers and buttons in the numbering the client's logic handles: Windows virtual
// key codes, shift bits (1 shift, 2 ctrl, 4 alt) and button bits (1 left, 2 right, 4 middle).
#pragma once

#include <Qt>

namespace tallow::platform::qt {

// The virtual key code of a Qt key (0 for keys without one). keypad: the key is on the numeric
// keypad (digits and operators there have codes of their own).
int VirtualKeyCode(int qtKey, bool keypad);
int ShiftBits(Qt::KeyboardModifiers modifiers);
int ButtonBits(Qt::MouseButtons buttons);

}  // namespace tallow::platform::qt
