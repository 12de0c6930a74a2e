#include "platform/local_files.h"

#include <filesystem>
#include <fstream>

namespace tallow::platform {
namespace {

bool Put(const std::string& path, std::string_view bytes, std::ios::openmode mode) {
  std::ofstream out(path, std::ios::binary | mode);
  if (!out) return false;
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  return static_cast<bool>(out.flush());
}

}  // namespace

std::optional<std::string> LocalFiles::Read(const std::string& path) {
  // Only regular files: a device or a pipe under the file's name must not block the client.
  std::error_code ec;
  if (!std::filesystem::is_regular_file(path, ec)) return std::nullopt;
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (in.bad()) return std::nullopt;
  return bytes;
}

bool LocalFiles::Write(const std::string& path, std::string_view bytes) {
  return Put(path, bytes, std::ios::trunc);
}

bool LocalFiles::Append(const std::string& path, std::string_view bytes) {
  return Put(path, bytes, std::ios::app);
}

bool LocalFiles::Exists(const std::string& path) {
  std::error_code ec;
  return std::filesystem::exists(path, ec);
}

bool LocalFiles::Delete(const std::string& path) {
  std::error_code ec;
  std::filesystem::remove(path, ec);
  return !std::filesystem::exists(path, ec);
}

}  // namespace tallow::platform
