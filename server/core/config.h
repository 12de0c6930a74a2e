// Settings of the server core.
#pragma once

#include <cstdint>
#include <map>
#include <string>

namespace tallow::server {

struct Account {
  std::string password;
  std::string nickname;     // UTF-8; the account name when empty
  std::int64_t coins = -1;  // -1: the configured start balance
  int gender = 1;
  std::string avatar = "m1";
};

struct Config {
  int stake = 10;                       // 房间条数: the unit of every payment
  int turnSeconds = 15;                 // sent in the login result (0..15)
  int timeoutLimit = 3;                 // sent in the login result
  std::string webAddress;               // sent in the login result
  std::int64_t actLimitMs = 30000;      // the server acts for a silent seat after this
  std::int64_t keepSeatMs = 120000;     // a dropped player keeps the seat this long
  std::int64_t loginTimeoutMs = 60000;  // a connection that never logs in is closed
  std::int64_t idleDropMs = 600000;     // a silent logged-in player connection is closed
  int maxTables = 64;
  // The profile (coins, statistics) of an account outside the users file is forgotten once
  // the account has had no session this long.
  std::int64_t profileKeepMs = 3'600'000;
  std::int64_t startCoins = 10000;
  // Failed logins and relogins of one account (wrong password or token) allowed within
  // failedLoginWindowMs; past that every further attempt for the account is refused unchecked
  // until the oldest failure is that old.
  int failedLoginLimit = 5;
  std::int64_t failedLoginWindowMs = 60000;
  bool openMode = true;                  // any account and password are accepted
  std::map<std::string, Account> users;  // used when openMode is false
};

}  // namespace tallow::server
