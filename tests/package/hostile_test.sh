#!/usr/bin/env bash
# Hostile file names and values through every report format and the console, read back as their
# readers read them: each HTML report in headless Chromium runs no script (a script would set the
# page's title), each XML report is well-formed for xmllint, each CSV report reads with Python's csv
# module with no cell that a spreadsheet would take for a formula, and no console output holds an
# escape character. Both console character sets (C and UTF-8 locales) are tried.
#
#   hostile_test.sh SOURCE-DIR
set -euo pipefail
source "$(dirname "$0")/common.sh"
source_dir=$1

browser=$(command -v chromium || command -v chromium-browser || true)
command -v xmllint >/dev/null || skip "xmllint is not installed"
command -v python3 >/dev/null || skip "python3 is not installed"

cd "$scratch"
esc=$'\e'
names=(
  '<img src=x onerror=document.title=1>.xml'
  'a&b<c>.xml'
  'x;=cmd|calc.xml'
  $'nový\nřádek.xml'
  "$esc]0;HACKED$'\a'$esc[2J.xml"
  'ŘÁDEK ŽĎÁR.xml'
  $'\x81\x83\x88\x90\x98.xml'
  '$(touch PWNED).xml'
)
# Values that reach the cells: a formula, escape sequences (the employee identifier reaches the
# progress line too), the five bytes Windows-1250 leaves undefined.
printf -v values '%s' \
  "s#<AA0017>20000006</AA0017>#<AA0017>=HYPERLINK(\"http://e/\";\"x\")</AA0017>#;" \
  "0,/<AA0126>[^<]*</s##<AA0126>${esc}]0;HACKED${esc}[2J</#;" \
  "0,/<AA0013>[^<]*</s##<AA0013>@SUM(1+1)</#;" \
  "0,/<AA0033>[^<]*</s##<AA0033>"$'\x81\x83\x88\x90\x98'"</#"
LC_ALL=C sed -e "$values" "$source_dir/examples/duv-ok.xml" >hostile.xml

checked=0
for locale in C C.UTF-8; do
  for name in "${names[@]}"; do
    cp hostile.xml "./$name"
    for format in htm xml csv txt; do
      report="report.$format"
      LC_ALL=$locale "$BELUN" "./$name" "$report" >console.txt || fail "belun ended with $? on $name"
      ! grep -q "$esc" console.txt || fail "an escape character reached the console ($locale, $name)"
      case $format in
        xml) xmllint --noout "$report" 2>xmllint.log || fail "ill-formed XML report for $name: $(head -3 xmllint.log)" ;;
        csv)
          python3 - "$report" <<'PY' || fail "CSV report of $name: see above"
import csv, re, sys
with open(sys.argv[1], newline='', encoding='cp1250') as f:
    rows = list(csv.reader(f, delimiter=';'))
number = re.compile(r'^[+-]?(\d+([.,]\d*)?|[.,]\d+)$')
for row in rows:
    for cell in row:
        if cell[:1] in ('=', '+', '-', '@', '\t', '\r') and not number.match(cell):
            sys.exit('a formula cell: %r' % cell)
    if row and len(row) not in (2, 8):
        sys.exit('a row of %d cells: %r' % (len(row), row))
PY
          ;;
        htm)
          if [[ -n $browser ]]; then
            dom=$(timeout 120 "$browser" --headless --no-sandbox --disable-gpu --disable-quic --no-first-run \
              --disable-background-networking --disable-component-update --disable-sync \
              --user-data-dir="$scratch/profile" --dump-dom "file://$scratch/$report" 2>>browser.log) ||
              fail "chromium failed on the report of $name"
            grep -q '<title>DUV - vysledky kontroly dat</title>' <<<"$dom" ||
              fail "a script ran in the HTML report of $name (title: $(grep -o '<title>[^<]*' <<<"$dom"))"
            grep -q '<img' <<<"$dom" && fail "markup from a name or value became an element ($name)"
          fi
          ;;
      esac
      checked=$((checked + 1))
    done
    rm -f -- "./$name"
  done
done
[[ ! -e PWNED ]] || fail "a command from a file name ran"
# A list naming a missing document with markup in its name: the run fails and leaves no report.
printf '"<svg/onload=document.title=1>.xml"\n' >list.txt
"$BELUN" @list.txt list.htm >/dev/null && fail "a list naming a missing document passed"
[[ ! -e list.htm ]] || fail "a failed run left a report"
echo "$checked reports of ${#names[@]} hostile names in 4 formats and 2 locales: no script, no formula," \
  "well-formed XML, no escape on the console${browser:+ (HTML in Chromium)}"
