#!/usr/bin/env bash
# tools/validate-folder.sh on a folder of three documents, checked three at a time: one report per
# document, named after its whole name, each the same as a run of belun on that document alone,
# the right numbers in the summary and an exit code that tells that some files have errors. Then a
# single file, whose report names it as it was given. Last, a folder of hostile names (a line feed
# and tabs forging a summary line, $(...), backticks, glob characters, a leading dash, 200
# characters, Czech letters, names that differ only in case or in a dot) into a reports folder far
# away, checked by belun-batch and by belun alone (a process per file): nothing is run, each file is
# summarised once with the totals of its own report, which names it, and a user's file in the
# reports folder is left as it was, with nothing else left behind.
#
#   folder_test.sh SOURCE-DIR
set -euo pipefail
source "$(dirname "$0")/common.sh"
source_dir=$1
script="$source_dir/tools/validate-folder.sh"
ok="$source_dir/examples/duv-ok.xml"
chyby="$source_dir/examples/duv-chyby.xml"

folder="$scratch/dodavky.2006"
mkdir "$folder"
cp "$ok" "$folder/ok.xml"
cp "$chyby" "$folder/chyby.2006.xml"
: >"$folder/prazdny.XML"
touch "$folder/poznamka.txt"

rc=0
summary=$("$script" "$folder" 3 csv) || rc=$?
[[ $rc -eq 2 ]] || fail "exit code $rc, expected 2 (files with errors): $summary"
reports=$(find "$folder/reports" -mindepth 1 -printf '%f\n' | LC_ALL=C sort | tr '\n' ' ')
[[ $reports == "chyby.2006.xml.csv index.html katalog.html ok.xml.csv prazdny.XML.csv summary.csv " ]] ||
  fail "reports: $reports"
cd "$scratch"
for document in ok.xml chyby.2006.xml prazdny.XML; do
  console=$("$BELUN" "dodavky.2006/$document" alone.csv) || fail "belun ended with $? on $document"
  cmp -s alone.csv "$folder/reports/$document.csv" || fail "the report of $document differs from belun's alone"
  read -r e w <<<"$(totals "$console")"
  line="E $(printf '%6s' "$e")  W $(printf '%6s' "$w")  $folder/$document -> $folder/reports/$document.csv"
  grep -qxF "$line" <<<"$summary" || fail "no summary line \"$line\" in:
$summary"
done
[[ $(tail -1 <<<"$summary") == "files: 3, checked: 3, with errors: 2, not checked: 0" ]] ||
  fail "last line: $(tail -1 <<<"$summary")"

# A file named relative to the working folder: its report's header names it so.
summary=$("$script" dodavky.2006/ok.xml 1 htm html) || fail "exit code $? for a file without errors"
[[ $(find html -mindepth 1 -printf '%f ') == "ok.xml.htm " ]] || fail "reports of one file: $(ls -A html)"
grep -q '<th width=38%> dodavky.2006/ok.xml </th>' html/ok.xml.htm || fail "ok.xml.htm does not name dodavky.2006/ok.xml"
[[ $summary == *"files: 1, checked: 1, with errors: 0, not checked: 0" ]] || fail "summary: $summary"

# The hostile names, each with the other example than its neighbour, so that swapped results show.
# shellcheck disable=SC2016  # the names hold $(...) and backticks as they stand
hostile=(
  "$(printf 'z\nchecked\tfiles[$(touch PWNED)]\t0\tzz.xml')" '$(touch PWNED).xml' '`touch PWNED`.xml'
  '*?[.xml' '-w.xml' "$(printf 'd%.0s' {1..196}).xml" 'Žluťoučký kůň úpěl ďábelské ódy.xml' X.xml X.XML
  a.b.xml a_b.xml 'mezery  a tab	.xml' good.xml
)
mkdir evil
for i in "${!hostile[@]}"; do
  if ((i % 2)); then cp "$ok" "evil/${hostile[i]}"; else cp "$chyby" "evil/${hostile[i]}"; fi
