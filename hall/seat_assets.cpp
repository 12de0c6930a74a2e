#include "seat_assets.h"

#include <filesystem>
#include <system_error>

namespace tallow::hall {
namespace {

namespace fs = std::filesystem;

constexpr const char* kSoundFolders[] = {"music", "mj"};

bool HoldsAssets(const fs::path& dir) {
  std::error_code ec;
  return fs::is_regular_file(dir / "chat.ini", ec) && fs::is_directory(dir / "common/music", ec) &&
         fs::is_directory(dir / "common/mj", ec);
}

// Makes `link` a link to `target`; "" or what went wrong.
std::string LinkFolder(const fs::path& target, const fs::path& link) {
  std::error_code ec;
  if (fs::is_symlink(link, ec)) {
    if (fs::read_symlink(link, ec) == target) return "";
    fs::remove(link, ec);
  } else if (fs::exists(link, ec)) {
    return "";  // the player's own folder
  }
  fs::create_directory_symlink(target, link, ec);
  // Another hall may have made the same link at the same moment.
  if (ec && !(fs::is_symlink(link) && fs::read_symlink(link, ec) == target)) {
    return "cannot link " + link.string() + " to " + target.string() + ": " + ec.message();
  }
  return "";
}

}  // namespace

std::string FindAssetsDir(const std::string& hallDir) {
  for (const char* relative : {"../assets", "../share/tallow/assets"}) {
    const fs::path dir = (fs::path(hallDir) / relative).lexically_normal();
    if (HoldsAssets(dir)) return dir.string();
  }
  return "";
}

std::string ProvideSeatAssets(const std::string& assetsDir, const std::string& seatDir) {
  std::error_code ec;
  const fs::path assets = fs::absolute(assetsDir, ec).lexically_normal();
  fs::path seat = fs::absolute(seatDir, ec).lexically_normal();
  if (!seat.has_filename()) seat = seat.parent_path();  // a trailing separator
  const fs::path common = seat.parent_path() / "common";
  fs::create_directories(common, ec);
  if (ec) return "cannot create " + common.string() + ": " + ec.message();
  for (const char* folder : kSoundFolders) {
    if (auto error = LinkFolder(assets / "common" / folder, common / folder); !error.empty()) {
      return error;
    }
  }
  const fs::path phrases = seat / "chat.ini";
  if (!fs::exists(phrases, ec)) {
    fs::copy_file(assets / "chat.ini", phrases, ec);
    if (ec && !fs::exists(phrases)) return "cannot copy chat.ini: " + ec.message();
  }
  return "";
}

}  // namespace tallow::hall
