#!/usr/bin/env bash
# The manual pages of belun and belun-folder render without a single groff warning at the usual
# terminal widths and carry the program's version; belun's documents every switch and report
# extension that the help text lists and lists every code of the catalogue page with its meaning,
# belun-folder's every exit code of the script; belun-server's, where the service is built, every
# switch of its help text.
#
#   manual_test.sh MANUAL-PAGE FOLDER-MANUAL-PAGE VERSION CATALOGUE-PAGE [SERVER-PAGE BELUN-SERVER]
set -euo pipefail
source "$(dirname "$0")/common.sh"
page=$1
folder_page=$2
version=$3
catalogue=$4
server_page=${5:-}
server=${6:-}

command -v groff >/dev/null || skip "groff is not installed"

for p in "$page" "$folder_page" ${server_page:+"$server_page"}; do
  for width in 60 80 100 132; do
    warnings=$(groff -man -Tutf8 -ww -z -rLL=${width}n "$p" 2>&1)
    [[ -z $warnings ]] || fail "groff warns on $(basename "$p") at width $width:
$warnings"
  done
done
grep -q "^\.TH BELUN-FOLDER 1 [^ ]* \"belun $version\"" "$folder_page" || fail "belun-folder.1: the .TH line does not carry version $version"
for code in 0 1 2; do
  grep -A1 -x '\.TP' "$folder_page" | grep -qx "\.B $code" || fail "belun-folder.1: exit code $code has no entry"
done
rendered=$(groff -man -Tutf8 -rLL=80n -P-cbou "$page" 2>/dev/null)
for section in NAME SYNOPSIS DESCRIPTION OPTIONS "ERROR CODES" "EXIT STATUS" EXAMPLES; do
  grep -qx "$section" <<<"$rendered" || fail "no section $section"
done

grep -q "^\.TH BELUN 1 [^ ]* \"belun $version\"" "$page" || fail "the .TH line does not carry version $version"

# Each switch and each report extension of the help text is described in the page.
rc=0
help=$("$BELUN" -h) || rc=$?
[[ $rc -eq 1 ]] || fail "belun -h ended with $rc"
switches=$(grep -oE '^ +-[a-z] ' <<<"$help" | tr -d ' ')
extensions=$(grep -oE ' \.[a-z]+' <<<"$help" | tr -d ' .')
[[ $(wc -w <<<"$switches") -ge 2 && $(wc -w <<<"$extensions") -ge 4 ]] || fail "help text not understood: $help"
for s in $switches; do
  grep -qx "\.B \\\\$s" "$page" || fail "switch $s has no entry"
done
for e in $extensions; do
  grep -qE "^\.B(R)? $e( |$)" "$page" || fail "report extension $e has no entry"
done
for code in 0 1 13; do
  grep -A1 -x '\.TP' "$page" | grep -qx "\.B $code" || fail "exit code $code has no entry"
done

# The list of codes: the codes of the catalogue page, in its order, each with a line of meaning.
listed=$(sed -n '/^\.SH ERROR CODES$/,/^\.SH /p' "$page" | awk '/^\.TP$/ {getline code; getline meaning;
  if (code ~ /^\.B [EW][SLR][A-Z0-9][A-Z0-9][A-Z0-9]$/ && meaning != "" && meaning !~ /^\./) print substr(code, 4)}')
in_catalogue=$(grep -o '<h3 id="kod-[A-Z0-9]*"' "$catalogue" | sed 's/.*kod-//; s/"//')
[[ -n $listed && $listed == "$in_catalogue" ]] || fail "the list of codes differs from the catalogue's:
$(diff <(echo "$in_catalogue") <(echo "$listed") | head -20)"
grep -q "katalog\.html" <<<"$rendered" || fail "the page does not name katalog.html"

if [[ -n $server_page ]]; then
  grep -q "^\.TH BELUN-SERVER 1 [^ ]* \"belun $version\"" "$server_page" || fail "belun-server.1: the .TH line does not carry version $version"
  server_switches=$("$server" -h | grep -oE '^  -[-a-z]+' | tr -d ' ')
  [[ $(wc -w <<<"$server_switches") -ge 9 ]] || fail "belun-server's help text not understood"
  for s in $server_switches; do
    grep -qE "^\.BI? ${s//-/\\\\-}( |$)" "$server_page" || fail "belun-server.1: switch $s has no entry"
  done
fi

echo "switches: ${switches//$'\n'/ }, extensions: ${extensions//$'\n'/ }, codes: $(wc -l <<<"$listed")"
