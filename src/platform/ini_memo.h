// What this client knows of a sectioned text file it writes (classIniFile), kept in the state of
// the subsystem that owns the file.
#pragma once

#include <set>
#include <string>

#include "platform/platform.h"

namespace tallow {

// What a file held after this program's last write to it: its path, its stamp and its
// sections (lower case). While the stamp is unchanged a new section is appended without
// reading the file back, which keeps a record that grows by a section a hand from costing
// a read of the whole record every hand.
struct IniFileMemo {
  std::string path;
  platform::FileStamp stamp;
  std::set<std::string> sections;
};

}  // namespace tallow
