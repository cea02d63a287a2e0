#!/bin/sh
# The load benchmark of `ziwei serve`, on 127.0.0.1 only: wrk's 64 keep-alive
# connections on 2 threads GET /v1/chart JSON for SECONDS (default 10), first
# alone, then while 1,000 more connections are held open, half idle and half
# trickling a header byte a second. Prints requests/s and p99 of each run and
# the ratio of the second rate to the first.
#   bench/serve_load.sh [ZIWEI] [SECONDS]
set -eu
here=$(cd "$(dirname "$0")" && pwd)
ziwei=${1:-$here/../build/ci/cli/ziwei}
seconds=${2:-10}
command -v wrk >/dev/null || { echo "serve_load: wrk is not installed" >&2; exit 2; }
scratch=$(mktemp -d)
server=""
holder=""
cleanup() {
  [ -n "$holder" ] && kill "$holder" 2>/dev/null || true
  [ -n "$server" ] && kill -TERM "$server" 2>/dev/null || true
  wait 2>/dev/null || true
  rm -rf "$scratch"
}
trap cleanup EXIT INT TERM

"$ziwei" serve --listen 127.0.0.1:0 ${SERVE_OPTIONS:-} 2>"$scratch/log" &
server=$!
port=""
for _ in $(seq 50); do
  port=$(sed -n 's|^ziwei: serving on http://127.0.0.1:\([0-9]*\)/$|\1|p' "$scratch/log")
  [ -n "$port" ] && break
  sleep 0.1
done
[ -n "$port" ] || { echo "serve_load: the server did not start" >&2; cat "$scratch/log" >&2; exit 1; }

# Warms the server up, then one run; prints "RATE P99_MS".
run() {
  wrk -t2 -c64 -d1s -s "$here/serve_load.lua" "http://127.0.0.1:$port" >/dev/null
  wrk -t2 -c64 -d"${seconds}s" --latency -s "$here/serve_load.lua" "http://127.0.0.1:$port" \
    >"$scratch/wrk"
  if grep -q 'Socket errors' "$scratch/wrk" || ! grep -q '^non2xx 0$' "$scratch/wrk"; then
    echo "serve_load: errors in the run:" >&2
    cat "$scratch/wrk" >&2
  fi
  rate=$(sed -n 's/^Requests\/sec: *\([0-9.]*\).*/\1/p' "$scratch/wrk")
  p99=$(sed -n 's/^p99_us \([0-9]*\)$/\1/p' "$scratch/wrk")
  echo "$rate $(awk -v us="$p99" 'BEGIN { printf "%.2f", us / 1000 }')"
}

set -- $(run)
rate1=$1 p991=$2
echo "64 connections:                     $rate1 requests/s, p99 $p991 ms"

python3 "$here/hold_connections.py" "$port" --connections 1000 --seconds $((seconds + 30)) \
  >"$scratch/held" &
holder=$!
for _ in $(seq 100); do
  grep -q '^holding' "$scratch/held" 2>/dev/null && break
  sleep 0.1
done
grep -q '^holding 1000' "$scratch/held" || { echo "serve_load: could not hold 1000 connections" >&2; exit 1; }
set -- $(run)
rate2=$1 p992=$2
echo "64 connections + 1000 idle/slow:    $rate2 requests/s, p99 $p992 ms"
awk -v a="$rate1" -v b="$rate2" 'BEGIN { printf "ratio:                              %.2f\n", b / a }'
