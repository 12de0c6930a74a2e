#!/usr/bin/env bash
# Regenerates the performance report (docs/performance.md): every Google Benchmark figure, the
# client's start-up to a painted table and its peak memory, its idle CPU, the robot table's
# hands per second and the server's load figures, each beside its goal, with the machine they
# ran on. Run it with the machine as quiet as it gets: the load average is part of the report.
#
#   scripts/bench.sh [OUTPUT]
#
# Environment: RUNS (start-up and memory runs, default 7), REPS (benchmark repetitions, 5),
# IDLE_SECONDS (20), ROBOT_RUNS (3 runs of the robot table's 1,000 hands), SERVER_LOAD=0 skips
# the server's load sweep.
set -euo pipefail
cd "$(dirname "$0")/.."
OUT="${1:-docs/performance.md}"
RUNS="${RUNS:-7}"
REPS="${REPS:-5}"
IDLE_SECONDS="${IDLE_SECONDS:-20}"
ROBOT_RUNS="${ROBOT_RUNS:-3}"
SERVER_LOAD="${SERVER_LOAD:-1}"
B=build/release
export QT_QPA_PLATFORM=offscreen
export XDG_RUNTIME_DIR="${XDG_RUNTIME_DIR:-$(mktemp -d /tmp/tallow-xdg.XXXXXX)}"
chmod 700 "$XDG_RUNTIME_DIR"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

cmake --preset release >/dev/null
cmake --build "$B" -j2 --target tallow tallow-picture tallow-hall tallow-server \
  tallow_client_bench tallow_evaluation_bench tallow_server_bench tallow_paint_bench \
  tallow_table_tests >/dev/null
load_start=$(cut -d' ' -f1-3 /proc/loadavg)
echo "load average at start: $load_start"

# "median (min–max)" of the numbers on standard input, with a format for each.
spread() {
  python3 -c '
import statistics, sys
v = sorted(float(x) for x in sys.stdin.read().split())
f = sys.argv[1]
print((f + " (" + f + "–" + f + ")") % (statistics.median(v), v[0], v[-1]) if v else "not measured")
' "$1"
}
median() { python3 -c 'import statistics,sys; v=[float(x) for x in sys.stdin.read().split()]; print(statistics.median(v) if v else "nan")'; }
# "met" or "missed": whether the figure $1 is below (lt) or at least (ge) the goal $3.
verdict() { python3 -c 'import sys; v,op,g=float(sys.argv[1]),sys.argv[2],float(sys.argv[3]); print("met" if (v<g if op=="lt" else v>=g) else "missed")' "$@"; }

# --- Google Benchmark --------------------------------------------------------------------------
benches=(tallow_evaluation_bench tallow_client_bench tallow_server_bench tallow_paint_bench)
for b in "${benches[@]}"; do
  exe=$(find "$B/bench" -name "$b" -type f -executable | head -1)
  [ -n "$exe" ] || continue
  echo "running $b"
  "$exe" --benchmark_repetitions="$REPS" --benchmark_report_aggregates_only=true \
    --benchmark_out="$work/$b.json" --benchmark_out_format=json >/dev/null
done
python3 - "$work" "$REPS" "${benches[@]}" >"$work/bench.md" <<'EOF'
import json, os, sys
work, reps, names = sys.argv[1], sys.argv[2], sys.argv[3:]
def fmt(ns):
    return f"{ns / 1e6:.2f} ms" if ns >= 1e6 else f"{ns / 1e3:.2f} µs" if ns >= 1e3 else f"{ns:.1f} ns"
