#!/usr/bin/env bash
# The Windows build: belun.exe cross-compiled with MinGW-w64, packed into a ZIP by cpack, needs no
# DLL beside it (nor does tavon.dll, the library in the ZIP, which exports only its API; a C program
# built against it writes belun.exe's reports and finds its findings), and run under wine writes
# every report byte for byte as the Linux belun does (the time stamp masked), with Windows file
# names: backslashes, a Z: drive path, a list file of backslash names; its exit codes are those of
# the Linux build. The ZIP holds exactly what a clerk
# needs, its text files have Windows line ends and CTI-ME.txt is Windows-1250; belun-kontrola.bat,
# given files as Explorer gives dropped ones (full paths; names of any length, with spaces, dots,
# Czech letters, & and a leading dash), writes each report beside its file and runs nothing that a
# name holds. Without the cross compiler, configuring says what to install.
#
#   windows_test.sh SOURCE-DIR WINDOWS-BUILD-DIR CPACK GENERATOR [-D<option>=<value>...]
set -euo pipefail
source "$(dirname "$0")/common.sh"
source_dir=$1
build=$2
cpack=$3
generator=$4
shift 4

# A missing cross compiler is named, with the package to install, and no other tool is blamed.
rc=0
"$CMAKE" -S "$source_dir" -B "$scratch/nocross" -G "$generator" -DCMAKE_TOOLCHAIN_FILE="$source_dir/cmake/mingw-w64.cmake" \
  -DTAVON_TESTS=OFF -DTAVON_MINGW_PREFIX=tavon-missing >"$scratch/nocross.log" 2>&1 || rc=$?
((rc != 0)) || fail "configuring without a cross compiler succeeded"
grep -q 'apt-get install g++-mingw-w64-x86-64-posix' "$scratch/nocross.log" ||
  fail "no word of the missing cross compiler: $(cat "$scratch/nocross.log")"
if grep -qi 'ninja\|make program' "$scratch/nocross.log"; then
  fail "the error for the missing cross compiler blames the build tool: $(cat "$scratch/nocross.log")"
fi

cross=$(command -v x86_64-w64-mingw32-g++-posix || command -v x86_64-w64-mingw32-g++ || true)
[[ -n $cross ]] || skip "the MinGW-w64 cross compiler (g++-mingw-w64-x86-64-posix) is not installed"
command -v wine >/dev/null || skip "wine is not installed"

# Configure and build (again, incrementally) from this build's settings.
"$CMAKE" -S "$source_dir" -B "$build" -G "$generator" -DCMAKE_TOOLCHAIN_FILE="$source_dir/cmake/mingw-w64.cmake" \
  -DTAVON_TESTS=OFF "$@" >"$scratch/configure.log" 2>&1 || {
  cat "$scratch/configure.log" >&2
  fail "configuring the Windows build failed"
}
"$CMAKE" --build "$build" >"$scratch/build.log" 2>&1 || {
  tail -50 "$scratch/build.log" >&2
  fail "the Windows build failed"
}
if grep -q 'warning:' "$scratch/build.log"; then
  echo "warnings of the Windows build:" >&2
  grep -A3 'warning:' "$scratch/build.log" >&2
fi

