#!/usr/bin/env bash
# pip_install_test.sh PYTHON SOURCE LIBRARY WORK: installs the package into a new virtual
# environment with pip, without any package index, and checks a document with it from elsewhere.
set -euo pipefail
python=$1 source=$2 library=$3 work=$4
"$python" -c 'import ensurepip' 2>/dev/null || { echo "SKIPPED: python3-venv is not installed"; exit 77; }
rm -rf "$work" && mkdir -p "$work"
"$python" -m venv "$work/venv"
# A copy of the package folder (and the version's source), so that the install leaves nothing in
# the source tree.
mkdir "$work/src" && cp -r "$source/python" "$source/CMakeLists.txt" "$work/src/"
TAVON_LIBRARY="$library" "$work/venv/bin/pip" install --no-index --no-build-isolation --quiet \
  --disable-pip-version-check "$work/src/python"
cd "$work"
rm -rf "$work/src"
unset PYTHONPATH TAVON_LIBRARY
out=$("$work/venv/bin/python" -m tavon "$source/examples/duv-chyby.xml")
echo "$out"
grep -q "duv-chyby.xml: chyb 21, varování 9" <<<"$out"
"$work/venv/bin/python" -c 'import os, tavon; assert os.path.exists(os.path.join(os.path.dirname(tavon.__file__), "libtavon.so.1"))'
