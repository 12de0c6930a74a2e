// The files service on the local file system.
#pragma once

#include "platform/platform.h"

namespace tallow::platform {

class LocalFiles : public IFiles {
 public:
  std::optional<std::string> Read(const std::string& path) override;
  bool Write(const std::string& path, std::string_view bytes) override;
  bool Append(const std::string& path, std::string_view bytes) override;
  bool Exists(const std::string& path) override;
  bool Delete(const std::string& path) override;
  std::optional<FileStamp> Stamp(const std::string& path) override;
};

}  // namespace tallow::platform
