#include "session/ini_file.h"

#include <algorithm>
#include <cctype>
#include <fstream>
#include <map>
#include <sstream>
#include <vector>

#include "protocol/gbk.h"

namespace tallow {
namespace {

std::string Lower(std::string s) {
  std::transform(s.begin(), s.end(), s.begin(),
                 [](unsigned char ch) { return static_cast<char>(std::tolower(ch)); });
  return s;
}

std::string Trim(const std::string& s) {
  const auto b = s.find_first_not_of(" \t\r");
  if (b == std::string::npos) return "";
  const auto e = s.find_last_not_of(" \t\r");
  return s.substr(b, e - b + 1);
}

std::vector<std::string> ReadLines(const std::string& path) {
  std::vector<std::string> lines;
  std::ifstream in(path, std::ios::binary);
  std::string line;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(protocol::FromGbk(line));  // compared and edited as UTF-8
  }
  return lines;
}

// "[name]" gives name; anything else gives nothing.
bool SectionName(const std::string& line, std::string& name) {
  const std::string t = Trim(line);
  if (t.size() < 2 || t.front() != '[') return false;
  const auto close = t.find(']');
  if (close == std::string::npos) return false;
  name = Trim(t.substr(1, close - 1));
  return true;
}

// "key=value" gives key and value (both trimmed).
bool KeyValue(const std::string& line, std::string& key, std::string& value) {
  const auto eq = line.find('=');
  if (eq == std::string::npos) return false;
  key = Trim(line.substr(0, eq));
  value = Trim(line.substr(eq + 1));
  return !key.empty();
}

}  // namespace

std::string classIniFile::GetIniKey(const std::string& section, const std::string& key) const {
  const std::string wantSection = Lower(section);
  const std::string wantKey = Lower(key);
  bool inSection = false;
  for (const auto& line : ReadLines(INIFileName)) {
    std::string name, k, v;
    if (SectionName(line, name)) {
      inSection = Lower(name) == wantSection;
    } else if (inSection && KeyValue(line, k, v) && Lower(k) == wantKey) {
      std::string text = v;
      // The value read back is at most 1023 characters, without surrounding blanks or NULs.
      text = protocol::FirstChars(text, kMaxValueChars);
      text.erase(std::remove(text.begin(), text.end(), '\0'), text.end());
      return Trim(text);
    }
  }
  return "";
}

void classIniFile::WriteIniKey(const std::string& section, const std::string& key,
                               const std::string& value) {
  WriteIniKeys(section, {{key, value}});
}

void classIniFile::WriteIniKeys(const std::string& section,
                                const std::vector<std::pair<std::string, std::string>>& entries) {
  auto lines = ReadLines(INIFileName);
  const std::string wantSection = Lower(section);
  // The section's first line and the line after its last entry.
  long head = -1;
  std::size_t end = lines.size();
  for (std::size_t i = 0; i < lines.size(); ++i) {
    std::string name;
    if (!SectionName(lines[i], name)) continue;
    if (head >= 0) {
      end = i;
      break;
    }
    if (Lower(name) == wantSection) head = static_cast<long>(i);
  }
  if (head < 0) {
    lines.push_back("[" + section + "]");
    head = static_cast<long>(lines.size()) - 1;
    end = lines.size();
  }
  // The section's existing keys, first occurrence of each.
  std::map<std::string, std::size_t> keyLine;
  for (std::size_t i = static_cast<std::size_t>(head) + 1; i < end; ++i) {
    std::string k, v;
    if (KeyValue(lines[i], k, v)) keyLine.emplace(Lower(k), i);
  }
  // New keys go after the section's last non-blank line, in the order they are written.
  std::size_t at = end;
  while (at - 1 > static_cast<std::size_t>(head) && Trim(lines[at - 1]).empty()) --at;
  std::vector<std::string> added;
  std::map<std::string, std::size_t> addedIndex;
  for (const auto& [key, value] : entries) {
    const std::string entry = key + "=" + value;
    const std::string low = Lower(key);
    if (auto it = keyLine.find(low); it != keyLine.end()) {
      lines[it->second] = entry;
    } else if (auto a = addedIndex.find(low); a != addedIndex.end()) {
      added[a->second] = entry;
    } else {
      addedIndex.emplace(low, added.size());
      added.push_back(entry);
    }
  }
  lines.insert(lines.begin() + static_cast<long>(at), added.begin(), added.end());
  std::ofstream out(INIFileName, std::ios::binary | std::ios::trunc);
  if (!out) return;  // a path that cannot be written has no effect
  for (const auto& l : lines) out << protocol::ToGbk(l) << "\r\n";
}

}  // namespace tallow
