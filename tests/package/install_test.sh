#!/usr/bin/env bash
# `cmake --install` of the program (component "runtime") into an empty prefix: exactly the program,
# the folder script, their manual pages (compressed, naming the folders of this prefix; belun's with
# its list of codes), the licence, the documents with the catalogue katalog.html and the sample data
# folder are installed, where users look for them; the installed program checks the installed
# examples, and so does the installed folder script, with the belun installed beside it.
# (library_test.sh covers the library for developers.)
#
#   install_test.sh BUILD-DIR SOURCE-DIR
set -euo pipefail
source "$(dirname "$0")/common.sh"
build=$1
source_dir=$2

prefix="$scratch/prefix"
"$CMAKE" --install "$build" --prefix "$prefix" --component runtime >"$scratch/install.log" || {
  cat "$scratch/install.log" >&2
  fail "cmake --install failed"
}

expected="bin/belun
bin/belun-batch
bin/belun-folder
share/doc/belun/LICENSE
share/doc/belun/README.md
share/doc/belun/data-vzor/campaign.txt
share/doc/belun/data-vzor/dppv.txt
share/doc/belun/data-vzor/kzam.txt
share/doc/belun/data-vzor/nuts.txt
share/doc/belun/data-vzor/poskytovatele.txt
share/doc/belun/data-vzor/postaveni.txt
share/doc/belun/data-vzor/pravni_formy.txt
share/doc/belun/data-vzor/predkladatele.txt
share/doc/belun/data-vzor/scale1.csv
share/doc/belun/data-vzor/scale2.csv
share/doc/belun/data-vzor/scale3.csv
share/doc/belun/data-vzor/scale5.csv
share/doc/belun/data-vzor/staty.txt
share/doc/belun/data-vzor/vzdelani.txt
share/doc/belun/docs/dashboard.png
share/doc/belun/docs/report.png
share/doc/belun/docs/report.schema.json
share/doc/belun/docs/web.png
share/doc/belun/examples/duv-chyby.xml
share/doc/belun/examples/duv-ok.xml
share/doc/belun/katalog.html
share/man/man1/belun-batch.1.gz
share/man/man1/belun-folder.1.gz
share/man/man1/belun.1.gz"
# The checking service, where cpp-httplib was there to build it, with its unit naming this prefix.
if [[ -x $build/server/belun-server ]]; then
  expected=$(printf '%s\n' "$expected" bin/belun-server lib/systemd/system/belun-server.service \
    share/man/man1/belun-server.1.gz | LC_ALL=C sort)
  grep -qx "ExecStart=$prefix/bin/belun-server .*" "$prefix/lib/systemd/system/belun-server.service" ||
    fail "the systemd unit does not start $prefix/bin/belun-server"
fi
actual=$(cd "$prefix" && find . -type f -o -type l | sed 's#^\./##' | LC_ALL=C sort)
[[ $actual == "$expected" ]] || fail "installed files differ from the expected set:
$(diff <(echo "$expected") <(echo "$actual"))"

[[ -x $prefix/bin/belun && -x $prefix/bin/belun-folder ]] || fail "bin/belun or bin/belun-folder is not executable"
# The manual pages: the pages of the build (belun.1 generated, with its list of codes) with the
# folders of this prefix, their minus signs escaped.
docs="$prefix/share/doc/belun"
examples="$docs/examples"
sample_data="$docs/data-vzor"
for page in "$build/man/belun.1" "$source_dir/man/belun-folder.1"; do
  name=$(basename "$page")
  installed=$(gzip -dc "$prefix/share/man/man1/$name.gz") || fail "$name.gz is not gzip-compressed"
  diff <(sed -e "s#^\.ds Ex .*#.ds Ex ${examples//-/\\\\-}#" -e "s#^\.ds Dv .*#.ds Dv ${sample_data//-/\\\\-}#" \
    -e "s#^\.ds Dc .*#.ds Dc ${docs//-/\\\\-}#" "$page") <(echo "$installed") ||
    fail "the installed $name is not $page with the folders of $docs"
done
grep -qx '\.SH ERROR CODES' <<<"$(gzip -dc "$prefix/share/man/man1/belun.1.gz")" ||
  fail "the installed belun.1 has no list of codes"
cmp -s "$build/doc/katalog.html" "$docs/katalog.html" || fail "the installed katalog.html is not the one of the build"
for f in LICENSE duv-ok.xml duv-chyby.xml; do
  if [[ $f == LICENSE ]]; then src=$source_dir/LICENSE dst=$prefix/share/doc/belun/LICENSE
  else src=$source_dir/examples/$f dst=$examples/$f; fi
  cmp -s "$src" "$dst" || fail "the installed $f differs"
done

# The installed program on the installed examples (named relative to the folder: arguments are
# limited to 60 characters): the valid one has no finding, the faulty one has errors.
cd "$prefix/share/doc/belun/examples"
out=$("$prefix/bin/belun" duv-ok.xml ok.csv) || fail "belun ended with $? on duv-ok.xml"
[[ $(totals "$out") == "0 0" ]] || fail "duv-ok.xml: totals $(totals "$out"), expected 0 0"
[[ $(wc -l <ok.csv) -eq 5 ]] || fail "duv-ok.xml: the CSV report is not header and totals only"
out=$("$prefix/bin/belun" duv-chyby.xml chyby.txt) || fail "belun ended with $? on duv-chyby.xml"
read -r e _ <<<"$(totals "$out")"
((e > 0)) || fail "duv-chyby.xml: no error reported"
grep -q 'Celkem chyb vahy E:' chyby.txt || fail "duv-chyby.xml: the text report has no totals"

# The folder script, with no belun in the PATH and none named by BELUN, runs the one beside it.
rc=0
summary=$(env -u BELUN PATH=/usr/bin:/bin "$prefix/bin/belun-folder" "$examples" 2 csv "$scratch/reports") || rc=$?
[[ $rc -eq 2 ]] || fail "belun-folder ended with $rc, expected 2 (a file with errors): $summary"
"$prefix/bin/belun" duv-chyby.xml chyby.csv >/dev/null || fail "belun ended with $? on duv-chyby.xml (CSV)"
cmp -s chyby.csv "$scratch/reports/duv-chyby.xml.csv" || fail "belun-folder's report of duv-chyby.xml differs from belun's"
# Its overview links the codes to a copy of the installed catalogue beside it.
cmp -s "$prefix/share/doc/belun/katalog.html" "$scratch/reports/katalog.html" ||
  fail "the reports folder holds no copy of the installed katalog.html"
grep -q '<a href="katalog.html#kod-' "$scratch/reports/index.html" || fail "index.html does not link the codes to katalog.html"
echo "installed: $(echo "$actual" | tr '\n' ' ')"