# The ZIP: one folder with belun.exe, the drop-a-file script, the Czech instructions, the catalogue of
# codes and fields, the licence, the examples and the sample data, nothing else.
"$cpack" --config "$build/CPackConfig.cmake" -B "$scratch/zip" >"$scratch/cpack.log" 2>&1 || {
  cat "$scratch/cpack.log" >&2
  fail "cpack failed"
}
zips=("$scratch"/zip/*.zip)
[[ ${#zips[@]} -eq 1 && -f ${zips[0]} ]] || fail "cpack made no single .zip: ${zips[*]}"
mkdir "$scratch/unzipped"
(cd "$scratch/unzipped" && "$CMAKE" -E tar xf "${zips[0]}")
top=$(basename "${zips[0]}" .zip)
contents=$(cd "$scratch/unzipped" && find . -type f | LC_ALL=C sort | tr '\n' ' ')
expected="./$top/CTI-ME.txt ./$top/LICENSE.txt ./$top/belun-kontrola.bat ./$top/belun.exe ./$top/data-vzor/campaign.txt ./$top/data-vzor/dppv.txt ./$top/data-vzor/kzam.txt ./$top/data-vzor/nuts.txt ./$top/data-vzor/poskytovatele.txt ./$top/data-vzor/postaveni.txt ./$top/data-vzor/pravni_formy.txt ./$top/data-vzor/predkladatele.txt ./$top/data-vzor/scale1.csv ./$top/data-vzor/scale2.csv ./$top/data-vzor/scale3.csv ./$top/data-vzor/scale5.csv ./$top/data-vzor/staty.txt ./$top/data-vzor/vzdelani.txt ./$top/examples/duv-chyby.xml ./$top/examples/duv-ok.xml ./$top/include/tavon/c_api.h ./$top/katalog.html ./$top/libtavon.dll.a ./$top/report.schema.json ./$top/tavon.def ./$top/tavon.dll "
[[ $contents == "$expected" ]] || fail "ZIP contents: $contents"
exe="$scratch/unzipped/$top/belun.exe"
bat="$scratch/unzipped/$top/belun-kontrola.bat"

# Text files for Notepad and cmd: every line ends with CR LF; CTI-ME.txt is the Czech text of
# packaging/windows/CTI-ME.txt in Windows-1250 (not UTF-8), naming katalog.html in its list of files;
# the .bat is plain ASCII; katalog.html is the catalogue page of the build.
for f in CTI-ME.txt LICENSE.txt belun-kontrola.bat; do
  [[ $(LC_ALL=C grep -c $'\r$' "$scratch/unzipped/$top/$f") -eq $(wc -l <"$scratch/unzipped/$top/$f") ]] ||
    fail "$f has lines without CR LF"
done
cti_me="$scratch/unzipped/$top/CTI-ME.txt"
if iconv -f UTF-8 -t UTF-8 "$cti_me" >/dev/null 2>&1; then fail "CTI-ME.txt is not Windows-1250 (it reads as UTF-8)"; fi
diff <(iconv -f CP1250 -t UTF-8 "$cti_me" | tr -d '\r') \
  <(sed -e "s/@PROJECT_VERSION@/$(sed -n 's/^.TH BELUN 1 [^ ]* "belun \([^"]*\)".*/\1/p' "$source_dir/man/belun.1.in")/" \
    -e 's/^@TAVON_CTI_ME_DOCS@/  katalog.html            vysvětlení všech kódů chyb a prvků\n/' \
    "$source_dir/packaging/windows/CTI-ME.txt") ||
  fail "CTI-ME.txt read as Windows-1250 is not the text of packaging/windows/CTI-ME.txt"
cmp -s "$build/doc/katalog.html" "$scratch/unzipped/$top/katalog.html" || fail "katalog.html of the ZIP is not the build's"
if LC_ALL=C grep -q '[^[:print:][:space:]]' "$bat"; then fail "belun-kontrola.bat has characters outside ASCII"; fi

objdump=$(command -v "${cross%-g++*}-objdump" || true)
if [[ -n $objdump ]]; then
  for binary in belun.exe tavon.dll; do
    dlls=$("$objdump" -p "$scratch/unzipped/$top/$binary" | sed -n 's/^\tDLL Name: //p' | tr '[:upper:]' '[:lower:]' |
      LC_ALL=C sort | tr '\n' ' ')
    for dll in $dlls; do
      case $dll in
        kernel32.dll | msvcrt.dll | ucrtbase.dll | shell32.dll | api-ms-win-*) ;;
        *) fail "$binary needs $dll, which is not in the ZIP (imports: $dlls)" ;;
      esac
    done
  done
  # tavon.dll exports the C interface (and the C++ API), nothing of the C++ runtime.
  exports=$("$objdump" -p "$scratch/unzipped/$top/tavon.dll" | sed -n '/\[Ordinal\/Name Pointer\] Table/,/^$/p' |
    sed -n 's/^\t\[ *[0-9]*\] //p')
  grep -qx tavon_check_new <<<"$exports" || fail "tavon.dll does not export tavon_check_new"
  if grep -v '^tavon_\|^_ZN5tavon\|^_ZNK5tavon\|^_ZT[ISV]N5tavon' <<<"$exports" | grep -q .; then
    fail "tavon.dll exports more than the library's API: $(grep -v '^tavon_\|5tavon' <<<"$exports" | head -5)"
  fi
fi

