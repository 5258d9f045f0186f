#!/usr/bin/env bash
# tools/validate-folder.sh on a folder of three documents, checked three at a time: one report per
# document, each the same as a run of belun on that document alone, the right numbers in the
# summary and an exit code that tells that some files have errors. The folder's name has a dot and
# one document's name has dots, which become underscores in the report's name. Then a single
# file, into another folder, in another format; and a reports folder so far away that the documents
# are named to belun through a list file. Last, a name too long for belun, and the same folder
# checked by belun alone, a process per file, as where belun-batch is not beside it.
#
#   folder_test.sh SOURCE-DIR
set -euo pipefail
source "$(dirname "$0")/common.sh"
source_dir=$1
script="$source_dir/tools/validate-folder.sh"

folder="$scratch/dodavky.2006"
mkdir "$folder"
cp "$source_dir/examples/duv-ok.xml" "$folder/ok.xml"
cp "$source_dir/examples/duv-chyby.xml" "$folder/chyby.2006.xml"
: >"$folder/prazdny.XML"
touch "$folder/poznamka.txt"

rc=0
summary=$("$script" "$folder" 3 csv) || rc=$?
[[ $rc -eq 2 ]] || fail "exit code $rc, expected 2 (files with errors): $summary"

reports=$(find "$folder/reports" -mindepth 1 -printf '%f\n' | LC_ALL=C sort | tr '\n' ' ')
[[ $reports == "chyby_2006.csv ok.csv prazdny.csv " ]] || fail "reports: $reports"

cd "$scratch"
for pair in ok.xml:ok.csv chyby.2006.xml:chyby_2006.csv prazdny.XML:prazdny.csv; do
  document=${pair%%:*}
  report=${pair##*:}
  console=$("$BELUN" "dodavky.2006/$document" alone.csv) || fail "belun ended with $? on $document"
  cmp -s alone.csv "$folder/reports/$report" || fail "$report differs from the report of $document alone"
  read -r e w <<<"$(totals "$console")"
  line="E $(printf '%6s' "$e")  W $(printf '%6s' "$w")  $folder/$document -> $folder/reports/$report"
  grep -qxF "$line" <<<"$summary" || fail "no summary line \"$line\" in:
$summary"
done
[[ $(tail -1 <<<"$summary") == "files: 3, checked: 3, with errors: 2, not checked: 0" ]] ||
  fail "last line: $(tail -1 <<<"$summary")"

summary=$("$script" "$folder/ok.xml" 1 htm "$scratch/html") || fail "exit code $? for a file without errors"
[[ $(find "$scratch/html" -mindepth 1 -printf '%f ') == "ok.htm " ]] || fail "reports of one file: $(ls -A "$scratch/html")"
head -1 "$scratch/html/ok.htm" | grep -q '^<html>' || fail "ok.htm is not an HTML report"
[[ $(tail -1 <<<"$summary") == "files: 1, checked: 1, with errors: 0, not checked: 0" ]] ||
  fail "last line: $(tail -1 <<<"$summary")"
far="$scratch/r/r/r/r/r/r/r/r/r/r/r/r"  # twelve levels down: "../" twelve times and the name pass 60
"$script" "$folder" 2 csv "$far" >/dev/null || [[ $? -eq 2 ]] || fail "exit code $? with the far reports folder"
cmp -s "$folder/reports/chyby_2006.csv" "$far/chyby_2006.csv" || fail "report through a list file differs"
[[ -z $(find "$far" -name '*.list') ]] || fail "list files left behind: $(ls "$far")"

long="$(printf 'n%.0s' {1..70}).xml"
cp "$source_dir/examples/duv-ok.xml" "$folder/$long"
[[ -x $(dirname "$BELUN")/belun-batch ]] || fail "no belun-batch beside $BELUN"
mkdir "$scratch/program"
cp "$BELUN" "$scratch/program/belun"
declare -A lines
for way in batch solo; do
  program=$BELUN
  [[ $way == solo ]] && program=$scratch/program/belun
  rc=0
  lines[$way]=$(BELUN=$program "$script" "$folder" 2 txt "$scratch/$way") || rc=$?
  [[ $rc -eq 1 ]] || fail "$way: exit code $rc, expected 1 (a file not checked): ${lines[$way]}"
  grep -qxF "NOT CHECKED     $folder/$long: name too long for belun (60 characters)" <<<"${lines[$way]}" ||
    fail "$way: no line for the long name in: ${lines[$way]}"
  [[ $(find "$scratch/$way" -type f | wc -l) -eq 3 ]] || fail "$way: reports: $(ls -A "$scratch/$way")"
done
[[ ${lines[batch]//"$scratch/batch"/R} == "${lines[solo]//"$scratch/solo"/R}" ]] ||
  fail "belun-batch and belun alone differ: ${lines[batch]} // ${lines[solo]}"
for report in "$scratch"/batch/*; do same_report "$report" "$scratch/solo/${report##*/}"; done
echo "$summary"
