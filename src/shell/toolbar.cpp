#include "shell/toolbar.h"

#include "hand/layout.h"
#include "session/client.h"

namespace tallow {

void UnlockStartButton(Client& c) {
  auto& f = c.mainForm;
  c.toolbar.ToolbarLock(2) = 0;
  LoadResourcePicture(c, f.AnNiu(2), ImageId(c.images.ButtonImageIds(4)));
  f.Time_Img.Visible = false;
  f.Number.Visible = false;
}

void LockStartButton(Client& c) {
  c.toolbar.ToolbarLock(2) = -1;
}

}  // namespace tallow
