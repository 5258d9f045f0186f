#!/usr/bin/env bash
# The Debian packages, built with one cpack run from this build tree. belun: its control fields are
# complete, it holds exactly the installed files under /usr (with the Debian copyright file and
# changelog in place of LICENSE), its changelog is that of its version, and the belun unpacked from it
# writes the same reports as the build tree's belun. libtavon1 holds the shared library alone, in the
# multiarch folder, with its shlibs file and ldconfig trigger; libtavon-dev the rest of the library's
# files, depending on exactly that libtavon1. The C example builds against the two unpacked into a
# scratch folder, through pkg-config and find_package(tavon), and reports belun's totals.
# (lintian_test.sh checks the three with lintian.)
#
#   deb_test.sh BUILD-DIR SOURCE-DIR CPACK
set -euo pipefail
source "$(dirname "$0")/common.sh"
build=$1
source_dir=$2
cpack=$3

command -v dpkg-deb >/dev/null || skip "dpkg-deb is not installed"

build_deb "$build" "$cpack"

field() { dpkg-deb -f "$deb" "$1"; }
[[ $(field Package) == belun ]] || fail "Package: $(field Package)"
version=$(field Version)
version_upstream=${version%-*}
[[ ${version%-*} == "$(sed -n 's/^.TH BELUN 1 [^ ]* "belun \([^"]*\)".*/\1/p' "$source_dir/man/belun.1.in")" ]] ||
  fail "Version $version is not the version of the manual page and a Debian revision"
[[ $(field Architecture) == "$(dpkg --print-architecture)" ]] || fail "Architecture: $(field Architecture)"
[[ $(field Maintainer) =~ ^[^\<]+\ \<[^@]+@[^\>]+\>$ ]] || fail "Maintainer is not 'name <address>': $(field Maintainer)"
depends=$(field Depends | tr ',' '\n' | sed 's/ *(.*//; s/^ *//')
for lib in libc6 libstdc++6; do
  grep -qxF "$lib" <<<"$depends" || fail "Depends lacks $lib: $(field Depends)"
done
description=$(field Description)
[[ $(sed -n 1p <<<"$description") == *DUV* ]] || fail "the short description does not say what belun is for"
long=$(dpkg-deb -I "$deb" control | awk '/^Description:/ {d = 1; next} d && /^ / {print}')
[[ -n $long ]] || fail "no long description"
awk 'length > 80 {exit 1}' <<<"$long" || fail "a line of the long description is longer than 80 characters"

contents=$(dpkg-deb -c "$deb" | awk '$1 !~ /^d/ {print $6}' | LC_ALL=C sort)
expected="./usr/bin/belun
./usr/bin/belun-batch
./usr/bin/belun-folder
./usr/share/doc/belun/README.md
./usr/share/doc/belun/changelog.Debian.gz
./usr/share/doc/belun/copyright
./usr/share/doc/belun/data-vzor/campaign.txt
./usr/share/doc/belun/data-vzor/dppv.txt
./usr/share/doc/belun/data-vzor/kzam.txt
./usr/share/doc/belun/data-vzor/nuts.txt
./usr/share/doc/belun/data-vzor/poskytovatele.txt
./usr/share/doc/belun/data-vzor/postaveni.txt
./usr/share/doc/belun/data-vzor/pravni_formy.txt
./usr/share/doc/belun/data-vzor/predkladatele.txt
./usr/share/doc/belun/data-vzor/scale1.csv
./usr/share/doc/belun/data-vzor/scale2.csv
./usr/share/doc/belun/data-vzor/scale3.csv
./usr/share/doc/belun/data-vzor/scale5.csv
./usr/share/doc/belun/data-vzor/staty.txt
./usr/share/doc/belun/data-vzor/vzdelani.txt
./usr/share/doc/belun/docs/dashboard.png
./usr/share/doc/belun/docs/report.png
./usr/share/doc/belun/docs/report.schema.json
./usr/share/doc/belun/docs/web.png
./usr/share/doc/belun/examples/duv-chyby.xml
./usr/share/doc/belun/examples/duv-ok.xml
./usr/share/doc/belun/katalog.html
./usr/share/lintian/overrides/belun
./usr/share/man/man1/belun-batch.1.gz
./usr/share/man/man1/belun-folder.1.gz
./usr/share/man/man1/belun.1.gz"
if [[ -x $build/server/belun-server ]]; then
  expected=$(printf '%s\n' "$expected" ./usr/bin/belun-server ./usr/lib/systemd/system/belun-server.service \
    ./usr/share/man/man1/belun-server.1.gz | LC_ALL=C sort)
fi
[[ $contents == "$expected" ]] || fail "package contents differ:
$(diff <(echo "$expected") <(echo "$contents"))"

# The changelog's latest entry is this version; the copyright file carries the text of LICENSE; the
# manual pages name the examples' folder of the package, not cpack's staging folder.
root="$scratch/root"
dpkg-deb -x "$deb" "$root"
doc="$root/usr/share/doc/belun"
top=$(gzip -dc "$doc/changelog.Debian.gz" | head -1)
[[ $top == "belun ($version) "* ]] || fail "the changelog's latest entry is not version $version: $top"
licence=$(awk '/^License:/ {n++; next} n == 2 && /^ / {sub(/^ /, ""); if ($0 == ".") $0 = ""; print}' "$doc/copyright")
[[ -n $licence && $licence == "$(sed -n '/^Permission/,$p' "$source_dir/LICENSE")" ]] ||
  fail "the licence paragraph of the copyright file is not the text of LICENSE"
# (Read whole first: grep -q stops early, and gzip's broken pipe would fail the pipeline.)
for page in belun belun-folder; do
  text=$(gzip -dc "$root/usr/share/man/man1/$page.1.gz")
  grep -qx '\.ds Ex /usr/share/doc/belun/examples' <<<"$text" ||
    fail "$page.1.gz does not name /usr/share/doc/belun/examples"
done
text=$(gzip -dc "$root/usr/share/man/man1/belun.1.gz")
grep -qx '\.ds Dc /usr/share/doc/belun' <<<"$text" ||
  fail "belun.1.gz does not name /usr/share/doc/belun, the folder of katalog.html"
if [[ -x $build/server/belun-server ]]; then
  grep -qx 'ExecStart=/usr/bin/belun-server .*' "$root/usr/lib/systemd/system/belun-server.service" ||
    fail "the packaged systemd unit does not start /usr/bin/belun-server"
  grep -q '^libcpp-httplib' <<<"$depends" || fail "Depends lacks the HTTP library of belun-server: $(field Depends)"
fi
cmp -s "$build/doc/katalog.html" "$doc/katalog.html" || fail "the packaged katalog.html is not the one of the build"
# Every picture and file the installed README links to by a relative path is installed beside it.
while read -r target; do
  [[ -e "$doc/$target" ]] || fail "the installed README links $target, which the package does not install"
done < <(grep -o '](\([^)#:]*\))' "$doc/README.md" | sed 's/^](\(.*\))$/\1/' | sort -u)

# Unpacked, the program runs on the packaged example and reports exactly as the build tree's belun.
cd "$root/usr/share/doc/belun/examples"
for format in htm txt csv xml; do
  "$root/usr/bin/belun" duv-chyby.xml "packaged.$format" >/dev/null || fail "packaged belun ended with $? ($format)"
  [[ -s packaged.$format ]] || fail "packaged belun wrote no $format report"
  "$BELUN" duv-chyby.xml "built.$format" >/dev/null || fail "built belun ended with $? ($format)"
  same_report "built.$format" "packaged.$format"
done
echo "$(basename "$deb"): Depends: $(field Depends)"

# The library's packages.
multiarch=$(dpkg-architecture -qDEB_HOST_MULTIARCH 2>/dev/null || gcc -print-multiarch)
libdir=usr/lib/$multiarch
contents_of() { dpkg-deb -c "$1" | awk '$1 !~ /^d/ {print $6}' | LC_ALL=C sort; }
same_contents() {
  [[ $2 == "$3" ]] || fail "contents of $(basename "$1") differ:
$(diff <(echo "$2") <(echo "$3"))"
}
ctl() { dpkg-deb -f "$1" "$2"; }
for pkg in "$lib_deb" "$dev_deb"; do
  [[ $(ctl "$pkg" Version) == "$version" ]] || fail "$(basename "$pkg"): Version $(ctl "$pkg" Version), belun's $version"
done
[[ $(ctl "$lib_deb" Section) == libs && $(ctl "$dev_deb" Section) == libdevel ]] ||
  fail "sections: libtavon1 $(ctl "$lib_deb" Section), libtavon-dev $(ctl "$dev_deb" Section)"
tr ',' '\n' <<<"$(ctl "$dev_deb" Depends)" | sed 's/^ *//' | grep -qxF "libtavon1 (= $version)" ||
  fail "libtavon-dev does not depend on libtavon1 (= $version): $(ctl "$dev_deb" Depends)"
lib_doc="./usr/share/doc/libtavon1/changelog.Debian.gz
./usr/share/doc/libtavon1/copyright
./usr/share/lintian/overrides/libtavon1"
same_contents "$lib_deb" "$(printf '%s\n' "./$libdir/libtavon.so.1" "./$libdir/libtavon.so.$version_upstream" "$lib_doc" |
  LC_ALL=C sort)" "$(contents_of "$lib_deb")"
[[ $(dpkg-deb -I "$lib_deb" shlibs) == "libtavon 1 libtavon1 (>= $version)" ]] ||
  fail "libtavon1's shlibs file: $(dpkg-deb -I "$lib_deb" shlibs)"
dpkg-deb -I "$lib_deb" triggers | grep -qx 'activate-noawait ldconfig' || fail "libtavon1 has no ldconfig trigger"
headers=$(cd "$source_dir" && find include/tavon -type f | sed 's#^#./usr/#')
same_contents "$dev_deb" "$(printf '%s\n' "$headers" "./$libdir/libtavon.so" "./$libdir/libtavon.a" \
  "./$libdir/pkgconfig/tavon.pc" "./$libdir/cmake/tavon/tavonConfig.cmake" "./$libdir/cmake/tavon/tavonConfigVersion.cmake" \
  "./$libdir/cmake/tavon/tavonTargets.cmake" "./$libdir/cmake/tavon/tavonTargets-release.cmake" \
  ./usr/share/doc/libtavon-dev/changelog.Debian.gz ./usr/share/doc/libtavon-dev/copyright \
  ./usr/share/lintian/overrides/libtavon-dev | LC_ALL=C sort)" "$(contents_of "$dev_deb")"

# Nothing installed: the two unpacked into a folder of their own, the C example built against them.
dev_root="$scratch/dev-root"
dpkg-deb -x "$lib_deb" "$dev_root"
dpkg-deb -x "$dev_deb" "$dev_root"
[[ $(readlink "$dev_root/$libdir/libtavon.so") == libtavon.so.1 ]] || fail "libtavon.so does not link to libtavon.so.1"
readelf -d "$dev_root/$libdir/libtavon.so.$version_upstream" | grep -q 'SONAME.*\[libtavon\.so\.1\]' ||
  fail "the packaged library's SONAME is not libtavon.so.1"
cd "$scratch"
console=$("$BELUN" "$source_dir/examples/duv-chyby.xml" built.csv) || true
read -r errors warnings < <(totals "$console")
export LD_LIBRARY_PATH="$dev_root/$libdir"
if command -v pkg-config >/dev/null; then
  # tavon.pc finds its prefix from its own folder: only the search path names the scratch root.
  flags=$(PKG_CONFIG_PATH="$dev_root/$libdir/pkgconfig" PKG_CONFIG_LIBDIR= pkg-config --cflags --libs tavon) ||
    fail "pkg-config does not find tavon.pc in libtavon-dev"
  cc -std=c99 -Wall -Werror -o c-pkg-config "$source_dir/examples/c/print_findings.c" $flags ||
    fail "the C example does not build with pkg-config's flags ($flags)"
  [[ $(./c-pkg-config "$source_dir/examples/duv-chyby.xml" | tail -1) == "E $errors W $warnings" ]] ||
    fail "the C example built with pkg-config does not report belun's totals E $errors W $warnings"
fi
"$CMAKE" -S "$source_dir/examples/c" -B c-cmake -DCMAKE_PREFIX_PATH="$dev_root/usr" >cmake-c.log 2>&1 &&
  "$CMAKE" --build c-cmake >>cmake-c.log 2>&1 || { cat cmake-c.log >&2; fail "the C example does not build with find_package(tavon)"; }
ldd c-cmake/print_findings | grep -qF "$dev_root/$libdir/libtavon.so.1" || fail "the C example does not load the unpacked libtavon.so.1"
[[ $(c-cmake/print_findings "$source_dir/examples/duv-chyby.xml" | tail -1) == "E $errors W $warnings" ]] ||
  fail "the C example built with find_package(tavon) does not report belun's totals E $errors W $warnings"
echo "libtavon1, libtavon-dev: the C example built against them reports E $errors W $warnings"
