#include "core/users.h"

#include <sstream>

namespace tallow::server {

std::map<std::string, Account> ReadUsers(std::istream& in) {
  std::map<std::string, Account> out;
  std::string line;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    std::istringstream ls(line);
    std::string account, password, coins;
    ls >> account;
    if (account.empty() || account[0] == '#') continue;
    ls >> password;
    if (password.empty()) continue;
    Account a;
    a.password = password;
    if (ls >> coins) {
      bool digits = !coins.empty() && coins.size() < 16;
      for (char c : coins) digits = digits && c >= '0' && c <= '9';
      if (digits) a.coins = std::stoll(coins);
      std::string rest;
      std::getline(ls, rest);
      const auto b = rest.find_first_not_of(' ');
      if (b != std::string::npos) a.nickname = rest.substr(b);
    }
    out[account] = a;
  }
  return out;
}

}  // namespace tallow::server