for name in names:
    path = os.path.join(work, name + ".json")
    if not os.path.exists(path):
        continue
    rows = {}
    for r in json.load(open(path))["benchmarks"]:
        scale = {"ns": 1, "us": 1e3, "ms": 1e6, "s": 1e9}[r["time_unit"]]
        agg = r.get("aggregate_name")
        if agg == "cv":
            scale = 1
        rows.setdefault(r["run_name"], {})[agg] = (r["real_time"] * scale, r["cpu_time"] * scale)
    print(f"\n`{name}` (median of {reps} repetitions; spread is the coefficient of variation of the CPU time)\n")
    print("| benchmark | CPU time | wall time | spread |")
    print("|---|---:|---:|---:|")
    for run, a in rows.items():
        med, cv = a.get("median"), a.get("cv")
        if not med:
            continue
        spread = f"{cv[1] * 100:.1f} %" if cv else ""
        print(f"| `{run}` | {fmt(med[1])} | {fmt(med[0])} | {spread} |")
EOF
choose_ns=$(python3 -c '
import json, sys
for r in json.load(open(sys.argv[1]))["benchmarks"]:
    if r["run_name"] == "BM_ChooseDiscard14" and r.get("aggregate_name") == "median":
        print(r["cpu_time"] * {"ns": 1, "us": 1e3, "ms": 1e6}[r["time_unit"]])
' "$work/tallow_evaluation_bench.json")

# --- Start-up and peak memory ------------------------------------------------------------------
# tallow-picture does the client's whole start-up, paints the table window once and writes it
# out; tallow itself runs for three seconds with its table window up (its server is unreachable).
echo "measuring start-up and memory ($RUNS runs each)"
for _ in $(seq "$RUNS"); do
  /usr/bin/time -f "%e %U %S" -o "$work/t" "$B/src/app/tallow-picture" "$work/t.png" wall \
    >/dev/null 2>&1
  awk '{print $1}' "$work/t" >>"$work/startup"
  awk '{print $2 + $3}' "$work/t" >>"$work/startup-cpu"
  TALLOW_APP_DIR="$work" TALLOW_RUNTIME_DIR="$work" /usr/bin/time -f "%M" -o "$work/m" \
    timeout 3 "$B/src/app/tallow" 'player$pw$127.0.0.1$9$Room$0$$0$$$0$$$' >/dev/null 2>&1 || true
  tail -1 "$work/m" | awk '{print $1 / 1024}' >>"$work/memory"
done
startup=$(spread "%.0f ms" < <(awk '{print $1 * 1000}' "$work/startup"))
startup_med=$(awk '{print $1 * 1000}' "$work/startup" | median)
startup_cpu=$(spread "%.0f ms" < <(awk '{print $1 * 1000}' "$work/startup-cpu"))
memory=$(spread "%.1f MiB" <"$work/memory")
memory_med=$(median <"$work/memory")

# --- Idle CPU ----------------------------------------------------------------------------------
idle() { # mode label
  local line
  local out line
  # Each measurement on ports of its own, so one still closing cannot hold up the next.
  port=$((port + 10))
  out=$(PORT=$port scripts/measure-idle.sh $1 "$IDLE_SECONDS" 2>&1 || true)
  line=$(grep -E "^idle CPU" <<<"$out" || echo "not measured: $(tail -1 <<<"$out")")
  echo "| $2 | ${line#*: } |"
}
echo "measuring idle CPU"
port=7300
{
  idle "" "seated, the table waiting, no sound output"
  idle "--sound" "seated, the table loop playing on a null sink"
  idle "--hand" "in a hand: a robot seat while four robots play, no sound output"
  idle "--minimised" "seated with the window minimised"
} >"$work/idle.md"

# --- Robot table -------------------------------------------------------------------------------
echo "running the robot table ($ROBOT_RUNS runs)"
for _ in $(seq "$ROBOT_RUNS"); do
  /usr/bin/time -f "%U %S" -o "$work/rt" \
    "$B/tests/tallow_table_tests" --gtest_filter='RobotTable.RobotsPlayHands*' >"$work/rlog" 2>&1
  sed -n 's/.* hands in .* s: \([0-9.]*\) hands a second/\1/p' "$work/rlog" >>"$work/robot"
  hands=$(sed -n 's/^\([0-9]*\) hands in .*/\1/p' "$work/rlog")
  awk -v h="$hands" '{print h / ($1 + $2)}' "$work/rt" >>"$work/robot-cpu"
done
robot=$(spread "%.0f hands/s" <"$work/robot")
robot_cpu=$(spread "%.0f hands/s" <"$work/robot-cpu")
robot_med=$(median <"$work/robot")

# --- Server load -------------------------------------------------------------------------------
if [ "$SERVER_LOAD" = 1 ] && [ -x scripts/server-load.sh ]; then
  echo "running the server's load sweep"
  NICE="" scripts/server-load.sh >"$work/server" 2>&1 || echo "(the sweep failed)" >>"$work/server"
  server_section="\`scripts/server-load.sh\`, loopback, the load generator sharing the cores:

\`\`\`
$(cat "$work/server")
\`\`\`"
else
  server_section="**Not measured here:** \`scripts/server-load.sh\` is not in this tree (or
SERVER_LOAD=0); once it is, this command runs it and its figures stand here."
fi

load_end=$(cut -d' ' -f1-3 /proc/loadavg)
goal_row() { # what goal measured median op threshold
  echo "| $1 | $2 | $3 | $(verdict "$4" "$5" "$6") |"
}
{
  cat <<EOF
# Performance

Regenerated by \`scripts/bench.sh\` on $(date -u '+%Y-%m-%d %H:%M UTC') from commit
$(git rev-parse --short HEAD), release build. Whole-process figures are medians of several runs
with the smallest and largest in brackets.

## The machine

- $(nproc) cores: $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | xargs)
- $(awk '/MemTotal/ {printf "%.0f GiB", $2 / 1048576}' /proc/meminfo) of memory, Linux $(uname -r), $(g++ --version | head -1)
- load average (1, 5, 15 min) at the start: $load_start; at the end: $load_end; run at
  niceness $(nice). The machine is shared; a load above its core count stretches wall times
  (start-up, hands per second), less so CPU times.

## Goals

| figure | goal | measured | |
|---|---|---|---|
$(goal_row "\`ChooseDiscard\` on 14 tiles (CPU time)" "under 1 µs" "$(awk -v n="$choose_ns" 'BEGIN {printf "%.0f ns", n}')" "$choose_ns" lt 1000)
$(goal_row "start-up to a painted table" "under 150 ms" "$startup; CPU time $startup_cpu" "$startup_med" lt 150)
$(goal_row "peak memory of \`tallow\`" "under 60 MiB" "$memory" "$memory_med" lt 60)
$(goal_row "robot table with every check" "300 hands/s" "$robot; per CPU second $robot_cpu" "$robot_med" ge 300)

## Google Benchmark
$(cat "$work/bench.md")

## Start-up and memory of the client

- start-up to a painted table (\`tallow-picture\`: the whole start-up, one paint of the table
  window, the picture written): $startup over $RUNS runs; its CPU time (user and system):
  $startup_cpu, which bounds the start-up on an otherwise idle machine from below
- peak memory of \`tallow\` (resident set of the whole process over its first three seconds,
  table window up): $memory over $RUNS runs

## Idle CPU of a client

\`scripts/measure-idle.sh\`, share of one core over $IDLE_SECONDS s, offscreen:

| state | CPU |
|---|---|
$(cat "$work/idle.md")

## The robot table

\`RobotTable.RobotsPlayHandsToTheirResultsAndAgreeWithTheServer\`: four robot clients and the
server's core in one process, 1,000 hands in virtual time, every client's table compared with
the server's after every record: $robot over $ROBOT_RUNS runs (wall time); per second of the
process's CPU time: $robot_cpu.

## The server under load

$server_section
EOF
} >"$OUT"
echo "written: $OUT (load average at the end: $load_end)"
