// The artwork embedded as Qt resources: ":/art/<id>.png" and ":/art/<name>.png".
#pragma once

#include <QString>

#include "platform/controls.h"
#include "platform/platform.h"

namespace tallow::platform::qt {

// The resource path of a picture ("" for no picture). A resource id wins over a name.
QString PicturePath(const ui::Picture& picture);

class QtResources : public IResources {
 public:
  bool HasPicture(int id) const override;
};

}  // namespace tallow::platform::qt
