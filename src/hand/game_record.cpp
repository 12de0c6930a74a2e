#include "hand/game_record.h"

#include "base/general.h"
#include "base/ini_file.h"
#include "session/client.h"

namespace tallow {
namespace {

std::string CountKey(int list) {
  return "count( " + std::to_string(list) + " )";
}
std::string LineKey(int list, int line) {
  return CountKey(list) + "( " + std::to_string(line) + " )";
}

classIniFile RecordFile(Client& c) {
  return classIniFile(c.platform.files, GameRecordPath(c), &c.hand.RecordMemo);
}

}  // namespace

std::string GameRecordPath(const Client& c) {
  return c.platform.process.AppPath() + "/info.jk";
}

void DeleteGameRecord(Client& c) {
  c.platform.files.Delete(GameRecordPath(c));
  c.hand.RecordMemo = {};
}

void WriteGameRecord(Client& c, int handNumber) {
  auto ini = RecordFile(c);
  const std::string section = "juNum:" + std::to_string(handNumber);
  std::vector<std::pair<std::string, std::string>> entries;
  for (int list = 0; list <= 7; ++list) {
    const auto& lines = c.forms.Score.State(list).lines;
    entries.emplace_back(CountKey(list), std::to_string(lines.size()));
    for (std::size_t j = 0; j < lines.size(); ++j) {
      entries.emplace_back(LineKey(list, static_cast<int>(j)), lines[j]);
    }
  }
  ini.WriteIniKeys(section, entries);
}

void ShowHandRecord(Client& c, int handNumber) {
  if (handNumber == 0) return;
  auto ini = RecordFile(c);
  const std::string section = "juNum:" + std::to_string(handNumber);
  auto& score = c.forms.Score;
  for (int s = 0; s <= 3; ++s) score.State(s).ForeColor = ui::kBlack;
  for (int list = 0; list <= 7; ++list) {
    const std::string count = ini.GetIniKey(section, CountKey(list));
    if (count.empty()) return;
    int n = 0;
    try {
      n = std::stoi(count);
    } catch (const std::logic_error&) {
      return;  // a damaged record shows nothing more
    }
    if (n < 0 || n > 10000) return;
    auto& lines = score.State(list).lines;
    lines.resize(static_cast<std::size_t>(n), " ");
    for (int j = 0; j < n; ++j)
      lines[static_cast<std::size_t>(j)] = ini.GetIniKey(section, LineKey(list, j));
  }
}

void HeroRowDoubleClicked(Client& c, int row) {
  if (row < 0) return;
  ShowHandRecord(c, row + 1);
  CentreOverTable(c, c.forms.Score);
  c.forms.Score.Visible = true;
  c.forms.Score.RaiseRequested = true;
}

}  // namespace tallow
