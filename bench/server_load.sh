#!/usr/bin/env bash
# Load test of belun-server on 127.0.0.1 with wrk (Debian: wrk), bounded in time, stopping by itself.
#
#   bench/server_load.sh [build-dir] [seconds]        (defaults: build, 60)
#
# 1. Mixed load: 32 connections for SECONDS posting in turn the two examples and a 25 MB generated
#    document (bench/out/load-25mb.xml, 1% faulty records), CSV reports. Prints wrk's latency
#    distribution (p99), the requests that failed (non-2xx answers, socket errors, timeouts) and the
#    server's resident memory sampled every second (it must stay flat after the warm-up).
# 2. Throughput on the 25 MB document alone: 32 connections for SECONDS/2, in MB/s, against belun on
#    the same file run as many times at once as the server has workers (xargs -P), in MB/s.
# Not run by CI: it takes minutes and the figures need a quiet machine (bench/README.md keeps them).
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
seconds=${2:-60}
out=bench/out
mkdir -p "$out"
command -v wrk >/dev/null || { echo "missing wrk (apt-get install wrk)"; exit 1; }
[ -x "$build/server/belun-server" ] || { echo "missing $build/server/belun-server: build it first"; exit 1; }
workers=$(nproc)
big="$out/load-25mb.xml"
[ -s "$big" ] || "$build/bench/tavon_gen_duv" 20 1000 1 1 > "$big"
mb=$(awk -v b="$(stat -c %s "$big")" 'BEGIN { printf "%.1f", b / 1e6 }')

"$build/server/belun-server" --port 0 --workers "$workers" 2> "$out/server.log" &
server=$!
trap 'kill "$server" 2>/dev/null; wait "$server" 2>/dev/null || true' EXIT
for _ in $(seq 50); do grep -q 'http://' "$out/server.log" && break; sleep 0.1; done
port=$(sed -n 's#.*http://127\.0\.0\.1:\([0-9]*\)/.*#\1#p' "$out/server.log" | head -1)
url="http://127.0.0.1:$port/v1/check?format=csv"

# The bodies, one per request in turn, for wrk's Lua script.
cat > "$out/load.lua" <<LUA
local files = { "examples/duv-ok.xml", "examples/duv-chyby.xml", "$big" }
local only = os.getenv("LOAD_ONLY")
if only then files = { only } end
local bodies, turn = {}, 0
for i, name in ipairs(files) do
  local f = assert(io.open(name, "rb")); bodies[i] = f:read("*a"); f:close()
end
request = function()
  turn = turn % #bodies + 1
  return wrk.format("POST", nil, { ["Content-Type"] = "application/xml" }, bodies[turn])
end
LUA

sample_rss() {  # every second, the server's resident memory in MB, into $out/rss.txt
  : > "$out/rss.txt"
  while kill -0 "$server" 2>/dev/null; do
    awk '/^VmRSS/ { printf "%.1f\n", $2 / 1024 }' "/proc/$server/status" >> "$out/rss.txt" 2>/dev/null || break
    sleep 1
  done
}
sample_rss &
sampler=$!

echo "== mixed load: 32 connections, ${seconds} s, examples and a ${mb} MB document, $workers workers"
wrk -t2 -c32 -d"${seconds}s" --timeout 60s --latency -s "$out/load.lua" "$url" | tee "$out/mixed.txt"
kill "$sampler" 2>/dev/null || true
awk -v warm=10 'NR > warm { if (min == "" || $1 < min) min = $1; if ($1 > max) max = $1; n++; last = $1 }
  END { printf "RSS after %d s of warm-up, %d samples: min %.1f MB, max %.1f MB, last %.1f MB\n", warm, n, min, max, last }' \
  "$out/rss.txt"

echo "== throughput on the ${mb} MB document: belun-server, 32 connections, $((seconds / 2)) s"
LOAD_ONLY="$big" wrk -t2 -c32 -d"$((seconds / 2))s" --timeout 60s -s "$out/load.lua" "$url" | tee "$out/big.txt"
served=$(awk '/requests in/ { print $1 }' "$out/big.txt")
took=$(awk '/requests in/ { sub(/s,$/, "", $4); print $4 }' "$out/big.txt")
server_rate=$(awk -v n="$served" -v s="$took" -v mb="$mb" 'BEGIN { printf "%.1f", n * mb / s }')

runs=$((workers * 8))
echo "== the same document with belun: $runs runs, $workers at a time (xargs -P$workers)"
start=$(date +%s.%N)
seq "$runs" | xargs -P"$workers" -I{} "$build/belun" "$big" "$out/belun-{}.csv" > /dev/null
end=$(date +%s.%N)
rm -f "$out"/belun-*.csv
belun_rate=$(awk -v n="$runs" -v a="$start" -v b="$end" -v mb="$mb" 'BEGIN { printf "%.1f", n * mb / (b - a) }')
echo "belun-server: $server_rate MB/s, belun: $belun_rate MB/s, ratio $(awk -v s="$server_rate" -v b="$belun_rate" 'BEGIN { printf "%.0f%%", 100 * s / b }')"
grep -q "Non-2xx\|Socket errors" "$out/mixed.txt" "$out/big.txt" && { echo "FAILED REQUESTS (see above)"; exit 1; }
echo "no failed request"
