// The record of the hands of the current table ("info.jk" in the application directory).
#pragma once

#include <string>

namespace tallow {

class Client;

// The record file's path.
std::string GameRecordPath(const Client& c);
// Deletes the record file (a new table starts a new record).
void DeleteGameRecord(Client& c);
// Writes the eight result lists of the hand just ended under section "juNum:<n>".
void WriteGameRecord(Client& c, int handNumber);
// Shows hand n of the record in the result window's lists.
void ShowHandRecord(Client& c, int handNumber);
// The leaderboard's rows: a double click shows that row's hand in the result window.
void HeroRowDoubleClicked(Client& c, int row);

}  // namespace tallow
