#include "base/ini_file.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <map>
#include <set>
#include <string_view>
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

// Calls f with each line of the raw text (without its "\n" and a trailing "\r") until f
// returns false.
template <class F>
void ForEachRawLine(std::string_view text, F f) {
  std::size_t at = 0;
  while (at < text.size()) {
    const void* nl = std::memchr(text.data() + at, '\n', text.size() - at);
    const std::size_t end =
        nl != nullptr ? static_cast<std::size_t>(static_cast<const char*>(nl) - text.data())
                      : text.size();
    std::string_view line = text.substr(at, end - at);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (!f(line)) return;
    at = end + 1;
  }
}

// Lines are compared and edited as UTF-8.
std::vector<std::string> DecodeLines(std::string_view raw) {
  std::vector<std::string> lines;
  ForEachRawLine(raw, [&](std::string_view line) {
    lines.push_back(protocol::FromGbk(std::string(line)));
    return true;
  });
  return lines;
}

// Whether a raw line may be a section header. A GBK trail byte never starts a line, so the
// test is safe on the undecoded bytes; only such lines need decoding while searching.
bool MayBeSectionLine(std::string_view line) {
  const auto b = line.find_first_not_of(" \t\r");
  return b != std::string_view::npos && line[b] == '[';
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

// Calls f with the lower-case name of every section header of the raw text until f returns
// false. Only lines that start with '[' are looked at, found by searching for the bracket
// rather than walking every line.
template <class F>
void ForEachSection(std::string_view raw, F f) {
  std::size_t at = 0;
  while ((at = raw.find('[', at)) != std::string_view::npos) {
    std::size_t lineStart = at;
    while (lineStart > 0 && (raw[lineStart - 1] == ' ' || raw[lineStart - 1] == '\t' ||
                             raw[lineStart - 1] == '\r')) {
      --lineStart;
    }
    const std::size_t lineEnd = std::min(raw.find('\n', at), raw.size());
    if (lineStart == 0 || raw[lineStart - 1] == '\n') {
      std::string line(raw.substr(lineStart, lineEnd - lineStart));
      if (!line.empty() && line.back() == '\r') line.pop_back();
      std::string name;
      if (SectionName(protocol::FromGbk(line), name) && !f(Lower(name))) return;
    }
    at = lineEnd;
  }
}

// Whether the raw text has a section of that (lower-case) name.
bool HasSection(std::string_view raw, const std::string& wantSection) {
  bool found = false;
  ForEachSection(raw, [&](const std::string& name) {
    found = name == wantSection;
    return !found;
  });
  return found;
}

std::set<std::string> Sections(std::string_view raw) {
  std::set<std::string> names;
  ForEachSection(raw, [&](std::string name) {
    names.insert(std::move(name));
    return true;
  });
  return names;
}

struct EntryLine {
  std::string lowerKey;
  std::string line;  // "key=value"
};

// The entries as lines; a key written twice keeps its first place and its last value.
std::vector<EntryLine> EntryLines(const std::vector<std::pair<std::string, std::string>>& entries) {
  std::vector<EntryLine> lines;
  std::map<std::string, std::size_t> index;
  for (const auto& [key, value] : entries) {
    std::string entry = key + "=" + value;
    const auto [it, fresh] = index.emplace(Lower(key), lines.size());
    if (fresh) {
      lines.push_back({it->first, std::move(entry)});
    } else {
      lines[it->second].line = std::move(entry);
    }
  }
  return lines;
}

}  // namespace

