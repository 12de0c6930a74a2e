// What the table client finds beside its application directory: the table sounds in
// "../common/music/", the voices in "../common/mj/" and the phrase file "chat.ini" inside it.
// The build makes them once (sounds/); every seat directory of the hall shares them.
#pragma once

#include <string>

namespace tallow::hall {

// The generated sounds, voices and default phrase file, found from the hall's own directory:
// "<hallDir>/../assets" in the build tree, "<hallDir>/../share/tallow/assets" once installed.
// Empty when neither holds them.
std::string FindAssetsDir(const std::string& hallDir);

// Gives a seat directory what the client expects: "../common/music" and "../common/mj" become
// links to the generated folders (a link to elsewhere is moved, a real folder is left alone as
// the player's own), and "chat.ini" is copied from the default unless the seat has one already.
// Returns what went wrong, or "".
std::string ProvideSeatAssets(const std::string& assetsDir, const std::string& seatDir);

}  // namespace tallow::hall
