#include "art_resources.h"

#include <QtCore/qglobal.h>

// Q_INIT_RESOURCE must be used outside any namespace.
static void InitArtResourcesGlobal() {
  Q_INIT_RESOURCE(art);
}

namespace tallow {

void InitArtResources() {
  InitArtResourcesGlobal();
}

}  // namespace tallow