# A wine prefix of its own, kept with the Windows build so that it is set up only once.
export WINEPREFIX="$build/wineprefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
unset DISPLAY WAYLAND_DISPLAY
# Windows names of the folder below must stay short and without dots: belun takes at most 60
# characters and the report format from the first dot of the whole name.
work=$(mktemp -d /tmp/belunwinXXXXXX)
trap 'wineserver -k 2>/dev/null || true; rm -rf -- "$scratch" "$work"' EXIT
cd "$work"

# exit_code COMMAND...: the command's exit code, its output kept in $work/last.console.
exit_code() {
  local rc=0
  "$@" >"$work/last.console" 2>>"$work/wine.log" </dev/null || rc=$?
  echo "$rc"
}

cp "$source_dir/examples/duv-ok.xml" ok.xml
cp "$source_dir/examples/duv-chyby.xml" chyby.xml
mkdir lin win sub
cp chyby.xml sub/doc.xml

# The examples in all four formats, the reports of each build in its own folder.
for document in ok chyby; do
  for format in htm txt csv xml; do
    "$BELUN" "$document.xml" "lin/$document-report.$format" >/dev/null || fail "belun ended with $?"
    wine "$exe" "$document.xml" "win\\$document-report.$format" >/dev/null 2>>wine.log ||
      fail "belun.exe ended with $? on $document.xml ($format)"
    same_report "lin/$document-report.$format" "win/$document-report.$format"
  done
done

# A program in C against tavon.dll, built with the ZIP's header and import library as a payroll
# program's developer would, checks the examples in pieces under wine: its five reports equal
# belun.exe's, its findings are the rows of belun.exe's CSV report and its totals the report's.
cross_cc=$(command -v "${cross%-g++*}-gcc-posix" || command -v "${cross%-g++*}-gcc" || true)
[[ -n $cross_cc ]] || fail "no MinGW C compiler beside $cross"
"$cross_cc" -std=c99 -Wall -Wextra -pedantic -Werror -DTAVON_USING_SHARED -I "$scratch/unzipped/$top/include" \
  -o "$scratch/unzipped/$top/c_check.exe" "$source_dir/tests/c_api/c_check.c" "$scratch/unzipped/$top/libtavon.dll.a" ||
  fail "the C program does not build against tavon.dll"
for document in ok chyby; do
  wine "$scratch/unzipped/$top/c_check.exe" "$document.xml" "$document.xml" "win\\c-$document" >"win/c-$document.out" 2>>wine.log ||
    fail "c_check.exe ended with $? on $document.xml"
  for format in htm txt csv xml; do
    same_report "win/$document-report.$format" "win/c-$document.$format"
  done
  wine "$exe" "$document.xml" "win\\$document-report.json" >/dev/null 2>>wine.log || fail "belun.exe ended with $?"
  same_report "win/$document-report.json" "win/c-$document.json"
  # The codes of the findings, in order, against the codes of the CSV rows; the totals.
  diff <(tr -d '\r' <"win/c-$document.out" | grep -v '^totals' | cut -f1) \
    <(LC_ALL=C awk 'NR > 1 && /^\r?$/ { exit } NR > 1' "win/$document-report.csv" | cut -d';' -f2) >/dev/null ||
    fail "c_check.exe's findings on $document.xml are not the rows of belun.exe's CSV report"
  report_totals=$(LC_ALL=C sed -n 's/^Celkem chyb vahy [EW]:; *\([0-9]*\).*/\1/p' "win/$document-report.csv" | tr '\n' ' ')
  [[ $(tr -d '\r' <"win/c-$document.out" | sed -n 's/^totals\t\([0-9]*\)\t\([0-9]*\)\t0\t1$/\1 \2 /p') == "$report_totals" ]] ||
    fail "c_check.exe's totals on $document.xml differ from the report's ($report_totals)"
done

# Backslash paths relative to the working folder; the report header names the file as given.
for format in txt csv; do
  "$BELUN" sub/doc.xml "sub/rel-linux.$format" >/dev/null || fail "belun ended with $?"
  wine "$exe" 'sub\doc.xml' "sub\\rel.$format" >/dev/null 2>>wine.log || fail "belun.exe ended with $? (sub\\doc.xml)"
  [[ -f sub/rel.$format ]] || fail "belun.exe did not write sub\\rel.$format"
  LC_ALL=C sed 's#sub\\doc\.xml#sub/doc.xml#' "sub/rel.$format" >"sub/rel-unix.$format"
  same_report "sub/rel-linux.$format" "sub/rel-unix.$format"
