// Run-time failures and the end of the process.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>

namespace tallow {

// Any run-time failure of the client's logic: an index outside its declared bounds, a value
// that does not convert, a 16-bit overflow. The dispatcher's failure rule catches it.
class RuntimeFailure : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Thrown by the test double of EndProcess. Deliberately not a std::exception, so that no
// failure handler of the client can swallow the end of the process.
struct ProcessEnded {
  int code = 0;
  std::string reason;
};

// Checks a 32-bit intermediate against the 16-bit range, as 16-bit integer stores do.
inline short CheckedInt16(long v) {
  if (v < -32768 || v > 32767) throw RuntimeFailure("16-bit overflow");
  return static_cast<short>(v);
}

// The same for 32-bit integer stores (counters the server sends at their largest).
inline std::int32_t CheckedInt32(long long v) {
  if (v < -2147483648LL || v > 2147483647LL) throw RuntimeFailure("32-bit overflow");
  return static_cast<std::int32_t>(v);
}

}  // namespace tallow
