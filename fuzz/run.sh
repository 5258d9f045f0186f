#!/usr/bin/env bash
# Builds the fuzz targets with clang into build-fuzz and runs each for the given number of seconds
# (default 60), two at a time at most (one per core); prints executions, edge coverage and corpus
# size per target. The corpus that grows is kept in build-fuzz/corpus/<target>; the end-to-end
# documents and the examples are read as seeds where they stand. Failing inputs are written to
# build-fuzz/artifacts/<target>/. Exit status 1 when any target found a failure.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
targets=(document_fuzz list_fuzz tokenizer_fuzz field_checks_fuzz c_api_fuzz)
parallel=$(nproc)
[ "$parallel" -le 2 ] || parallel=2

cc=clang-14
cxx=clang++-14
command -v "$cxx" >/dev/null || { cc=clang; cxx=clang++; }
CC=$cc CXX=$cxx cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTAVON_FUZZ=ON \
  -DTAVON_TESTS=OFF >/dev/null
cmake --build build-fuzz --target "${targets[@]}"

# The seeds: every input document of the end-to-end cases (not their arguments, expected reports
# and lists of files) and the examples, as one comma-separated list.
find tests/data/e2e -mindepth 2 -maxdepth 2 -type f ! -name args ! -name needs ! -name list.txt |
  cat - <(ls examples/*.xml) | sort | paste -sd, >build-fuzz/seeds.txt

run_target() {
  local target=$1
  local corpus=build-fuzz/corpus/$target artifacts=build-fuzz/artifacts/$target
  mkdir -p "$corpus" "$artifacts"
  local status=0
  "build-fuzz/fuzz/$target" -max_total_time="$seconds" -max_len=65536 -timeout=30 -print_final_stats=1 \
    -dict=fuzz/duv.dict -seed_inputs=@build-fuzz/seeds.txt -artifact_prefix="$PWD/$artifacts/" "$corpus" \
    >"build-fuzz/$target.log" 2>&1 || status=$?
  echo "$status" >"build-fuzz/$target.status"
}

for t in "${targets[@]}"; do
  rm -f "build-fuzz/$t.status"
  while [ "$(jobs -rp | wc -l)" -ge "$parallel" ]; do wait -n || true; done
  run_target "$t" &
done
wait

failed=0
for t in "${targets[@]}"; do
  log=build-fuzz/$t.log
  status=$(cat "build-fuzz/$t.status" 2>/dev/null || echo "?")
  edges=$(grep -oE 'Loaded 1 modules +\([0-9]+ inline 8-bit counters' "$log" | grep -oE '[0-9]+ inline' | cut -d' ' -f1 || true)
  last=$(grep -E '^#[0-9]+' "$log" | tail -1 || true)
  runs=$(grep -oE 'stat::number_of_executed_units: *[0-9]+' "$log" | grep -oE '[0-9]+$' || true)
  [ -n "$runs" ] || runs=$(grep -oE '^#[0-9]+' <<<"$last" | tr -d '#')
  coverage=$(grep -oE 'cov: [0-9]+' <<<"$last" | grep -oE '[0-9]+' || true)
  features=$(grep -oE 'ft: [0-9]+' <<<"$last" | grep -oE '[0-9]+' || true)
  corpus=$(grep -oE 'corp: [0-9]+/[0-9]+[a-zA-Z]*' <<<"$last" | cut -d' ' -f2 || true)
  echo "$t: ${runs:-?} executions in ${seconds} s, coverage ${coverage:-?} of ${edges:-?} edges, ${features:-?} features, corpus ${corpus:-?}"
  if [ "$status" != 0 ]; then
    failed=1
    echo "$t FAILED (exit $status); log: $log" >&2
    grep -E 'broken property|ERROR: |runtime error|SUMMARY' -A3 "$log" | head -20 >&2 || true
    ls -1 build-fuzz/artifacts/"$t"/ >&2 || true
  fi
done
exit $failed
