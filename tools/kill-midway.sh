#!/usr/bin/env bash
# belun killed at random moments (kill -9) leaves the report and the copy of the previous run, or
# the new ones whole, never a cut file and nothing else beside them.
#
#   tools/kill-midway.sh [BELUN] [GENERATOR] [MEGABYTES] [KILLS]
#
# Generates a document of about MEGABYTES (default 1024) with the benchmark generator (a tenth of its
# records faulty, so that the report grows while the document is read), runs belun on it once to
# completion, then KILLS (default 10) times more, each killed with SIGKILL after a random part of
# the first run's time; after each it compares the folder with the complete outputs. Exits non-zero
# on the first cut or stray file.
set -euo pipefail
belun=$(realpath "${1:-build/belun}")
generator=$(realpath "${2:-build/bench/tavon_gen_duv}")
megabytes=${3:-1024}
kills=${4:-10}

work=$(mktemp -d "${TMPDIR:-/tmp}/belun-kill-XXXXXX")
trap 'rm -rf -- "$work"' EXIT
cd "$work"
# About 2.5 MB per employer of 2000 employees.
"$generator" $(((megabytes * 10 + 24) / 25)) 2000 10 7 >doc.xml

mask() { LC_ALL=C sed -E 's#[0-9]{2}/[0-9]{2}/[0-9]{4}  [0-9]{2}:[0-9]{2}:[0-9]{2}#date#' "$1"; }

start=$(date +%s%N)
"$belun" doc.xml report.csv copy.xml >/dev/null
elapsed_ms=$((($(date +%s%N) - start) / 1000000))
mask report.csv >complete.csv
cp copy.xml complete-copy.xml
[[ -f copy.xml~ ]] && { echo "FAIL: a backup of a copy that did not exist before" >&2; exit 1; }

for ((i = 1; i <= kills; i++)); do
  delay_ms=$((RANDOM % (elapsed_ms + 1)))
  "$belun" doc.xml report.csv copy.xml >/dev/null &
  pid=$!
  sleep "$((delay_ms / 1000)).$(printf '%03d' $((delay_ms % 1000)))"
  kill -9 "$pid" 2>/dev/null || true
  wait "$pid" 2>/dev/null || true
  cmp -s <(mask report.csv) complete.csv || { echo "FAIL: kill $i after $delay_ms ms left a cut report" >&2; exit 1; }
  cmp -s copy.xml complete-copy.xml || { echo "FAIL: kill $i after $delay_ms ms left a cut copy" >&2; exit 1; }
  # The backup, when the run got as far as replacing the copy, is the complete earlier copy.
  if [[ -f copy.xml~ ]]; then
    cmp -s copy.xml~ complete-copy.xml || { echo "FAIL: kill $i left a cut backup" >&2; exit 1; }
  fi
  stray=$(find . -maxdepth 1 -type f ! -name doc.xml ! -name report.csv ! -name copy.xml ! -name copy.xml~ \
    ! -name complete.csv ! -name complete-copy.xml -printf '%f ')
  [[ -z $stray ]] || { echo "FAIL: kill $i after $delay_ms ms left $stray" >&2; exit 1; }
  echo "kill $i after $delay_ms of $elapsed_ms ms: previous report and copy whole, nothing else left"
done
echo "$kills kills of a $(($(stat -c %s doc.xml) / 1000000)) MB run: never a cut report or copy, no stray file"
