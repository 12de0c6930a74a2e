#!/usr/bin/env bash
# Starts a table: a local game server, the hall, three robot seats and your own seat. With a
# server address, only the hall and your seat start and sit down there.
# From the source tree it installs what is missing and builds first. Installed (as tallow-play
# beside tallow-hall) it runs the installed programs, and the seats live in the user's data
# directory ($XDG_DATA_HOME/tallow).
# Usage: scripts/play.sh [SERVER_HOST [SERVER_PORT]]
set -euo pipefail
HERE="$(cd "$(dirname "$(readlink -f "$0")")" && pwd)"
HOST="${1:-127.0.0.1}"
PORT="${2:-7000}"

if [ -f "$HERE/../CMakeLists.txt" ] && [ -f "$HERE/deps.sh" ]; then
  cd "$HERE/.."
  bash scripts/deps.sh
  cmake --preset release >/dev/null
  cmake --build build/release -j"$(nproc)" --target tallow tallow-server tallow-hall tallow_web
  SERVER_PROGRAM="$PWD/build/release/server/tallow-server"
  HALL_PROGRAM="$PWD/build/release/hall/tallow-hall"
  SITE="$PWD/build/release/site"
  DATA=(--data "$PWD/build/play")
else
  # An installed prefix: PREFIX/games holds the programs, PREFIX/share/tallow their files.
  SERVER_PROGRAM="$HERE/tallow-server"
  HALL_PROGRAM="$HERE/tallow-hall"
  SITE="$(cd "$HERE/.." && pwd)/share/tallow/site"
  DATA=()  # the hall's own default
  if [ ! -x "$SERVER_PROGRAM" ] || [ ! -x "$HALL_PROGRAM" ] || [ ! -d "$SITE" ]; then
    echo "tallow-play: neither a source tree nor an installed tallow around $HERE" >&2
    exit 1
  fi
fi

# The pages the project ships stand for the operator's web site: the rules page (规则) opens
# from there, and the local server names the web panel's page at login. The login carries at most
# 99 bytes of that address, in plain characters: an awkward path gets a short copy.
CLEANUP=()
trap 'for c in "${CLEANUP[@]}"; do eval "$c"; done' EXIT
if [ $((${#SITE} + 18)) -gt 99 ] || [[ "$SITE" == *[!A-Za-z0-9/._-]* ]]; then
  SITE_COPY="$(mktemp -d /tmp/tallow-site.XXXXXX)"
  cp -r "$SITE/." "$SITE_COPY"
  SITE="$SITE_COPY"
  CLEANUP+=("rm -rf '$SITE_COPY'")
fi
export TALLOW_SITE_DIR="$SITE"

export XDG_RUNTIME_DIR="${XDG_RUNTIME_DIR:-$(mktemp -d /tmp/tallow-xdg.XXXXXX)}"
chmod 700 "$XDG_RUNTIME_DIR"
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
  if ! command -v xvfb-run >/dev/null; then
    echo "tallow-play: no display found (set DISPLAY, or install xvfb to play without one)" >&2
    exit 1
  fi
  echo "No display found: running under xvfb-run (set DISPLAY to play in a window)."
  RUN=(xvfb-run -a)
else
  RUN=()
fi

if [ $# -eq 0 ]; then
  "$SERVER_PROGRAM" --port "$PORT" --web "file://$SITE/panel.html" &
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

"${RUN[@]}" "$HALL_PROGRAM" --host "$HOST" --port "$PORT" --account player \
  --table 0 --seat 0 --sit "${ROBOTS[@]}" "${DATA[@]}"
