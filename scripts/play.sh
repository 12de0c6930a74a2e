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
cmake --build build/release -j"$(nproc)" --target tallow tallow-server tallow-hall tallow_web

# The pages the project ships stand for the operator's web site: the rules page (规则) opens
# from there, and the local server names the web panel's page at login. The login carries at most
# 99 bytes of that address, in plain characters: an awkward path gets a short copy.
SITE="$PWD/build/release/site"
CLEANUP=()
trap 'for c in "${CLEANUP[@]}"; do eval "$c"; done' EXIT
if [ $((${#SITE} + 18)) -gt 99 ] || [[ "$SITE" == *[!A-Za-z0-9/._-]* ]]; then
  SITE_COPY="$(mktemp -d /tmp/tallow-site.XXXXXX)"
  cp -r build/release/site/. "$SITE_COPY"
  SITE="$SITE_COPY"
  CLEANUP+=("rm -rf '$SITE_COPY'")
fi
export TALLOW_SITE_DIR="$SITE"

export XDG_RUNTIME_DIR="${XDG_RUNTIME_DIR:-$(mktemp -d /tmp/tallow-xdg.XXXXXX)}"
chmod 700 "$XDG_RUNTIME_DIR"
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
  echo "No display found: running under xvfb-run (set DISPLAY to play in a window)."
  RUN=(xvfb-run -a)
else
  RUN=()
fi

if [ $# -eq 0 ]; then
  build/release/server/tallow-server --port "$PORT" --web "file://$SITE/panel.html" &
  SERVER=$!
  CLEANUP+=("kill $SERVER 2>/dev/null")
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
