#!/usr/bin/env bash
# A folder named "data" beside the program is the data set when no -d is given, so that an office
# hands out belun with its campaign's data and a clerk needs no switch; -d still takes precedence.
#
#   data_beside_program_test.sh SOURCE-DIR
set -euo pipefail
source "$(dirname "$0")/common.sh"
source_dir=$1

mkdir -p "$scratch/program/data" "$scratch/other"
cp "$BELUN" "$scratch/program/belun"
# The office's occupation list lacks the code that the valid example uses (01011), so the example
# gets EL046 twice with this data set, and none with the built-in one.
printf 'DUV 2006, data kanceláře\n' | iconv -f utf-8 -t cp1250 >"$scratch/program/data/campaign.txt"
printf '01010\n93399\n' >"$scratch/program/data/kzam.txt"
printf 'Jina data\n' >"$scratch/other/campaign.txt"
cd "$scratch"
cp "$source_dir/examples/duv-ok.xml" .

out=$(program/belun duv-ok.xml beside.csv | iconv -f cp1250 -t utf-8) || fail "belun ended with $?"
grep -qx "Data: DUV 2006, data kanceláře ($scratch/program/data); registry nebo kódy zaměstnání jsou vzorové, jen na zkoušku" <<<"$out" ||
  fail "the console does not name the folder beside the program:
$out"
[[ $(grep -c ';EL046;' beside.csv) == 2 ]] || fail "the occupation list beside the program was not used"

out=$(program/belun -d other duv-ok.xml chosen.csv | iconv -f cp1250 -t utf-8) || fail "belun ended with $?"
grep -qx "Data: Jina data (other); registry nebo kódy zaměstnání jsou vzorové, jen na zkoušku" <<<"$out" || fail "-d does not take precedence: $out"
[[ $(grep -c ';EL046;' chosen.csv) == 0 ]] || fail "-d other still used the folder beside the program"

out=$("$BELUN" duv-ok.xml built-in.csv | iconv -f cp1250 -t utf-8) || fail "belun ended with $?"
grep -q "^Data: vestavěná vzorová data" <<<"$out" || fail "without a folder the built-in set is not named: $out"
echo "data beside the program: used without a switch, -d takes precedence, built-in set otherwise"
