// The load generator: scripted players for many tables of a running tallow-server in one
// process and one epoll loop, optional abusive clients beside them, and what it measured.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace tallow::server::load {

enum class Abuse {
  HalfRecord,  // a seated player sends half a record and then nothing
  NoRead,      // a spectator of a playing seat that never reads
  Idle,        // many connections that never send
  Garbage,     // random bytes and out-of-range records, also from a seated player
  LoginFlood,  // logins of one account, wrong passwords and tokens for a playing account
};

struct LoadOptions {
  std::string serverPath;               // spawn this server on free ports; empty: attach
  std::vector<std::string> serverArgs;  // more options for the spawned server
  std::string host = "127.0.0.1";
  int port = 0;      // when attaching
  int seatPort = 0;  // when attaching
  int pid = 0;       // the attached server's process (CPU and memory figures); 0: none
  int tables = 100;
  double warmupSeconds = 2;
  double seconds = 10;
  std::vector<Abuse> abuse;
  int idleConnections = 1000;
  double boundMs = 5;    // an answer within this is in time
  double maxP99Ms = 0;   // > 0: the run fails when the p99 of the other tables is above it
  double maxWaitMs = 0;  // > 0: the run fails when any answer took longer
  std::uint64_t seed = 1;
};

struct LoadReport {
  int tables = 0;
  int abusedTables = 0;  // tables whose own seat misbehaves: left out of the timing
  double seconds = 0;
  long hands = 0;  // ended in the window at the other tables
  double handsPerSecond = 0;
  long actions = 0;  // answers timed
  double p50Ms = 0, p99Ms = 0, maxMs = 0;
  int tablesInBound = 0;  // tables whose own p99 is within boundMs
  double serverCpuMsPerHand = 0, serverUserMsPerHand = 0, serverSystemMsPerHand = 0;
  double serverCoreShare = 0;     // of one core, in the window
  double generatorCoreShare = 0;  // the same for this process
  long rssBeforeKb = 0, rssKb = 0;
  double rssKbPerTable = 0;
  std::vector<std::string> notes;     // what each abuse came to
  std::vector<std::string> failures;  // checks that did not hold
};

LoadReport RunLoad(const LoadOptions& options);
std::string FormatReport(const LoadReport& report, const LoadOptions& options);

}  // namespace tallow::server::load
