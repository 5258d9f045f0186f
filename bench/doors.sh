#!/usr/bin/env bash
# The cost of each door over the command on the benchmark's clean document (253 MB): the same
# check and CSV report through Python (the file fed by the library, and pieces of 1 MB read and fed
# by Python) and through C# on Mono. Runs alternate, so that the ratios hold on a noisy machine.
#
#   bench/doors.sh [build-dir] [runs]
#
# Needs the build's belun and libtavon.so.1 (target tavon_shared); C# is left out without mcs/mono.
set -euo pipefail
cd "$(dirname "$0")/.."
build=$(realpath "${1:-build}")
runs=${2:-5}
out=bench/out
mkdir -p "$out"
[ -s "$out/clean.xml" ] || "$build/bench/tavon_gen_duv" 100 2000 0 1 >"$out/clean.xml"
export TAVON_LIBRARY="$build/libtavon.so.1" PYTHONPATH="$PWD/python" LD_LIBRARY_PATH="$build"
python=/usr/bin/python3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

cat >"$work/file.py" <<'PY'
import sys, tavon
tavon.write_report(sys.argv[1], sys.argv[2])
PY
cat >"$work/pieces.py" <<'PY'
import sys, tavon
with open(sys.argv[1], "rb") as document, tavon.Check() as check:
    check.add_report(sys.argv[2], name=sys.argv[1])
    while piece := document.read(1 << 20):
        check.feed(piece)
    check.finish()
PY
doors=(command python-file python-pieces)
declare -A run=(
  [command]="$build/belun $out/clean.xml $work/r.csv"
  [python-file]="$python $work/file.py $out/clean.xml $work/r.csv"
  [python-pieces]="$python $work/pieces.py $out/clean.xml $work/r.csv"
)
if command -v mcs >/dev/null && command -v mono >/dev/null; then
  mcs -nologo -target:library -out:"$work/Tavon.dll" dotnet/Tavon.cs
  cp dotnet/Tavon.dll.config "$work/"
  mcs -nologo -r:"$work/Tavon.dll" -out:"$work/PrintFindings.exe" examples/dotnet/PrintFindings.cs
  doors+=(csharp)
  run[csharp]="mono $work/PrintFindings.exe $out/clean.xml $work/r.csv"
fi

declare -A times
for _ in $(seq "$runs"); do
  for door in "${doors[@]}"; do
    read -ra command <<<"${run[$door]}"
    /usr/bin/time -f %e -o "$work/t" "${command[@]}" >/dev/null
    times[$door]+="$(cat "$work/t") "
  done
done
median() { tr ' ' '\n' | grep . | sort -g | sed -n "$(( (runs + 1) / 2 ))p"; }
base=$(median <<<"${times[command]}")
printf '%-14s %8s %8s\n' door seconds ratio
for door in "${doors[@]}"; do
  m=$(median <<<"${times[$door]}")
  printf '%-14s %8s %8s\n' "$door" "$m" "$(awk -v a="$m" -v b="$base" 'BEGIN { printf "%.3f", a / b }')"
done
