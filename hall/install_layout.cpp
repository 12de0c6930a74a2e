#include "install_layout.h"

#include <filesystem>
#include <system_error>

namespace tallow::hall {
namespace {

namespace fs = std::filesystem;

bool IsFile(const fs::path& file) {
  std::error_code ec;
  return fs::is_regular_file(file, ec);
}

}  // namespace

std::string FindClientProgram(const std::string& option, const std::string& hallDir,
                              const std::string& builtClient) {
  if (!option.empty()) return option;
  const fs::path beside = fs::path(hallDir) / "tallow";
  if (IsFile(beside)) return beside.string();
  if (!builtClient.empty() && IsFile(builtClient)) return builtClient;
  return beside.string();
}

std::string FindSiteDir(const std::string& hallDir) {
  for (const char* relative : {"../site", "../share/tallow/site"}) {
    const fs::path dir = (fs::path(hallDir) / relative).lexically_normal();
    if (IsFile(dir / "gameinfo/tallowmj/index.html")) return dir.string();
  }
  return "";
}

}  // namespace tallow::hall
