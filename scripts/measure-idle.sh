#!/usr/bin/env bash
# Idle CPU of a seated client (run after a release build): a local server, the hall, three
# robot seats and your seat, offscreen. Your seat never presses 开始, so the table waits for
# it; the script samples that client's CPU time over an interval and prints it as a share of
# one core. With --sound the seats get a PulseAudio daemon of their own with a null sink and
# only two robots sit down: the table waits for a fourth player, so nothing replaces the table
# loop your seat plays while it is measured (the robots stay silent). With --hand nobody is
# seated: a second hall fills the fourth seat with a robot, the four robots play hand after hand,
# and robot 1's client is measured. With --minimised the seats run on an Xvfb display and your
# seat's windows are unmapped once seated, as a window manager does when it minimises them.
# Usage: scripts/measure-idle.sh [--sound|--hand|--minimised] [SECONDS]
# Environment: PORT (7300): the server takes PORT and PORT + 1.
set -euo pipefail
cd "$(dirname "$0")/.."
SOUND=0 ROBOTS=3 MODE=seated
case "${1:-}" in
  --sound) SOUND=1 ROBOTS=2 MODE=sound; shift ;;
  --hand) MODE=hand; shift ;;
  --minimised) MODE=minimised; shift ;;
esac
SECONDS_TO_SAMPLE="${1:-20}"
PORT="${PORT:-7300}"
export QT_QPA_PLATFORM=offscreen
data=$(mktemp -d)
SERVER="" HALL="" HALL2="" PULSE="" XVFB=""
trap 'kill $SERVER $HALL $HALL2 $PULSE $XVFB 2>/dev/null; pkill -f "tallow-hall.*--data $data" 2>/dev/null; rm -rf "$data"; true' EXIT
if [ $MODE = minimised ]; then
  Xvfb :77 -screen 0 1280x1024x24 -nolisten tcp >"$data/xvfb.log" 2>&1 &
  XVFB=$!
  export DISPLAY=:77 QT_QPA_PLATFORM=xcb
  sleep 1
fi
if [ $SOUND -eq 1 ]; then
  # A private runtime directory: the daemon's socket there is the only sound server the seats see.
  export XDG_RUNTIME_DIR="$data/runtime" XDG_CONFIG_HOME="$data/config"
  mkdir -m 700 -p "$XDG_RUNTIME_DIR"
  unset PULSE_SERVER
  pulseaudio -n --daemonize=no --exit-idle-time=-1 --load=module-null-sink \
    --load="module-native-protocol-unix auth-anonymous=1" >"$data/pulse.log" 2>&1 &
  PULSE=$!
  for _ in $(seq 100); do
    [ -S "$XDG_RUNTIME_DIR/pulse/native" ] && break
    sleep 0.05
  done
  [ -S "$XDG_RUNTIME_DIR/pulse/native" ] || { echo "pulseaudio did not start"; cat "$data/pulse.log"; exit 1; }
else
  export XDG_RUNTIME_DIR="${XDG_RUNTIME_DIR:-$(mktemp -d /tmp/tallow-xdg.XXXXXX)}"
  chmod 700 "$XDG_RUNTIME_DIR"
fi
build/release/server/tallow-server --port "$PORT" >"$data/server.log" 2>&1 &
SERVER=$!
for _ in $(seq 100); do
  (exec 3<>/dev/tcp/127.0.0.1/$((PORT + 1))) 2>/dev/null && break
  sleep 0.1
done
if [ $MODE = hand ]; then
  # Robots take seats 0..2; a second hall of its own data fills seat 3.
  build/release/hall/tallow-hall --host 127.0.0.1 --port "$PORT" --account watcher --table 0 \
    --robots 3 --data "$data" >"$data/hall.log" 2>&1 &
  HALL=$!
  sleep 3
  mkdir -p "$data/second"
  build/release/hall/tallow-hall --host 127.0.0.1 --port "$PORT" --account helper --table 0 \
    --robots 1 --data "$data/second" >"$data/hall2.log" 2>&1 &
  HALL2=$!
  WHO='robot1'
else
  build/release/hall/tallow-hall --host 127.0.0.1 --port "$PORT" --account player --table 0 \
    --seat 0 --sit --robots "$ROBOTS" --data "$data" >"$data/hall.log" 2>&1 &
  HALL=$!
  WHO='player'
fi

# The measured client: its command line starts with the account.
pid=""
for _ in $(seq 300); do
  pid=$(pgrep -f "src/app/tallow $WHO\\\$" | head -1 || true)
  [ -n "$pid" ] && break
  sleep 0.1
done
[ -n "$pid" ] || { echo "the measured client ($WHO) did not start"; exit 1; }
sleep 5  # log in, seat, profiles: let the table settle
if [ $MODE = minimised ]; then
  windows=$(xdotool search --onlyvisible --pid "$pid" 2>/dev/null || true)
  [ -n "$windows" ] || { echo "the player's client shows no window"; exit 1; }
  for w in $windows; do xdotool windowunmap "$w"; done
  echo "windows unmapped: $(wc -w <<<"$windows")"
  sleep 1
fi
if [ $SOUND -eq 1 ]; then
  streams=$(pactl list short sink-inputs | wc -l)
  echo "streams playing on the null sink: $streams"
  [ "$streams" -ge 1 ] || { echo "the table loop is not playing"; exit 1; }
fi

ticks() { awk '{print $14 + $15}' "/proc/$1/stat"; }
hz=$(getconf CLK_TCK)
before=$(ticks "$pid")
sleep "$SECONDS_TO_SAMPLE"
after=$(ticks "$pid")
awk -v m=$MODE -v t=$((after - before)) -v hz="$hz" -v s="$SECONDS_TO_SAMPLE" \
  'BEGIN { printf "idle CPU of tallow (" m "): %.2f %% of one core (%d ticks in %d s)\n", 100 * t / hz / s, t, s }'
