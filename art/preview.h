// A sample table composed from the pictures at the places the table layout puts them: the wall,
// a hand, discards, dice, claim buttons, portraits, toolbar and indicators. Only for looking at
// the artwork together; the client lays out its own table.
#pragma once

#include <QImage>

#include "picture.h"

namespace tallow::art {

QImage TablePreview(const Catalogue& catalogue);

}  // namespace tallow::art
