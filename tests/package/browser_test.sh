#!/usr/bin/env bash
# The HTML report as a browser sees it: headless Chromium loads a report and dumps the DOM it
# built. The Windows-1250 headings arrive as the right letters, the findings table has one row per
# finding (the console totals) plus its heading, the summary lists every code with its count (as
# counted from the CSV report of the same document), and markup-like text of the document stays
# text: the probe document carries an element name that would open a <script> element if the report
# did not escape it, and the namespace warning, whose description names <DUV>. Every code and every
# field of the rows links to an explanation that the report holds, the totals are shown, and the
# report of the valid example says that the file passed. The catalogue page katalog.html arrives as
# UTF-8 and each of its links leads to an entry of its own.
#
# With TAVON_SCREENSHOT=FILE.png, the README's screenshot is written: the report of
# examples/duv-chyby.xml, its first rows above its totals and explanations.
#
#   browser_test.sh SOURCE-DIR CATALOGUE-PAGE
set -euo pipefail
source "$(dirname "$0")/common.sh"
source_dir=$1
catalogue=$2

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

# Each code and each field of the rows is a link, and every link of the report leads to an element of
# the report: its explanation of that code or field.
targets() { grep -o 'href="#[^"]*"' <<<"$1" | sed 's/^href="#//; s/"$//' | LC_ALL=C sort -u; }
ids() { grep -o ' id="[^"]*"' <<<"$1" | sed 's/^ id="//; s/"$//' | LC_ALL=C sort -u; }
missing=$(LC_ALL=C comm -23 <(targets "$dom") <(ids "$dom"))
[[ -z $missing ]] || fail "links to explanations the report does not hold: $missing"
code_links=$(awk 'BEGIN { RS = "<table" } NR == 3' <<<"$dom" | grep -c '<td><b>&nbsp;<a href="#kod-\|<td>&nbsp;<a href="#kod-')
[[ $code_links -eq $((errors + warnings)) ]] || fail "$code_links of $((errors + warnings)) codes in the rows are links"
# A field name in a Prvek cell that is no link (the probe's unknown element aside).
unlinked=$(awk 'BEGIN { RS = "<table" } NR == 3' <<<"$dom" | tr '\n' ' ' | sed 's#<tr>#\n#g' |
  awk -F'</td>' 'NF > 5 { print $5 }' | sed 's/<a [^>]*>[^<]*<\/a>//g' | grep -oE 'AA[0-9]{4}|ICOpredkladatele' || true)
[[ -z $unlinked ]] || fail "field names in the rows without a link: $unlinked"
explained=$(ids "$dom" | grep -c '^kod-\|^pole-')
[[ $(targets "$dom" | grep -c '^kod-') -ge $(wc -l <<<"$summary") ]] || fail "not every code of the summary is linked"
for text in "Celkem chyb váhy E: $errors" "Celkem chyb váhy W: $warnings" "Vysvětlivky"; do
  grep -qF "$text" <<<"$dom" || fail "the report does not show \"$text\""
done

# The valid example: no findings, and the report says the file passed.
cp "$source_dir/examples/duv-ok.xml" ok.xml
"$BELUN" ok.xml ok.htm >/dev/null || fail "belun ended with $? on duv-ok.xml"
ok_dom=$(dump_dom "$scratch/ok.htm")
for text in "Celkem chyb váhy E: 0" "Celkem chyb váhy W: 0" "Soubor prošel kontrolou bez chyb a bez varování."; do
  grep -qF "$text" <<<"$ok_dom" || fail "the report of duv-ok.xml does not show \"$text\""
done

# The catalogue page: UTF-8 decoded, every code and field an entry, every link to one of them.
page_dom=$(dump_dom "$catalogue")
grep -qF "Katalog kódů chyb a prvků" <<<"$page_dom" || fail "katalog.html: the UTF-8 heading was not decoded"
missing=$(LC_ALL=C comm -23 <(targets "$page_dom") <(ids "$page_dom"))
[[ -z $missing ]] || fail "katalog.html links to entries it does not hold: $missing"
page_entries=$(ids "$page_dom" | grep -c '^kod-\|^pole-')

if [[ -n ${TAVON_SCREENSHOT:-} ]]; then
  cp "$source_dir/examples/duv-chyby.xml" duv-chyby.xml
  "$BELUN" duv-chyby.xml duve.htm >/dev/null || fail "belun ended with $? on duv-chyby.xml"
  cat >screenshot.html <<'HTML'
<!DOCTYPE html><html><head><meta charset="utf-8"><style>
html, body { margin: 0; height: 100%; } iframe { display: block; width: 100%; border: 0; }
#rows { height: 430px; border-bottom: 3px solid #888; } #end { height: calc(100% - 433px); }
</style></head><body><iframe id="rows" src="duve.htm"></iframe><iframe id="end" src="duve.htm#celkem"></iframe></body></html>
HTML
  timeout 120 "$browser" --headless --no-sandbox --disable-gpu --no-first-run --hide-scrollbars \
    --user-data-dir="$scratch/profile" --window-size=1280,900 --virtual-time-budget=5000 \
    --screenshot="$TAVON_SCREENSHOT" "file://$scratch/screenshot.html" 2>>"$scratch/browser.log" ||
    fail "chromium failed on the screenshot: $(tail -5 "$scratch/browser.log")"
  echo "screenshot: $TAVON_SCREENSHOT"
fi

# The probe is a real one: without the escaping the same report gives the browser a script element.
LC_ALL=C sed -e 's/&lt;/</g' -e 's/&gt;/>/g' report.htm >unescaped.htm
dom=$(dump_dom "$scratch/unescaped.htm")
grep -qi '<script' <<<"$dom" || fail "the probe document no longer tests the escaping: revise it"

echo "findings: $errors errors, $warnings warnings; summary: $(wc -l <<<"$summary") codes;" \
  "explained in the report: $explained codes and fields; katalog.html: $page_entries entries"
