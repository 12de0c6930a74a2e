// The hall's "$"-separated command line.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tallow {

struct CommandLine {
  std::string UserName, Password, ServerHost;
  int ServerPort = 0;  // a TCP port, 0..65535
  std::string RoomName;
  short ProxyKind = 0;
  std::string ProxyHost;
  int ProxyPort = 0;
  std::string ProxyUser, ProxyPassword;
  std::uint8_t ProxyUserLength = 0, ProxyPasswordLength = 0;
  bool RobotMode = false;
  std::string HallCaption, RobotCaption;
  bool Spectating = false;
  double WatchedUserId = 0;  // a spectator's watched player, an 8-byte real like UserId
  int FieldsPresent = 0;
};

struct CommandLineError {
  std::string field;  // the field's name
  std::string text;   // what it held
};

// Parses a trimmed command line. A numeric field that does not hold a number is an error,
// reported instead of a wrong value.
struct ParsedCommandLine {
  std::optional<CommandLine> line;
  std::optional<CommandLineError> error;
};
ParsedCommandLine ParseCommandLine(std::string_view trimmed);

// Leading and trailing blanks removed.
std::string TrimBlanks(std::string_view s);

// The numeric prefix of a text as a number ("1.0" 1, "01" 1, "1x" 1, "x" 0).
double LeadingNumber(std::string_view s);

// A text converted to a 16-bit integer (rounded half to even); nullopt when it is not a
// number or out of range.
std::optional<short> ToInt16(std::string_view s);
// A TCP port 0..65535; nullopt for anything else.
std::optional<int> ToPort(std::string_view s);

}  // namespace tallow
