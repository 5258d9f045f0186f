#!/usr/bin/env bash
# The shared library exports the C interface and the C++ API only: every dynamic symbol it defines
# is a function of tavon/c_api.h, or belongs to a class or function that a public header marks
# TAVON_API; its SONAME is libtavon.so.1.
#
#   exports_test.sh LIBRARY SOURCE-DIR
set -euo pipefail
library=$1
include=$2/include/tavon
command -v nm >/dev/null && command -v objdump >/dev/null || { echo "SKIP: nm or objdump missing"; exit 77; }

soname=$(objdump -p "$library" | sed -n 's/^ *SONAME *//p')
[[ $soname == libtavon.so.1 ]] || { echo "FAIL: SONAME is '$soname'"; exit 1; }

# The names the headers export: C functions, and the classes and functions marked TAVON_API.
c_functions=$(sed -n 's/^TAVON_C .*\b\(tavon_[a-z_]*\)(.*/\1/p' "$include/c_api.h" | sort -u)
cxx_names=$(cat "$include"/*.h | sed -n 's/.*\(class\|struct\) TAVON_API \([A-Za-z_]*\).*/\2/p;
  s/^TAVON_API .*[ *&]\([a-z_0-9]*\)(.*/\1/p' | sort -u)

symbols=$(nm -D --defined-only "$library" | awk '$2 != "A" {print $3}' | sed 's/@.*//')
count=$(wc -l <<<"$symbols")
bad=""
while read -r symbol; do
  if [[ $symbol != _Z* ]]; then
    grep -qx "$symbol" <<<"$c_functions" || bad+="  $symbol"$'\n'
    continue
  fi
  # The first name after tavon:: of the demangled symbol ("typeinfo for tavon::Report" too), and
  # none of a class nested in it (Report::Writer is the library's own).
  demangled=$(c++filt "$symbol" | sed 's/^\(typeinfo name for \|typeinfo for \|vtable for \)//')
  name=$(sed -n 's/^tavon::\([A-Za-z_0-9]*\).*/\1/p' <<<"$demangled")
  nested=$(sed -n 's/^tavon::[A-Za-z_0-9]*::\([A-Z][A-Za-z_0-9]*\)::.*/\1/p' <<<"$demangled")
  [[ -n $name && -z $nested ]] && grep -qx "$name" <<<"$cxx_names" || bad+="  $demangled"$'\n'
done <<<"$symbols"
[[ -z $bad ]] || { echo "FAIL: symbols exported beyond the public API:"; echo "$bad"; exit 1; }
for f in $c_functions; do
  grep -qx "$f" <<<"$symbols" || { echo "FAIL: $f is not exported"; exit 1; }
done
echo "$library ($soname): $count symbols, all of the public API ($(wc -l <<<"$c_functions") C functions)"
