// A contact sheet: every picture of the catalogue (or of the families whose name starts with a
// prefix), enlarged, labelled with its key and size, on a checkerboard that shows transparency.
#pragma once

#include <QImage>
#include <QString>

#include "picture.h"

namespace tallow::art {

QImage ContactSheet(const Catalogue& catalogue, const QString& familyPrefix, int scale);

}  // namespace tallow::art
