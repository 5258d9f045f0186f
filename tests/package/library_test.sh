#!/usr/bin/env bash
# The validator library as a program outside this tree uses it: `cmake --install` into an empty
# prefix, then the example client (examples/client) configured with find_package(tavon) and no C++
# standard of its own, built and run on the faulty example. Its findings, counted per code, must
# equal the rows of belun's report, and its texts must be UTF-8.
#
#   library_test.sh BUILD-DIR SOURCE-DIR GENERATOR
set -euo pipefail
source "$(dirname "$0")/common.sh"
build=$1
source_dir=$2
generator=$3

prefix="$scratch/prefix"
"$CMAKE" --install "$build" --prefix "$prefix" >"$scratch/install.log" || {
  cat "$scratch/install.log" >&2
  fail "cmake --install failed"
}
for f in include/tavon/tavon.h include/tavon/check.h lib/cmake/tavon/tavonConfig.cmake; do
  [[ -f $prefix/$f ]] || fail "$f is not installed"
done

"$CMAKE" -S "$source_dir/examples/client" -B "$scratch/client" -G "$generator" \
  -DCMAKE_PREFIX_PATH="$prefix" >"$scratch/configure.log" 2>&1 || {
  cat "$scratch/configure.log" >&2
  fail "the example client does not configure against the installed package"
}
"$CMAKE" --build "$scratch/client" >"$scratch/build.log" 2>&1 || {
  cat "$scratch/build.log" >&2
  fail "the example client does not build against the installed package"
}

cd "$scratch"
cp "$source_dir/examples/duv-chyby.xml" .
"$scratch/client/print_findings" duv-chyby.xml >findings.txt || fail "print_findings ended with $?"
iconv -f utf-8 -t utf-8 findings.txt >/dev/null || fail "the findings printed are not UTF-8"
grep -q 'Neznámý kód NUTS' findings.txt || fail "the Czech descriptions are not printed in UTF-8"
{ grep -v '^E ' findings.txt | cut -f1 | LC_ALL=C sort | uniq -c | awk '{print $2, $1}'; grep '^E ' findings.txt; } >counts.txt
"$BELUN" duv-chyby.xml report.csv >/dev/null || fail "belun ended with $?"
# The codes of the report's rows (between the header line and the empty line before the totals).
expected=$(LC_ALL=C sed -n '2,/^\r$/p' report.csv | LC_ALL=C grep -av $'^\r$' | cut -d';' -f2 |
  LC_ALL=C sort | uniq -c | awk '{print $2, $1}')
totals=$(LC_ALL=C sed -n 's/^Celkem chyb vahy \([EW]\):; *\([0-9]*\).*/\1 \2/p' report.csv | tr '\n' ' ')
actual=$(grep -v '^E ' counts.txt)
[[ -n $expected && $actual == "$expected" ]] || fail "counts per code differ from the report:
$(diff <(echo "$expected") <(echo "$actual"))"
[[ "$(grep '^E ' counts.txt) " == "E ${totals#E }" ]] || fail "totals differ: $(grep '^E ' counts.txt) against $totals"
echo "print_findings on duv-chyby.xml: $(wc -l <findings.txt) lines, $(grep '^E ' counts.txt)"
