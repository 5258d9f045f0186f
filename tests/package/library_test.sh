#!/usr/bin/env bash
# The validator library as a program outside this tree uses it: `cmake --install` into an empty
# prefix, then the example client (examples/client) configured with find_package(tavon) and no C++
# standard of its own, built and run on the faulty example. Its findings, counted per code, must
# equal the rows of belun's report, and its texts must be UTF-8. The C example (examples/c), a C-only
# project, builds against tavon::shared, and with pkg-config's flags alone, and both builds print
# the same findings with belun's totals.
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
libdir=$(cd "$prefix" && dirname "$(find . -name libtavon.so.1 | head -1)")
for f in include/tavon/tavon.h include/tavon/check.h include/tavon/c_api.h lib/cmake/tavon/tavonConfig.cmake \
  "$libdir/libtavon.so" "$libdir/pkgconfig/tavon.pc"; do
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

# The C example through CMake (tavon::shared) and through pkg-config; each runs with the installed
# shared library only (LD_LIBRARY_PATH names the prefix).
"$CMAKE" -S "$source_dir/examples/c" -B "$scratch/c" -G "$generator" -DCMAKE_PREFIX_PATH="$prefix" \
  >"$scratch/configure-c.log" 2>&1 || { cat "$scratch/configure-c.log" >&2; fail "examples/c does not configure"; }
"$CMAKE" --build "$scratch/c" >"$scratch/build-c.log" 2>&1 || { cat "$scratch/build-c.log" >&2; fail "examples/c does not build"; }
readelf -d "$scratch/c/print_findings" | grep -q 'NEEDED.*libtavon\.so\.1' || fail "examples/c does not link libtavon.so.1"
export LD_LIBRARY_PATH="$prefix/$libdir"
"$scratch/c/print_findings" duv-chyby.xml >c-cmake.txt || fail "the C example ended with $?"
if command -v pkg-config >/dev/null; then
  cc -std=c99 -Wall -Wextra -pedantic -Werror -o print_findings_c "$source_dir/examples/c/print_findings.c" \
    $(PKG_CONFIG_PATH="$prefix/$libdir/pkgconfig" pkg-config --cflags --libs tavon) || fail "cc with pkg-config's flags failed"
  ./print_findings_c duv-chyby.xml >c-pkg-config.txt || fail "the C example (pkg-config) ended with $?"
  cmp -s c-cmake.txt c-pkg-config.txt || fail "the two builds of the C example print different findings"
fi
[[ $(tail -1 c-cmake.txt) == "$(grep '^E ' counts.txt)" ]] ||
  fail "the C example's totals: $(tail -1 c-cmake.txt), belun's: $totals"
[[ $(($(wc -l <c-cmake.txt) - 1)) -eq $(grep -vc '^E ' findings.txt) ]] || fail "the C example printed $(wc -l <c-cmake.txt) lines"
echo "examples/c against tavon::shared (and pkg-config): $(tail -1 c-cmake.txt)"
