#!/usr/bin/env bash
# Regenerates docs/dashboard.png, the README's picture of belun-folder's overview (index.html): a
# demo folder of a few documents (the examples and generated ones) checked by the build's belun,
# the page in headless Chromium, its table sorted by E with a click.
#
#   tools/dashboard-screenshot.sh [BUILD-DIR]      (default: build; needs node and chromium)
set -euo pipefail
root=$(cd -- "$(dirname -- "$0")/.." && pwd)
build=$(cd -- "${1:-$root/build}" && pwd)
work=$(mktemp -d "${TMPDIR:-/tmp}/belun-dashboard.XXXXXX")
trap 'rm -rf -- "$work"' EXIT

demo=$work/dodavky
mkdir "$demo"
cp "$root/examples/duv-chyby.xml" "$demo/nemocnice-brno.xml"
cp "$root/examples/duv-ok.xml" "$demo/zakladni-skola-jihlava.xml"
cp "$root/tests/data/e2e/single-record-contribution-rules/data.xml" "$demo/mestsky-urad-tabor.xml"
"$build/bench/tavon_gen_duv" 2 40 10 1 >"$demo/krajska-knihovna.xml"
"$build/bench/tavon_gen_duv" 3 60 4 2 >"$demo/divadlo-ostrava.xml"
"$build/bench/tavon_gen_duv" 1 30 20 3 >"$demo/muzeum-olomouc.xml"
printf 'nejde o dokument DUV\n' >"$demo/poznamky.xml"
# A file whose report's name is taken by a file of another kind: it is not checked.
cp "$root/examples/duv-ok.xml" "$demo/archiv.xml"
mkdir "$demo/reports"
printf 'poznamky archivu\n' >"$demo/reports/archiv.xml.htm"
cd "$work"
BELUN=$build/belun "$root/tools/validate-folder.sh" dodavky 2 htm >/dev/null || (($? == 1))
node "$root/tests/package/dashboard_browser.js" "$demo/reports/index.html" "$root/docs/dashboard.png"
echo "docs/dashboard.png written"
