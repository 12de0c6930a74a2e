#include "core/server_util.h"

#include <algorithm>

namespace tallow::server::detail {

bool ForWatchers(int type) {
  switch (type) {
    case 1:
    case 2:
    case 4:
    case 5:
    case 7:
    case 8:
    case 9:
    case 14:
    case 15:
    case 16:
    case 17:
    case 19:
    case 21:
    case 22:
    case 23:
      return true;
    default:
      return false;
  }
}

std::string Text(const protocol::Record& rec, std::size_t offset, std::size_t max) {
  auto bytes = protocol::CString(rec, offset, max);
  return std::string(bytes.begin(), bytes.end());
}

bool PrintableAccount(const std::string& a) {
  if (a.empty()) return false;
  return std::all_of(a.begin(), a.end(), [](char c) { return c > 0x20 && c < 0x7F; });
}

}  // namespace tallow::server::detail
