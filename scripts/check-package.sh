#!/usr/bin/env bash
# Builds the Debian package from a finished build, unpacks it into a scratch root (never into
# this machine's own / or /usr) and checks what a player gets: the package's fields and files,
# lintian, the desktop entry, and that the unpacked hall starts the unpacked client, which logs
# in to the unpacked server with the shipped sounds and rules page; then the same through the
# installed play command. Everything runs offscreen in private directories.
# Usage: scripts/check-package.sh [BUILD_DIR]   (default build/release)
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD="$(cd "${1:-build/release}" && pwd)"

fail() {
  echo "check-package: $*" >&2
  exit 1
}

rm -rf "$BUILD/package"
(cd "$BUILD" && cpack -G DEB >"$BUILD/cpack.log" 2>&1) || fail "cpack failed: see $BUILD/cpack.log"
DEB="$(ls "$BUILD"/package/tallow_*.deb)"

SCRATCH="$(mktemp -d /tmp/tallow-package.XXXXXX)"
PIDS=()
cleanup() {
  for pid in "${PIDS[@]}"; do kill -TERM -- "-$pid" 2>/dev/null || true; done
  rm -rf "$SCRATCH"
}
trap cleanup EXIT

# The control fields: the libraries' packages come from dpkg-shlibdeps.
[ "$(dpkg-deb -f "$DEB" Section)" = games ] || fail "section is not games"
[ -n "$(dpkg-deb -f "$DEB" Maintainer)" ] || fail "no maintainer"
DEPENDS="$(dpkg-deb -f "$DEB" Depends)"
for lib in libqt6widgets6 libqt6multimedia6 libstdc++6 fonts-wqy-zenhei; do
  [[ "$DEPENDS" == *"$lib"* ]] || fail "Depends lacks $lib: $DEPENDS"
done
lintian --fail-on error,warning "$DEB" 2>/dev/null || fail "lintian found errors or warnings"

ROOT="$SCRATCH/root"
dpkg -x "$DEB" "$ROOT"
GAMES="$ROOT/usr/games"
SHARE="$ROOT/usr/share"
for f in "$GAMES"/{tallow,tallow-hall,tallow-server,tallow-play}; do
  [ -x "$f" ] || fail "missing program $f"
done
for f in tallow/assets/chat.ini tallow/assets/common/music/majiang.wav \
  tallow/assets/common/mj/v00101302.wav tallow/site/gameinfo/tallowmj/index.html \
  tallow/site/panel.html icons/hicolor/48x48/apps/tallow.png man/man6/tallow-hall.6.gz \
  doc/tallow/copyright; do
  [ -s "$SHARE/$f" ] || fail "missing $f"
done
desktop-file-validate "$SHARE/applications/tallow-hall.desktop" || fail "bad desktop entry"
grep -qx 'Exec=/usr/games/tallow-hall' "$SHARE/applications/tallow-hall.desktop" ||
  fail "the desktop entry does not start the hall"

# Only the unpacked programs run: a private runtime and data directory, no build tree's site.
mkdir -m 700 "$SCRATCH/run"
export QT_QPA_PLATFORM=offscreen TALLOW_RUNTIME_DIR="$SCRATCH/run" XDG_RUNTIME_DIR="$SCRATCH/run"
export XDG_DATA_HOME="$SCRATCH/data"
unset TALLOW_SITE_DIR TALLOW_APP_DIR DISPLAY WAYLAND_DISPLAY

# Starts a command in a process group of its own (ended at exit) with its output in FILE.
start() {
  local out="$1"
  shift
  setsid "$@" >"$out" 2>&1 &
  PIDS+=($!)
}
wait_for() {  # FILE TEXT SECONDS
  local i
  for ((i = 0; i < $3 * 10; i++)); do
    grep -qF -- "$2" "$1" 2>/dev/null && return 0
    sleep 0.1
  done
  echo "--- $1" >&2
  cat "$1" >&2
  fail "no \"$2\" within $3 s"
}

# A server on a free port whose next port (the seating port) is free too.
for attempt in 1 2 3 4 5 6 7 8; do
  PORT=$((20000 + RANDOM % 40000))
  start "$SCRATCH/server.out" "$GAMES/tallow-server" --port "$PORT"
  for ((i = 0; i < 50; i++)); do
    grep -q "seating on" "$SCRATCH/server.out" 2>/dev/null && break 2
    kill -0 "${PIDS[-1]}" 2>/dev/null || break
    sleep 0.1
  done
  kill -TERM -- "-${PIDS[-1]}" 2>/dev/null || true
  unset 'PIDS[-1]'
  [ "$attempt" -lt 8 ] || fail "the server did not start: $(cat "$SCRATCH/server.out")"
done

# The hall as the desktop entry starts it: it finds its client, sounds and site in the package.
HALL_OUT="$SCRATCH/hall.out"
start "$HALL_OUT" "$GAMES/tallow-hall" --port "$PORT" --account checker --table 1 --seat 0 --sit
HALL_PID="${PIDS[-1]}"
wait_for "$HALL_OUT" "table client: $GAMES/tallow" 20
wait_for "$HALL_OUT" "sounds and voices: $SHARE/tallow/assets" 1
wait_for "$HALL_OUT" "rules page: $SHARE/tallow/site" 1
wait_for "$HALL_OUT" "tallow: 0x303" 30  # the client's login was accepted
SEAT="$XDG_DATA_HOME/tallow/seats/checker"
[ "$(readlink -f "$SEAT/../common/mj")" = "$SHARE/tallow/assets/common/mj" ] ||
  fail "the seat's voices are not the package's"
[ -s "$SEAT/chat.ini" ] || fail "the seat has no phrase file"
kill -TERM "$HALL_PID"
for ((i = 0; i < 150; i++)); do kill -0 "$HALL_PID" 2>/dev/null || break; sleep 0.1; done
kill -0 "$HALL_PID" 2>/dev/null && fail "the hall did not end on SIGTERM"
wait "$HALL_PID" || fail "the hall ended with status $? on SIGTERM"

# The play command from the package sits the player down at that server through the hall.
PLAY_OUT="$SCRATCH/play.out"
start "$PLAY_OUT" "$GAMES/tallow-play" 127.0.0.1 "$PORT"
wait_for "$PLAY_OUT" "table client: $GAMES/tallow" 20
wait_for "$PLAY_OUT" "tallow: 0x303" 30

echo "package $(basename "$DEB"): $(stat -c %s "$DEB") bytes, $(find "$ROOT" -type f | wc -l)" \
  "files; the unpacked hall started the unpacked client, which logged in"