done

# A Z: drive path, the input and the report, in the two formats whose header names the input.
zdir="Z:${work//\//\\}\\sub"
for format in txt xml; do
  "$BELUN" "$work/sub/doc.xml" "$work/sub/abs-linux.$format" >/dev/null || fail "belun ended with $?"
  wine "$exe" "$zdir\\doc.xml" "$zdir\\abs.$format" >/dev/null 2>>wine.log || fail "belun.exe ended with $? ($zdir)"
  [[ -f sub/abs.$format ]] || fail "belun.exe did not write $zdir\\abs.$format"
  grep -qF "$zdir\\doc.xml" "sub/abs.$format" || fail "the $format header does not name $zdir\\doc.xml"
  LC_ALL=C sed "s#${zdir//\\/\\\\}\\\\doc\\.xml#$work/sub/doc.xml#" "sub/abs.$format" >"sub/abs-unix.$format"
  same_report "sub/abs-linux.$format" "sub/abs-unix.$format"
done

# A list file of backslash names; the files are read as one text, as on Linux.
printf 'sub\\doc.xml ok.xml\r\n' >list-windows.txt
printf 'sub/doc.xml ok.xml\n' >list-linux.txt
"$BELUN" @list-linux.txt lin/list.csv >/dev/null || fail "belun ended with $? on the list"
wine "$exe" @list-windows.txt 'win\list.csv' >/dev/null 2>>wine.log || fail "belun.exe ended with $? on the list"
same_report lin/list.csv win/list.csv

# Exit codes and messages: help, a file that cannot be opened, an unknown switch.
[[ $(exit_code wine "$exe" -h) -eq 1 ]] || fail "belun.exe -h did not end with 1"
grep -q 'tato napoveda' last.console || fail "belun.exe -h printed no help"
[[ $(exit_code wine "$exe" missing.xml 'win\missing.txt') -eq 13 ]] || fail "a missing input did not end with 13"
[[ $(exit_code "$BELUN" missing.xml lin/missing.txt) -eq 13 ]] || fail "a missing input did not end with 13 under Linux"
[[ ! -e lin/missing.txt && ! -e win/missing.txt ]] || fail "a run that could not open its input wrote a report"
[[ $(exit_code wine "$exe" ok.xml 'win\switch.txt' -x) -eq 13 ]] || fail "an unknown switch did not end with 13"
grep -q 'Chybny parametr -x' last.console || fail "no message for the unknown switch: $(cat last.console)"

# belun-kontrola.bat as Explorer runs it for dropped files: full Windows paths in a folder with a
# space and a dot; names with spaces and dots, of 61 to 200 characters (two that differ only after
# the 45th), with a leading dash, with & and parentheses, with Czech letters (a long one goes
# through a list file; under wine only letters that its ANSI code page shares with Windows-1250,
# as wine's cmd writes files in it and refuses UTF-8). Each report is NAME-protokol.htm beside its
# file, as the Linux belun writes it for the bare name (opening it in a browser may fail under wine);
# an earlier report is replaced, a user's file under a report's name is not, and no temporary file
# is left. Last, a name without spaces holding & reaches the script cut there, as from Explorer: the
# script says so and ends, and the command after the & never runs.
drop="$work/dodavky 2006.v1"
mkdir "$drop" "$work/plain"
long="Mzdove udaje za rok 2006 organizace s velmi dlouhym nazvem souboru"
names=("duv.2006 leden.xml" "$long A.xml" "$long B.xml" "$(printf 'x%.0s' {1..196}).xml" -leden.xml "a&b (c).xml"
  "Žďár nad Sázavou.xml" "Mzdové údaje Šárka Žofie Sýkorová, Zlín, Ústí, Kostelní Úvaly, Vítkov.xml")
for i in "${!names[@]}"; do
  if ((i % 2)); then cp ok.xml "$drop/${names[i]}"; else cp chyby.xml "$drop/${names[i]}"; fi
