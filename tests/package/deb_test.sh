#!/usr/bin/env bash
# The Debian package: built with cpack from this build tree, its control fields are complete, it
# holds exactly the installed files under /usr, and the belun unpacked from it writes the same
# reports as the build tree's belun.
#
#   deb_test.sh BUILD-DIR SOURCE-DIR CPACK
set -euo pipefail
source "$(dirname "$0")/common.sh"
build=$1
source_dir=$2
cpack=$3

command -v dpkg-deb >/dev/null || skip "dpkg-deb is not installed"

"$cpack" --config "$build/CPackConfig.cmake" -G DEB -B "$scratch/pkg" >"$scratch/cpack.log" 2>&1 || {
  cat "$scratch/cpack.log" >&2
  fail "cpack failed"
}
debs=("$scratch"/pkg/*.deb)
[[ ${#debs[@]} -eq 1 && -f ${debs[0]} ]] || fail "cpack made no single .deb: ${debs[*]}"
deb=${debs[0]}

field() { dpkg-deb -f "$deb" "$1"; }
[[ $(field Package) == belun ]] || fail "Package: $(field Package)"
[[ $(field Version) == "$(sed -n 's/^.TH BELUN 1 [^ ]* "belun \([^"]*\)".*/\1/p' "$source_dir/man/belun.1")" ]] ||
  fail "Version $(field Version) is not the version of the manual page"
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
./usr/share/doc/belun/README.md
./usr/share/doc/belun/docs/report.png
./usr/share/doc/belun/examples/duv-chyby.xml
./usr/share/doc/belun/examples/duv-ok.xml
./usr/share/man/man1/belun.1"
[[ $contents == "$expected" ]] || fail "package contents differ:
$(diff <(echo "$expected") <(echo "$contents"))"

# Unpacked, the program runs on the packaged example and reports exactly as the build tree's belun.
root="$scratch/root"
dpkg-deb -x "$deb" "$root"
cd "$root/usr/share/doc/belun/examples"
for format in htm txt csv xml; do
  "$root/usr/bin/belun" duv-chyby.xml "packaged.$format" >/dev/null || fail "packaged belun ended with $? ($format)"
  [[ -s packaged.$format ]] || fail "packaged belun wrote no $format report"
  "$BELUN" duv-chyby.xml "built.$format" >/dev/null || fail "built belun ended with $? ($format)"
  same_report "built.$format" "packaged.$format"
done
echo "$(basename "$deb"): Depends: $(field Depends)"
