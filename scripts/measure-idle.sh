#!/usr/bin/env bash
# Idle CPU of a seated client (run after a release build): a local server, the hall, three
# robot seats and your seat, offscreen. Your seat never presses 开始, so the table waits for
# it; the script samples that client's CPU time over an interval and prints it as a share of
# one core.
# Usage: scripts/measure-idle.sh [SECONDS]
set -euo pipefail
cd "$(dirname "$0")/.."
SECONDS_TO_SAMPLE="${1:-20}"
PORT=7300
export QT_QPA_PLATFORM=offscreen
export XDG_RUNTIME_DIR="${XDG_RUNTIME_DIR:-$(mktemp -d /tmp/tallow-xdg.XXXXXX)}"
chmod 700 "$XDG_RUNTIME_DIR"
data=$(mktemp -d)
build/release/server/tallow-server --port "$PORT" >"$data/server.log" 2>&1 &
SERVER=$!
trap 'kill $SERVER $HALL 2>/dev/null; pkill -f "tallow-hall.*--data $data" 2>/dev/null; rm -rf "$data"' EXIT
for _ in $(seq 100); do
  (exec 3<>/dev/tcp/127.0.0.1/$((PORT + 1))) 2>/dev/null && break
  sleep 0.1
done
build/release/hall/tallow-hall --host 127.0.0.1 --port "$PORT" --account player --table 0 \
  --seat 0 --sit --robots 3 --data "$data" >"$data/hall.log" 2>&1 &
HALL=$!

# The player's client: its command line starts with the account.
pid=""
for _ in $(seq 100); do
  pid=$(pgrep -f 'src/app/tallow player\$' | head -1 || true)
  [ -n "$pid" ] && break
  sleep 0.1
done
[ -n "$pid" ] || { echo "the player's client did not start"; exit 1; }
sleep 5  # log in, seat, profiles: let the table settle

ticks() { awk '{print $14 + $15}' "/proc/$1/stat"; }
hz=$(getconf CLK_TCK)
before=$(ticks "$pid")
sleep "$SECONDS_TO_SAMPLE"
after=$(ticks "$pid")
awk -v t=$((after - before)) -v hz="$hz" -v s="$SECONDS_TO_SAMPLE" \
  'BEGIN { printf "idle CPU of a seated tallow: %.2f %% of one core (%d ticks in %d s)\n", 100 * t / hz / s, t, s }'