done
cp ok.xml "$work/plain/x&echo,PWNED>pwned.txt&.xml"
printf 'mine\n' >"$drop/$long B.xml-protokol.htm"
"$BELUN" chyby.xml earlier.htm >/dev/null || fail "belun ended with $?"
mv earlier.htm "$drop/${names[3]}-protokol.htm"
winpath() { local p=${1//\//\\}; echo "Z:$p"; }
dropped=()
for name in "${names[@]}"; do dropped+=("$(winpath "$drop/$name")"); done
rc=0
LC_ALL=C.UTF-8 timeout 300 wine cmd /c "$(winpath "$bat")" "${dropped[@]}" "$(winpath "$work/plain/x&echo,PWNED>pwned.txt&.xml")" \
  </dev/null >"$work/bat.console" 2>>wine.log || rc=$?
[[ $rc -eq 1 ]] || fail "belun-kontrola.bat ended with $rc, expected 1 (a report name taken, a cut name): $(cat "$work/bat.console")"
grep -q 'Celkem chyb vahy E:      21' "$work/bat.console" || fail "the console shows no totals: $(cat "$work/bat.console")"
[[ -z $(find "$work" -name pwned.txt) ]] || fail "the command after & in a dropped name ran"
grep -q 'Kontrola souboru "Z:.*\\plain\\x"' "$work/bat.console" || fail "no word of the cut name: $(cat "$work/bat.console")"
[[ $(cat "$drop/$long B.xml-protokol.htm") == mine ]] || fail "belun-kontrola.bat replaced a file that is no report"
expected=$(for name in "${names[@]}"; do printf '%s\0%s\0' "$name" "$name-protokol.htm"; done | LC_ALL=C sort -z | tr '\0' /)
[[ $(cd "$drop" && find . -type f -printf '%f\0' | LC_ALL=C sort -z | tr '\0' /) == "$expected" ]] ||
  fail "beside the documents: $(ls -A "$drop")"
for name in "${names[@]}"; do
  [[ $name == "$long B.xml" ]] && continue
  printf '"%s"\n' "$name" >"$work/list.txt"
  (cd "$drop" && "$BELUN" "@$work/list.txt" "$work/lin.htm" >/dev/null) || fail "belun ended with $? on $name"
  same_report "$work/lin.htm" "$drop/$name-protokol.htm"
done

# Every end-to-end case of the Linux tests, run by both builds from copies of its folder: the same
# exit code, the same console (its line ends and time-dependent progress line aside) and the same
# files written, byte for byte.
console() { LC_ALL=C sed -e 's/\r$//' -e 's/ Radek[^\r]*\r//g' "$1"; }
cases=0
for case_dir in "$source_dir"/tests/data/e2e/*/; do
  [[ -f $case_dir/args ]] || continue
  name=$(basename "$case_dir")
  args=()
  read -r -a args < <(tr -d '\r' <"$case_dir/args") || true
  for side in linux windows; do
    mkdir -p "cases/$side/$name"
    find "$case_dir" -mindepth 1 -maxdepth 1 ! -name expected ! -name args ! -name needs \
      -exec cp -r {} "cases/$side/$name/" \;
  done
  rc_linux=$(cd "cases/linux/$name" && exit_code "$BELUN" "${args[@]}")
  mv last.console "cases/$name.linux"
  # Wine reads the names of the command line and of the files in the locale's character set.
  rc_windows=$(cd "cases/windows/$name" && LC_ALL=C.UTF-8 exit_code wine "$exe" "${args[@]}")
  mv last.console "cases/$name.windows"
  [[ $rc_linux == "$rc_windows" ]] || fail "case $name: exit code $rc_windows under Windows, $rc_linux under Linux"
  cmp -s <(console "cases/$name.linux") <(console "cases/$name.windows") || fail "case $name: the consoles differ"
  files=$(cd "cases/linux/$name" && find . -type f | LC_ALL=C sort)
  [[ $files == "$(cd "cases/windows/$name" && find . -type f | LC_ALL=C sort)" ]] ||
    fail "case $name: the two builds wrote different files"
  while read -r file; do
    [[ -z $file ]] || same_report "cases/linux/$name/$file" "cases/windows/$name/$file"
  done <<<"$files"
  cases=$((cases + 1))
done
((cases > 0)) || fail "no end-to-end case found"

echo "$(basename "${zips[0]}"): the reports of both builds are identical, the examples and $cases cases" \
  "(imports: ${dlls:-not checked}); belun-kontrola.bat wrote the reports of the dropped files beside them:"
grep -a '^Protokol o kontrole:' "$work/bat.console" | tr -d '\r'
echo "(ZIP: $contents)"
