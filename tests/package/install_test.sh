#!/usr/bin/env bash
# `cmake --install` of the program (component "runtime") into an empty prefix: exactly the program,
# its manual page and the documents are installed, where users look for them, and the installed
# program checks the installed examples. (library_test.sh covers the library for developers.)
#
#   install_test.sh BUILD-DIR SOURCE-DIR
set -euo pipefail
source "$(dirname "$0")/common.sh"
build=$1
source_dir=$2

prefix="$scratch/prefix"
"$CMAKE" --install "$build" --prefix "$prefix" --component runtime >"$scratch/install.log" || {
  cat "$scratch/install.log" >&2
  fail "cmake --install failed"
}

expected="bin/belun
share/doc/belun/README.md
share/doc/belun/docs/report.png
share/doc/belun/examples/duv-chyby.xml
share/doc/belun/examples/duv-ok.xml
share/man/man1/belun.1"
actual=$(cd "$prefix" && find . -type f -o -type l | sed 's#^\./##' | LC_ALL=C sort)
[[ $actual == "$expected" ]] || fail "installed files differ from the expected set:
$(diff <(echo "$expected") <(echo "$actual"))"

[[ -x $prefix/bin/belun ]] || fail "bin/belun is not executable"
cmp -s "$source_dir/man/belun.1" "$prefix/share/man/man1/belun.1" || fail "the installed manual page differs"
for f in duv-ok.xml duv-chyby.xml; do
  cmp -s "$source_dir/examples/$f" "$prefix/share/doc/belun/examples/$f" || fail "the installed $f differs"
done

# The installed program on the installed examples (named relative to the folder: arguments are
# limited to 60 characters): the valid one has no finding, the faulty one has errors.
cd "$prefix/share/doc/belun/examples"
out=$("$prefix/bin/belun" duv-ok.xml ok.csv) || fail "belun ended with $? on duv-ok.xml"
[[ $(totals "$out") == "0 0" ]] || fail "duv-ok.xml: totals $(totals "$out"), expected 0 0"
[[ $(wc -l <ok.csv) -eq 5 ]] || fail "duv-ok.xml: the CSV report is not header and totals only"
out=$("$prefix/bin/belun" duv-chyby.xml chyby.txt) || fail "belun ended with $? on duv-chyby.xml"
read -r e _ <<<"$(totals "$out")"
((e > 0)) || fail "duv-chyby.xml: no error reported"
grep -q 'Celkem chyb vahy E:' chyby.txt || fail "duv-chyby.xml: the text report has no totals"
echo "installed: $(echo "$actual" | tr '\n' ' ')"
