// A small INI file reader and writer: case-insensitive sections and keys, the file created
// on the first write, "" for whatever is missing. Text in the file is GBK.
#pragma once

#include <set>
#include <string>
#include <utility>
#include <vector>

#include "platform/ini_memo.h"
#include "platform/platform.h"

namespace tallow {

class classIniFile {
 public:
  classIniFile(platform::IFiles& files, std::string fileName, IniFileMemo* memo = nullptr)
      : INIFileName(std::move(fileName)), files_(&files), memo_(memo) {}

  std::string INIFileName;

  void WriteIniKey(const std::string& section, const std::string& key, const std::string& value);
  // Writes many keys of one section at once, as WriteIniKey would one after the other, with a
  // single read and a single write of the file.
  void WriteIniKeys(const std::string& section,
                    const std::vector<std::pair<std::string, std::string>>& entries);
  std::string GetIniKey(const std::string& section, const std::string& key) const;

  static constexpr std::size_t kMaxValueChars = 1023;

 private:
  // Appends a section the memo shows the file lacks; false when the memo cannot tell.
  bool AppendKnownNewSection(const std::string& wantSection, const std::string& text);
  // Takes the file's stamp after a write that left it with these sections.
  void Remember(std::set<std::string> sections);

  platform::IFiles* files_;
  IniFileMemo* memo_;
};

}  // namespace tallow
