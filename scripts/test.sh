#!/usr/bin/env bash
# Builds everything (release and sanitizer builds), runs every test and the fuzzers.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh

export QT_QPA_PLATFORM=offscreen
export XDG_RUNTIME_DIR="${XDG_RUNTIME_DIR:-$(mktemp -d /tmp/tallow-xdg.XXXXXX)}"
chmod 700 "$XDG_RUNTIME_DIR"
JOBS="${JOBS:-$(nproc)}"
FUZZ_SECONDS="${FUZZ_SECONDS:-60}"

echo "== release build"
cmake --preset release >/dev/null
cmake --build build/release -j"$JOBS"
echo "== release tests"
ctest --test-dir build/release --output-on-failure -j"$JOBS" --timeout 600

echo "== Debian package, unpacked into a scratch directory and started"
bash scripts/check-package.sh build/release

echo "== sanitizer build (AddressSanitizer + UndefinedBehaviorSanitizer)"
cmake --preset sanitize >/dev/null
cmake --build build/sanitize -j"$JOBS"
echo "== sanitizer tests"
# The table of robots plays a thousand hands in the release run, and so does the soak; a
# hundred and two hundred here. LeakSanitizer checks for leaks at every
# program's exit; tests/lsan.supp holds the suppressions, each with its reason.
TALLOW_ROBOT_HANDS=100 TALLOW_SOAK_HANDS=200 ASAN_OPTIONS=detect_leaks=1 \
  LSAN_OPTIONS="suppressions=$PWD/tests/lsan.supp:print_suppressions=0" \
  UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 \
  ctest --test-dir build/sanitize --output-on-failure -j"$JOBS" --timeout 900

echo "== fuzzing (${FUZZ_SECONDS}s per target)"
cmake --preset fuzz >/dev/null
cmake --build build/fuzz -j"$JOBS" --target client_records_fuzz server_records_fuzz \
  tcp_front_fuzz tallow_fuzz_seeds
# Each target starts from its corpus and the seeds written from games of the robot table; it
# prints the records it fed per second when it ends.
for f in build/fuzz/fuzz/*_fuzz build/fuzz/fuzz/*/*_fuzz; do
  [ -x "$f" ] || continue
  echo "-- $f"
  name="$(basename "$f")"
  corpus="build/fuzz/corpus/$name"
  mkdir -p "$corpus" "build/fuzz/seeds/$name"
  ASAN_OPTIONS=detect_leaks=0 "$f" -max_total_time="$FUZZ_SECONDS" -print_final_stats=0 \
    -timeout=10 -max_len=65536 "$corpus" "build/fuzz/seeds/$name" 2>&1 | tail -n 3
done
echo "== all tests passed"
