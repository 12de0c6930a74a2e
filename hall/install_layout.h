// Where the hall finds the programs and pages it gives its seats, both in the build tree and in
// an installed prefix (PREFIX/games/tallow-hall beside PREFIX/games/tallow, the shared files under
// PREFIX/share/tallow/). The sounds are found by FindAssetsDir (seat_assets.h).
#pragma once

#include <string>

namespace tallow::hall {

// The table client: `option` when given; else the "tallow" beside the hall (an installed hall
// must never start a build tree's client); else `builtClient`, the one built with the hall, when
// it exists; else the "tallow" beside the hall, for the error message.
std::string FindClientProgram(const std::string& option, const std::string& hallDir,
                              const std::string& builtClient);

// The local copy of the operator's web site (rules page, web panel): "<hallDir>/../site" in the
// build tree, "<hallDir>/../share/tallow/site" once installed. Empty when neither holds the
// rules page.
std::string FindSiteDir(const std::string& hallDir);

}  // namespace tallow::hall
