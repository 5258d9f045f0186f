#!/usr/bin/env bash
# lintian on the Debian package of this build tree: no error and no warning (the overrides the
# package carries aside). All its tags, the informational ones too, are printed for the record.
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
report=$(lintian --display-level '>=pedantic' --show-overrides --fail-on none "$deb" 2>&1) ||
  fail "lintian did not run: $report"
echo "lintian $(lintian --version | awk '{print $2}') on $(basename "$deb"):"
grep -v '^running with root privileges' <<<"$report" || echo "(no tags)"
if grep -q '^[EW]: ' <<<"$report"; then fail "lintian reports errors or warnings"; fi
