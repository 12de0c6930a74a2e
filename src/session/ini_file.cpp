#include "session/ini_file.h"

#include <algorithm>
#include <cctype>
#include <fstream>
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
  const std::string entry = key + "=" + value;
  auto lines = ReadLines(INIFileName);
  const std::string wantSection = Lower(section), wantKey = Lower(key);

  long sectionLine = -1, insertAt = -1, keyLine = -1;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    std::string name, k, v;
    if (SectionName(lines[i], name)) {
      if (sectionLine >= 0 && insertAt < 0) insertAt = static_cast<long>(i);
      if (Lower(name) == wantSection && sectionLine < 0) sectionLine = static_cast<long>(i);
    } else if (sectionLine >= 0 && insertAt < 0 && KeyValue(lines[i], k, v) &&
               Lower(k) == wantKey && keyLine < 0) {
      keyLine = static_cast<long>(i);
    }
  }
  if (keyLine >= 0) {
    lines[static_cast<std::size_t>(keyLine)] = entry;
  } else if (sectionLine >= 0) {
    // Append after the last non-blank line of the section.
    long at = insertAt < 0 ? static_cast<long>(lines.size()) : insertAt;
    while (at - 1 > sectionLine && Trim(lines[static_cast<std::size_t>(at - 1)]).empty()) --at;
    lines.insert(lines.begin() + at, entry);
  } else {
    lines.push_back("[" + section + "]");
    lines.push_back(entry);
  }
  std::ofstream out(INIFileName, std::ios::binary | std::ios::trunc);
  if (!out) return;  // a path that cannot be written has no effect
  for (const auto& l : lines) out << protocol::ToGbk(l) << "\r\n";
}

}  // namespace tallow
