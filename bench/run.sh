#!/usr/bin/env bash
# Times belun side by side with a plain XML well-formedness checker (xmlwf), a streaming XML
# reader (xmllint --stream) and `wc -l` (memory bandwidth) on the same generated documents.
#
#   bench/run.sh [build-dir] [runs]          (BENCH_CPU=1: CPU seconds instead of wall seconds)
#
# Documents are generated into bench/out/ when missing (about 3 GB). Prints, per tool and document:
# the median wall time of the runs, MB/s, the peak resident memory, and the time as a multiple of
# belun's; then report rows a second, the cost of a large employer and the peak memory of one of
# 1,000,000 employees.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build-bench}
runs=${2:-5}
out=bench/out
mkdir -p "$out"

if [ ! -x "$build/belun" ] || [ ! -x "$build/bench/tavon_gen_duv" ]; then
  cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DTAVON_TESTS=OFF >/dev/null
  cmake --build "$build" >/dev/null
fi
for tool in xmlwf xmllint /usr/bin/time; do
  command -v "$tool" >/dev/null || { echo "missing $tool (apt-get install expat libxml2-utils time)"; exit 1; }
done

gen() {  # name employers employees faulty-percent
  [ -s "$out/$1.xml" ] || "$build/bench/tavon_gen_duv" "$2" "$3" "$4" 1 > "$out/$1.xml"
}
gen clean 100 2000 0
gen clean2x 200 2000 0
gen dirty 50 2000 100
gen employer2k 50 2000 0
gen employer100k 1 100000 0
gen employer1m 1 1000000 0

# median seconds and peak KB of `runs` runs of a command. The seconds are wall time, or with
# BENCH_CPU=1 user plus system time (steadier on a machine that other work shares).
measure() {
  local times=() kb=0 line tmp s
  tmp=$(mktemp)
  for _ in $(seq "$runs"); do
    /usr/bin/time -f "%e %U %S %M" -o "$tmp" "$@" >/dev/null 2>&1 || true
    read -r e u sy k < <(tail -1 "$tmp")
    if [ "${BENCH_CPU:-0}" = 1 ]; then s=$(awk -v u="$u" -v y="$sy" 'BEGIN { print u + y }'); else s=$e; fi
    times+=("$s")
    [ "$k" -gt "$kb" ] && kb=$k
  done
  rm -f "$tmp"
  printf '%s %s\n' "$(printf '%s\n' "${times[@]}" | sort -g | sed -n "$(( (runs + 1) / 2 ))p")" "$kb"
}

row() {  # label file base-seconds seconds kb
  local mb
  mb=$(du -m "$2" | cut -f1)
  awk -v l="$1" -v s="$4" -v kb="$5" -v mb="$mb" -v b="$3" \
    'BEGIN { printf "  %-26s %8.3f s %9.1f MB/s %8.1f MB peak %7.2fx belun\n", l, s, (s > 0 ? mb / s : 0), kb / 1024, (b > 0 ? s / b : 0) }'
}

compare() {  # document
  local f="$out/$1.xml" b
  echo "$1.xml ($(du -m "$f" | cut -f1) MB)"
  read -r bs bk < <(measure "$build/belun" "$f" "$out/$1.csv")
  row "belun (csv report)" "$f" "$bs" "$bs" "$bk"
  read -r s k < <(measure xmlwf -e ISO-8859-1 "$f"); row "xmlwf" "$f" "$bs" "$s" "$k"
  read -r s k < <(measure xmllint --stream --noout "$f"); row "xmllint --stream" "$f" "$bs" "$s" "$k"
  read -r s k < <(measure wc -l "$f"); row "wc -l" "$f" "$bs" "$s" "$k"
}

compare clean
compare clean2x

echo "dirty.xml: report rows a second"
for ext in csv txt htm xml json; do
  read -r s k < <(measure "$build/belun" "$out/dirty.xml" "$out/dirty-report.$ext")
  case $ext in
    csv) rows=$(( $(wc -l < "$out/dirty-report.csv") - 5 )) ;;
    txt) rows=$(( $(wc -l < "$out/dirty-report.txt") - 7 )) ;;
    htm) rows=$(grep -ac '^<tr>' "$out/dirty-report.htm") ;;
    xml) rows=$(grep -ac '^<Chyba>' "$out/dirty-report.xml") ;;
    json) rows=$(( $(grep -ac '^{' "$out/dirty-report.json") - 1 )) ;;  # a finding per line, after the header
  esac
  awk -v e="$ext" -v s="$s" -v r="$rows" -v k="$k" \
    'BEGIN { printf "  %-4s %9d rows %8.3f s %12.0f rows/s %8.1f MB peak\n", e, r, s, (s > 0 ? r / s : 0), k / 1024 }'
done

echo "cost per employee: one employer of 100,000 against employers of 2,000"
read -r s1 k1 < <(measure "$build/belun" "$out/employer2k.xml" "$out/employer2k.csv")
read -r s2 k2 < <(measure "$build/belun" "$out/employer100k.xml" "$out/employer100k.csv")
awk -v a="$s1" -v b="$s2" 'BEGIN { printf "  50 x 2,000: %.3f s (%.2f us/employee); 1 x 100,000: %.3f s (%.2f us/employee)\n", a, a / 100000 * 1e6, b, b / 100000 * 1e6 }'

# Memory grows only with the largest employer: its employees are kept until its end.
echo "memory: one employer of 1,000,000 employees ($(du -m "$out/employer1m.xml" | cut -f1) MB)"
read -r s k < <(measure "$build/belun" "$out/employer1m.xml" "$out/employer1m.csv")
awk -v s="$s" -v k="$k" 'BEGIN { printf "  %.3f s, %.1f MB peak%s\n", s, k / 1024, (k > 64 * 1024 ? " (above the 64 MB target)" : "") }'
