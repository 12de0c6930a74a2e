#!/usr/bin/env bash
# Builds what is missing and starts a table: the game server, the hall and your own seat.
# Usage: scripts/play.sh [SERVER_HOST [SERVER_PORT]]
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh

HOST="${1:-127.0.0.1}"
PORT="${2:-6000}"
cmake --preset release >/dev/null
cmake --build build/release -j"$(nproc)" --target tallow

export XDG_RUNTIME_DIR="${XDG_RUNTIME_DIR:-$(mktemp -d /tmp/tallow-xdg.XXXXXX)}"
chmod 700 "$XDG_RUNTIME_DIR"
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
  echo "No display found: running under xvfb-run (set DISPLAY to play in a window)."
  RUN=(xvfb-run -a)
else
  RUN=()
fi

SEAT_DIR="build/play/seat0"
mkdir -p "$SEAT_DIR"
export TALLOW_APP_DIR="$PWD/$SEAT_DIR"
exec "${RUN[@]}" build/release/src/app/tallow "player\$secret\$$HOST\$$PORT\$松竹厅 一号桌\$0\$\$0\$\$\$0\$\$\$"
