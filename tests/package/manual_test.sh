#!/usr/bin/env bash
# The manual page renders without a single groff warning at the usual terminal widths, carries the
# program's version, and documents every switch and report extension that the help text lists.
#
#   manual_test.sh MANUAL-PAGE VERSION
set -euo pipefail
source "$(dirname "$0")/common.sh"
page=$1
version=$2

command -v groff >/dev/null || skip "groff is not installed"

for width in 60 80 100 132; do
  warnings=$(groff -man -Tutf8 -ww -z -rLL=${width}n "$page" 2>&1)
  [[ -z $warnings ]] || fail "groff warns at width $width:
$warnings"
done
rendered=$(groff -man -Tutf8 -rLL=80n -P-cbou "$page" 2>/dev/null)
for section in NAME SYNOPSIS DESCRIPTION OPTIONS "EXIT STATUS" EXAMPLES; do
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
echo "switches: ${switches//$'\n'/ }, extensions: ${extensions//$'\n'/ }"
