// The users file: one account a line, "account password [coins] [nickname]".
#pragma once

#include <istream>
#include <map>
#include <string>

#include "core/config.h"

namespace tallow::server {

// Reads accounts; blank lines and lines starting with '#' are skipped, and so are lines
// without a password. A nickname may contain spaces (the rest of the line, UTF-8).
std::map<std::string, Account> ReadUsers(std::istream& in);

}  // namespace tallow::server
