#!/usr/bin/env bash
# The server's load figures (docs/server.md), each against a fresh tallow-server process over
# loopback with tallow-server-load sharing the machine: a sweep of table counts, the cost of
# idle connections, and every abuse while tables play.
#
#   scripts/server-load.sh [OTHER_SERVER]
#
# OTHER_SERVER: a second tallow-server binary (an older build) measured the same way, for a
# before and after. Environment: TABLES_LIST (default "50 100 150 200 250 300"), RUN_SECONDS
# (10), ABUSE_TABLES (100), BOUND_MS (5), BUILD (build/release), SERVER_ARGS (more options for
# the servers, e.g. "--news-hold-ms 50"), NICE (e.g. "nice -n 10" while other builds run).
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD="${BUILD:-build/release}"
TABLES_LIST="${TABLES_LIST:-50 100 150 200 250 300}"
RUN_SECONDS="${RUN_SECONDS:-10}"
ABUSE_TABLES="${ABUSE_TABLES:-100}"
BOUND_MS="${BOUND_MS:-5}"
SERVER_ARGS="${SERVER_ARGS:-}"
NICE="${NICE:-}"

cmake --preset release >/dev/null
cmake --build "$BUILD" -j2 --target tallow-server tallow-server-load >/dev/null
LOAD=($NICE "$BUILD/server/tallow-server-load")
for a in $SERVER_ARGS; do LOAD+=(--server-arg "$a"); done
SERVERS=("$BUILD/server/tallow-server")
[ $# -ge 1 ] && SERVERS+=("$1")

echo "machine: $(nproc) cores, $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | xargs)," \
  "$(awk '/MemTotal/ {printf "%.0f GB", $2 / 1048576}' /proc/meminfo), Linux $(uname -r)"
echo "load average at start: $(cut -d' ' -f1-3 /proc/loadavg)${NICE:+, run under $NICE}"
[ -n "$SERVER_ARGS" ] && echo "server options: $SERVER_ARGS"
echo

# One run; prints its RESULT line's fields as "key=value ..." (and the report on failure).
run() {
  local out
  out="$("${LOAD[@]}" --bound-ms "$BOUND_MS" --seconds "$RUN_SECONDS" "$@" 2>&1)" || true
  if ! grep -q '^RESULT.* ok=1' <<<"$out"; then
    grep -v '^RESULT' <<<"$out" | sed 's/^/    /' >&2
  fi
  grep '^RESULT' <<<"$out" | sed 's/^RESULT //'
}

field() {  # field NAME "key=value ..."
  tr ' ' '\n' <<<"$2" | awk -F= -v k="$1" '$1 == k {print $2}'
}

row_header() {
  printf '%-12s %8s %9s %9s %9s %10s %12s %8s %8s %10s %4s\n' "$1" hands/s p50_ms p99_ms max_ms \
    in_bound cpu_ms/hand server generator kB/table ok
}

row() {  # row LABEL RESULT
  printf '%-12s %8s %9s %9s %9s %10s %12s %8s %8s %10s %4s\n' "$1" "$(field hands_per_s "$2")" \
    "$(field p50_ms "$2")" "$(field p99_ms "$2")" "$(field max_ms "$2")" \
    "$(field tables_in_bound "$2")" "$(field cpu_ms_per_hand "$2")" "$(field server_core "$2")" \
    "$(field generator_core "$2")" "$(field kb_per_table "$2")" "$(field ok "$2")"
}

for server in "${SERVERS[@]}"; do
  echo "== $server: tables playing as fast as the server answers (window ${RUN_SECONDS} s)"
  row_header tables
  best=0
  for t in $TABLES_LIST; do
    r="$(run --server "$server" --tables "$t")"
    row "$t" "$r"
    p99="$(field p99_ms "$r")"
    if [ -n "$p99" ] && awk -v p="$p99" -v b="$BOUND_MS" 'BEGIN {exit !(p <= b)}'; then best=$t; fi
  done
  echo "most tables with p99 <= ${BOUND_MS} ms: $best"
  echo
  echo "== $server: one table alone, and beside 2000 idle connections"
  row_header case
  row "alone" "$(run --server "$server" --tables 1)"
  row "2000 idle" "$(run --server "$server" --tables 1 --abuse idle --idle 2000)"
  echo
done

echo "== ${SERVERS[0]}: abuse while ${ABUSE_TABLES} tables play"
row_header abuse
for a in none half-record no-read idle garbage login-flood; do
  args=()
  [ "$a" != none ] && args=(--abuse "$a")
  out="$("${LOAD[@]}" --server "${SERVERS[0]}" --tables "$ABUSE_TABLES" --seconds "$RUN_SECONDS" \
    --bound-ms "$BOUND_MS" "${args[@]}" 2>&1)" || true
  row "$a" "$(grep '^RESULT' <<<"$out" | sed 's/^RESULT //')"
  grep -E '^(half record|spectator|idle connections|garbage|login flood)|^  ' <<<"$out" |
    sed 's/^ */             /' || true
done
echo
echo "load average at the end: $(cut -d' ' -f1-3 /proc/loadavg)"
