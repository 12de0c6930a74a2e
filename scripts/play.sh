#!/usr/bin/env bash
# Builds what is missing and starts a table: a local game server, the hall, three robot seats
# and your own seat. With a server address, only the hall and your seat start and sit down
# there.
# Usage: scripts/play.sh [SERVER_HOST [SERVER_PORT]]
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh

HOST="${1:-127.0.0.1}"
PORT="${2:-7000}"
cmake --preset release >/dev/null
cmake --build build/release -j"$(nproc)" --target tallow tallow-server tallow-hall

export XDG_RUNTIME_DIR="${XDG_RUNTIME_DIR:-$(mktemp -d /tmp/tallow-xdg.XXXXXX)}"
chmod 700 "$XDG_RUNTIME_DIR"
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
  echo "No display found: running under xvfb-run (set DISPLAY to play in a window)."
  RUN=(xvfb-run -a)
else
  RUN=()
fi

if [ $# -eq 0 ]; then
  build/release/server/tallow-server --port "$PORT" &
  SERVER=$!
  trap 'kill $SERVER 2>/dev/null' EXIT
  # The hall reserves seats through the server's seating port: wait until it listens.
  for _ in $(seq 100); do
    (exec 3<>/dev/tcp/127.0.0.1/$((PORT + 1))) 2>/dev/null && break
    sleep 0.1
  done
  ROBOTS=(--robots 3)
else
  ROBOTS=()
fi

"${RUN[@]}" build/release/hall/tallow-hall --host "$HOST" --port "$PORT" --account player \
  --table 0 --seat 0 --sit "${ROBOTS[@]}" --data build/play
