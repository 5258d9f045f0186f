#!/usr/bin/env bash
# lintian on the Debian packages of this build tree (belun, libtavon1, libtavon-dev): no error and no
# warning in any (the overrides each package carries aside). All its tags, the informational ones too, are printed for the record.
#
#   lintian_test.sh BUILD-DIR CPACK
set -euo pipefail
source "$(dirname "$0")/common.sh"
build=$1
cpack=$2

command -v dpkg-deb >/dev/null || skip "dpkg-deb is not installed"
command -v lintian >/dev/null || skip "lintian is not installed (Debian package lintian): the package was not checked"

build_deb "$build" "$cpack"
# Overridden tags are shown (O:) but do not count; lintian's exit code only tells whether it ran.
echo "lintian $(lintian --version | awk '{print $2}'):"
failed=
for package in "$deb" "$lib_deb" "$dev_deb"; do
  report=$(lintian --display-level '>=pedantic' --show-overrides --fail-on none "$package" 2>&1) ||
    fail "lintian did not run on $(basename "$package"): $report"
  echo "$(basename "$package"):"
  grep -v '^running with root privileges' <<<"$report" || echo "(no tags)"
  if grep -q '^[EW]: ' <<<"$report"; then failed+=" $(basename "$package")"; fi
done
[[ -z $failed ]] || fail "lintian reports errors or warnings on$failed"
