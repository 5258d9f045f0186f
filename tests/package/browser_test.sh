#!/usr/bin/env bash
# The HTML report as a browser sees it: headless Chromium loads a report and dumps the DOM it
# built. The Windows-1250 headings arrive as the right letters, the findings table has one row per
# finding (the console totals) plus its heading, the summary lists every code with its count (as
# counted from the CSV report of the same document), and markup-like text of the document stays
# text: the probe document carries an element name that would open a <script> element if the report
# did not escape it, and the namespace warning, whose description names <DUV>.
#
#   browser_test.sh SOURCE-DIR
set -euo pipefail
source "$(dirname "$0")/common.sh"
source_dir=$1

browser=$(command -v chromium || command -v chromium-browser || true)
[[ -n $browser ]] || skip "chromium is not installed"

dump_dom() {
  timeout 120 "$browser" --headless --no-sandbox --disable-gpu --disable-quic --no-first-run \
    --disable-background-networking --disable-component-update --disable-sync \
    --user-data-dir="$scratch/profile" --dump-dom "file://$1" 2>>"$scratch/browser.log" ||
    fail "chromium failed on $1: $(tail -5 "$scratch/browser.log")"
}

# table_rows N: the rows of the N-th table of $dom, one a line, the cell texts ended by "|".
table_rows() {
  awk -v n="$1" 'BEGIN { RS = "<table" }
    NR == n + 1 {
      gsub(/\n/, " ")
      k = split($0, rows, /<tr( [^>]*)?>/)
      for (i = 2; i <= k; i++) {
        r = rows[i]
        gsub(/<\/t[dh]>/, "|", r)
        gsub(/<[^>]*>/, "", r)
        gsub(/&nbsp;/, " ", r)
        gsub(/ *\| */, "|", r)
        sub(/^ */, "", r)
        sub(/ *$/, "", r)
        print r
      }
    }' <<<"$dom"
}

cd "$scratch"
tab=$'\t'
LC_ALL=C sed -e 's#xmlns="[^"]*"#xmlns="http://example.org/"#' \
  -e "0,/^<zamestnavatel>/s##<x<script${tab}id=evil>alert(1)</x<script${tab}id=evil>\n&#" \
  "$source_dir/examples/duv-chyby.xml" >probe.xml

console=$("$BELUN" probe.xml report.htm) || fail "belun ended with $?"
read -r errors warnings <<<"$(totals "$console")"
"$BELUN" probe.xml report.csv >/dev/null || fail "belun ended with $? (CSV)"
dom=$(dump_dom "$scratch/report.htm")

for text in "Datum a čas" "Řádek" "Zaměstnavatel" "Zaměstnanec" "Očekáváno" "Počet" "Popis chyby"; do
  grep -qF "$text" <<<"$dom" || fail "\"$text\" is not in the DOM: the Windows-1250 heading was not decoded"
done

[[ $(grep -c '<table' <<<"$dom") -eq 3 ]] || fail "the DOM has not three tables"
findings=$(table_rows 2)
[[ $(wc -l <<<"$findings") -eq $((errors + warnings + 1)) ]] ||
  fail "the findings table has $(wc -l <<<"$findings") rows, the totals say $errors + $warnings findings"
[[ $(head -1 <<<"$findings") == "Řádek|Chyba|Zaměstnavatel|Zaměstnanec|Prvek|Hodnota|Očekáváno|Popis|" ]] ||
  fail "heading row: $(head -1 <<<"$findings")"

# The summary: every code of the CSV report with its count, in ascending order of the codes.
from_csv=$(LC_ALL=C sed -n '2,/^\r\{0,1\}$/p' report.csv | LC_ALL=C sed '/^\r\{0,1\}$/d' | cut -d';' -f2 |
  LC_ALL=C sort | uniq -c | awk '{print $2 "|" $1}')
summary=$(table_rows 3 | tail -n +2 | cut -d'|' -f1,2)
[[ -n $from_csv && $summary == "$from_csv" ]] || fail "the summary differs from the CSV report's codes:
$(diff <(echo "$from_csv") <(echo "$summary"))"
for code in ES301 WS102; do
  grep -q "^$code|" <<<"$summary" || fail "the probe's finding $code is not listed"
done

# Markup from the document stays text.
if grep -qi '<script' <<<"$dom"; then fail "the DOM has a script element: $(grep -i '<script' <<<"$dom" | head -3)"; fi
grep -qF "x&lt;script${tab}id=evil" <<<"$dom" || fail "the element name of the probe is not shown as text"
grep -qF 'Element &lt;DUV&gt; by měl' <<<"$dom" || fail "the description of WS102 is not shown as text"

# The probe is a real one: without the escaping the same report gives the browser a script element.
LC_ALL=C sed -e 's/&lt;/</g' -e 's/&gt;/>/g' report.htm >unescaped.htm
dom=$(dump_dom "$scratch/unescaped.htm")
grep -qi '<script' <<<"$dom" || fail "the probe document no longer tests the escaping: revise it"

echo "findings: $errors errors, $warnings warnings; summary: $(wc -l <<<"$summary") codes"
