#!/usr/bin/env bash
# belun-folder's overview (index.html, summary.csv) of a folder holding a clean file, a file with
# warnings only, faulty files, a file that cannot be checked (its report's name is taken) and
# hostile names (markup, a line feed, Czech letters, bytes that are no UTF-8), written by
# belun-batch and by a belun per file: dashboard_check.py compares it with the reports; headless
# Chromium renders it, runs no script from a name and sorts the table by a click on "E". On a
# terminal a progress bar counts the files; in a log there is nothing of it.
#
#   dashboard_test.sh SOURCE-DIR
set -euo pipefail
source "$(dirname "$0")/common.sh"
source_dir=$1
script="$source_dir/tools/validate-folder.sh"
python=/usr/bin/python3
[[ -x $python ]] || skip "python3 is not installed"
build=$(dirname "$BELUN")

cd "$scratch"
mkdir files
cp "$source_dir/examples/duv-ok.xml" files/ok.xml
cp "$source_dir/tests/data/e2e/single-record-contribution-rules/data.xml" files/varovani.xml
cp "$source_dir/examples/duv-chyby.xml" 'files/<img src=x onerror=alert(1)>.xml'
cp "$source_dir/examples/duv-chyby.xml" files/$'nový\nřádek.xml'
cp "$source_dir/examples/duv-ok.xml" 'files/Žluťoučký kůň.xml'
cp "$source_dir/examples/duv-chyby.xml" files/$'\x8a\xe9 1250.xml'
: >files/prazdny.xml
cp "$source_dir/examples/duv-ok.xml" files/obsazeno.xml

mkdir -p "$scratch/program"
cp "$BELUN" "$scratch/program/belun"
for way in batch solo; do
  program=$BELUN codes=codes
  [[ $way == solo ]] && program=$scratch/program/belun codes=no-codes
  mkdir "reports-$way"
  printf 'mine\n' >"reports-$way/obsazeno.xml.csv"
  rc=0
  # Without a terminal; the per-file run finds belun-batch, its overview's writer, on the PATH.
  PATH="$build:$PATH" BELUN=$program "$script" files 2 csv "reports-$way" >"$way.out" 2>"$way.err" </dev/null || rc=$?
  [[ $rc -eq 1 ]] || fail "$way: exit code $rc, expected 1 (obsazeno.xml's report name is taken): $(cat "$way.out" "$way.err")"
  [[ ! -s $way.err ]] || fail "$way: something on standard error without a terminal: $(cat -A "$way.err")"
  $python "$source_dir/tests/package/dashboard_check.py" "reports-$way" files files $codes || fail "$way: see above"
done
# The same rows both ways (the reason for obsazeno.xml names its reports folder).
cmp -s reports-batch/summary.csv <(sed 's/reports-solo/reports-batch/' reports-solo/summary.csv) ||
  fail "summary.csv differs between belun-batch and a belun per file"

# On a terminal: the bar, in place, with the count of files; no byte of a name, no other escape.
script -qec "LC_ALL=C.UTF-8 BELUN=$BELUN bash $(printf '%q' "$script") files 1 csv reports-tty" /dev/null \
  </dev/null >tty.out || true
grep -aq '\] 8/8 souboru, zbyva 0' tty.out || fail "no progress bar on a terminal: $(cat -A tty.out | head -5)"
! grep -aqP '\e(?!\[K)' tty.out || fail "an escape sequence other than the bar's: $(cat -A tty.out)"
! grep -aq 'souboru, zbyva' batch.out || fail "the progress bar reached a log"

# In Chromium: no script from a name, and the table sorted by E at a click.
browser=$(command -v chromium || command -v chromium-browser || true)
[[ -n $browser ]] || skip "chromium is not installed: the overview was checked without a browser"
command -v node >/dev/null || skip "node is not installed: the overview was checked without a browser"
CHROMIUM=$browser node "$source_dir/tests/package/dashboard_browser.js" "$scratch/reports-batch/index.html" ||
  fail "the overview in Chromium: see above"
