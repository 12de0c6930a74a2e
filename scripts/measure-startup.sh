#!/usr/bin/env bash
# Start-up figures of the client (run after a release build): the time from process start to
# the first painted table (tallow-picture does the whole start-up, paints the window once and
# writes it out), and the peak memory of a running tallow over its first seconds.
set -euo pipefail
cd "$(dirname "$0")/.."
export QT_QPA_PLATFORM=offscreen
export XDG_RUNTIME_DIR="${XDG_RUNTIME_DIR:-$(mktemp -d /tmp/tallow-xdg.XXXXXX)}"
chmod 700 "$XDG_RUNTIME_DIR"
out=$(mktemp -d)
for i in 1 2 3 4 5; do
  /usr/bin/time -f "%e s" build/release/src/app/tallow-picture "$out/t.png" wall 2>&1 | tail -1
done | sort -n | sed -n 3p | sed 's/^/median start-up to a painted table: /'
TALLOW_APP_DIR="$out" TALLOW_RUNTIME_DIR="$out" /usr/bin/time -f "peak memory of tallow: %M KiB" \
  timeout 3 build/release/src/app/tallow 'player$pw$127.0.0.1$9$Room$0$$0$$$0$$$' 2>&1 |
  grep "peak memory" || true
rm -rf "$out"