done
# report NAME: its report's name as documented (names differing only in case get ~1, ~2 by byte order).
report() {
  case $1 in
    X.XML) echo X.XML~1.txt ;;
    X.xml) echo X.xml~2.txt ;;
    *) echo "$1.txt" ;;
  esac
}
# Lists of names joined by "/", which no name holds.
# With the overview beside them (dashboard_test.sh reads it).
expected_reports=$({
  for name in "${hostile[@]}"; do printf '%s\0' "$(report "$name")"; done
  printf '%s\0' index.html katalog.html summary.csv
} | LC_ALL=C sort -z | tr '\0' /)
mkdir "$scratch/program"
cp "$BELUN" "$scratch/program/belun"
[[ -x $(dirname "$BELUN")/belun-batch ]] || fail "no belun-batch beside $BELUN"
far="$scratch/$(printf 'r%.0s' {1..60})"
for way in batch solo solo; do
  program=$BELUN
  [[ $way == solo ]] && program=$scratch/program/belun
  mkdir -p "$far/$way"
  printf 'mine\n' >"$far/$way/good.xml.txt"
  rc=0
  # The belun per file finds belun-batch, the overview's writer, on the PATH.
  summary=$(PATH="$(dirname "$BELUN"):$PATH" BELUN=$program "$script" evil 2 txt "$far/$way") || rc=$?
  [[ $rc -eq 1 ]] || fail "$way: exit code $rc, expected 1 (good.xml's report name is taken): $summary"
  [[ -z $(find "$scratch" -name PWNED) ]] || fail "$way: a name ran a command"
  [[ $(cat "$far/$way/good.xml.txt") == mine ]] || fail "$way: the user's good.xml.txt was replaced"
  [[ $(wc -l <<<"$summary") -eq ${#hostile[@]}+1 ]] || fail "$way: not one line per file: $summary"
  [[ $(tail -1 <<<"$summary") == "files: ${#hostile[@]}, checked: $((${#hostile[@]} - 1)), with errors: 6, not checked: 1" ]] ||
    fail "$way: last line: $(tail -1 <<<"$summary")"
  grep -qF "NOT CHECKED     evil/good.xml: belun ended with 13: Protokol $far/$way/good.xml.txt by p" <<<"$summary" ||
    fail "$way: no line for the taken report name: $summary"
  [[ $(cd "$far/$way" && find . -mindepth 1 -printf '%f\0' | LC_ALL=C sort -z | tr '\0' /) == "$expected_reports" ]] ||
    fail "$way: the reports folder holds: $(ls -A "$far/$way")"
  for name in "${hostile[@]}"; do
    [[ $name == good.xml ]] && continue
    file="$far/$way/$(report "$name")"
    e=$(sed -n 's/^Celkem chyb vahy E: *\([0-9]*\)\r$/\1/p' "$file")
    w=$(sed -n 's/^Celkem chyb vahy W: *\([0-9]*\)\r$/\1/p' "$file")
    shown=${name//[[:cntrl:]]/?}
    line="E $(printf '%6s' "$e")  W $(printf '%6s' "$w")  evil/$shown -> $far/$way/$(report "$shown")"
    [[ $(grep -cxF -- "$line" <<<"$summary") -eq 1 ]] || fail "$way: not one line \"$line\" in: $summary"
    header=$(head -1 "$file" | iconv -f CP1250 -t UTF-8)
    [[ $header == *"Soubor:   evil/$shown "$'\r' ]] || fail "$way: the report of $shown names: $header"
  done
  rm -rf "$scratch/$way.reports"
  cp -r "$far/$way" "$scratch/$way.reports"
done
for report in "$scratch"/batch.reports/*.txt; do same_report "$report" "$scratch/solo.reports/${report##*/}"; done

# Alone, a file gets the report's name it gets among its folder's files.
"$script" evil/X.xml 1 txt alone >/dev/null || fail "exit code $? for evil/X.xml alone"
[[ $(ls alone) == "X.xml~2.txt" ]] || fail "the report of evil/X.xml alone: $(ls alone)"
echo "$summary"
