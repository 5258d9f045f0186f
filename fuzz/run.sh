#!/usr/bin/env bash
# Builds the fuzz targets with clang into build-fuzz and runs each for the given number of seconds
# (default 60), one per core at a time; prints executions, coverage and corpus size per target.
# The corpus that grows is kept in build-fuzz/corpus/<target>, failing inputs are written to
# build-fuzz/artifacts/<target>/. Exit status 1 when any target found a failure.
set -euo pipefail
cd "$(dirname "$0")/.."
sekundy=${1:-60}
cile=(dokument_fuzz seznam_fuzz)

cc=clang-14
cxx=clang++-14
command -v "$cxx" >/dev/null || { cc=clang; cxx=clang++; }
CC=$cc CXX=$cxx cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTAVON_FUZZ=ON \
  -DTAVON_TESTS=OFF >/dev/null
cmake --build build-fuzz --target "${cile[@]}"

spust() {
  local cil=$1
  local korpus=build-fuzz/corpus/$cil artefakty=build-fuzz/artifacts/$cil
  mkdir -p "$korpus" "$artefakty"
  "build-fuzz/fuzz/$cil" -max_total_time="$sekundy" -max_len=65536 -timeout=30 -print_final_stats=1 \
    -dict=fuzz/duv.dict -artifact_prefix="$PWD/$artefakty/" "$korpus" fuzz/corpus \
    >"build-fuzz/$cil.log" 2>&1
}

declare -A stav
if [ "$(nproc)" -ge 2 ]; then
  declare -A pid
  for c in "${cile[@]}"; do spust "$c" & pid[$c]=$!; done
  for c in "${cile[@]}"; do if wait "${pid[$c]}"; then stav[$c]=0; else stav[$c]=$?; fi; done
else
  for c in "${cile[@]}"; do if spust "$c"; then stav[$c]=0; else stav[$c]=$?; fi; done
fi

selhalo=0
for c in "${cile[@]}"; do
  log=build-fuzz/$c.log
  hran=$(grep -oE 'Loaded 1 modules +\([0-9]+ inline 8-bit counters' "$log" | grep -oE '[0-9]+ inline' | cut -d' ' -f1 || true)
  posledni=$(grep -E '^#[0-9]+' "$log" | tail -1 || true)
  behu=$(grep -oE 'stat::number_of_executed_units: *[0-9]+' "$log" | grep -oE '[0-9]+$' || true)
  [ -n "$behu" ] || behu=$(grep -oE '^#[0-9]+' <<<"$posledni" | tr -d '#')
  pokryti=$(grep -oE 'cov: [0-9]+' <<<"$posledni" | grep -oE '[0-9]+' || true)
  rysy=$(grep -oE 'ft: [0-9]+' <<<"$posledni" | grep -oE '[0-9]+' || true)
  korpus=$(grep -oE 'corp: [0-9]+/[0-9]+[a-zA-Z]*' <<<"$posledni" | cut -d' ' -f2 || true)
  echo "$c: ${behu:-?} executions in ${sekundy} s, coverage ${pokryti:-?} of ${hran:-?} edges, ${rysy:-?} features, corpus ${korpus:-?}"
  if [ "${stav[$c]}" -ne 0 ]; then
    selhalo=1
    echo "$c FAILED (exit ${stav[$c]}); log: $log" >&2
    grep -E 'broken property|ERROR: |runtime error|SUMMARY' -A3 "$log" | head -20 >&2 || true
    ls -1 build-fuzz/artifacts/"$c"/ >&2 || true
  fi
done
exit $selhalo