std::string classIniFile::GetIniKey(const std::string& section, const std::string& key) const {
  const std::string wantSection = Lower(section);
  const std::string wantKey = Lower(key);
  const std::string raw = files_->Read(INIFileName).value_or("");
  bool inSection = false;
  std::string result;
  ForEachRawLine(raw, [&](std::string_view rawLine) {
    const bool header = MayBeSectionLine(rawLine);
    if (!header && !inSection) return true;  // only this section's lines need decoding
    const std::string line = protocol::FromGbk(std::string(rawLine));
    std::string name, k, v;
    if (header && SectionName(line, name)) {
      inSection = Lower(name) == wantSection;
      return true;
    }
    if (!inSection || !KeyValue(line, k, v) || Lower(k) != wantKey) return true;
    // The value read back is at most 1023 characters, without surrounding blanks or NULs.
    std::string text = protocol::FirstChars(v, kMaxValueChars);
    text.erase(std::remove(text.begin(), text.end(), '\0'), text.end());
    result = Trim(text);
    return false;
  });
  return result;
}

void classIniFile::WriteIniKey(const std::string& section, const std::string& key,
                               const std::string& value) {
  WriteIniKeys(section, {{key, value}});
}

void classIniFile::WriteIniKeys(const std::string& section,
                                const std::vector<std::pair<std::string, std::string>>& entries) {
  const std::string wantSection = Lower(section);
  const std::vector<EntryLine> added = EntryLines(entries);
  // A new section goes at the end of the file: append it and leave the rest untouched, so a
  // record that grows by one section per hand costs one scan, not a rewrite.
  std::string sectionText = protocol::ToGbk("[" + section + "]") + "\r\n";
  for (const auto& e : added) sectionText += protocol::ToGbk(e.line) + "\r\n";
  if (AppendKnownNewSection(wantSection, sectionText)) return;

  const std::string raw = files_->Read(INIFileName).value_or("");
  if (!HasSection(raw, wantSection)) {
    const bool lineOpen = !raw.empty() && raw.back() != '\n';
    // A path that cannot be written has no effect.
    files_->Append(INIFileName, lineOpen ? "\r\n" + sectionText : sectionText);
    std::set<std::string> sections = Sections(raw);
    sections.insert(wantSection);
    Remember(std::move(sections));
    return;
  }

  auto lines = DecodeLines(raw);
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
  // The section's existing keys, first occurrence of each.
  std::map<std::string, std::size_t> keyLine;
  for (std::size_t i = static_cast<std::size_t>(head) + 1; i < end; ++i) {
    std::string k, v;
    if (KeyValue(lines[i], k, v)) keyLine.emplace(Lower(k), i);
  }
  // Existing keys are rewritten in place; new ones go after the section's last non-blank
  // line, in the order they are written.
  std::size_t at = end;
  while (at - 1 > static_cast<std::size_t>(head) && Trim(lines[at - 1]).empty()) --at;
  std::vector<std::string> fresh;
  for (const auto& e : added) {
    if (auto it = keyLine.find(e.lowerKey); it != keyLine.end()) {
      lines[it->second] = e.line;
    } else {
      fresh.push_back(e.line);
    }
  }
  lines.insert(lines.begin() + static_cast<long>(at), fresh.begin(), fresh.end());
  std::string text;
  for (const auto& l : lines) text += protocol::ToGbk(l) + "\r\n";
  files_->Write(INIFileName, text);
  Remember(Sections(text));
}

bool classIniFile::AppendKnownNewSection(const std::string& wantSection, const std::string& text) {
  if (memo_ == nullptr || memo_->path != INIFileName || memo_->sections.contains(wantSection)) {
    return false;
  }
  // Every write of ours ends the file with a line end, so the section needs no line end
  // before it.
  const auto stamp = files_->Stamp(INIFileName);
  if (!stamp || *stamp != memo_->stamp) return false;
  files_->Append(INIFileName, text);
  std::set<std::string> sections = std::move(memo_->sections);
  sections.insert(wantSection);
  Remember(std::move(sections));
  return true;
}

void classIniFile::Remember(std::set<std::string> sections) {
  if (memo_ == nullptr) return;
  const auto stamp = files_->Stamp(INIFileName);
  if (!stamp) {
    *memo_ = {};
    return;
  }
  *memo_ = {INIFileName, *stamp, std::move(sections)};
}

}  // namespace tallow
