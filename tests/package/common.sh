# shellcheck shell=bash
# Shared by the package tests (sourced). Each test gets a scratch folder, removed on exit.

# belun's console speaks the locale's character set; the tests read it as Windows-1250 (the C
# locale) unless they say otherwise.
export LC_ALL=C

# Exit code that CTest counts as "skipped" (SKIP_RETURN_CODE in CMakeLists.txt).
readonly SKIP=77

scratch=$(mktemp -d "${TMPDIR:-/tmp}/belun-test-XXXXXX")
trap 'rm -rf -- "$scratch"' EXIT

fail() {
  echo "FAIL: $*" >&2
  exit 1
}

skip() {
  echo "SKIP: $*"
  exit "$SKIP"
}

# The date and time of a report header (of a JSON report too), which differ from run to run, as a
# fixed text.
mask_time() {
  LC_ALL=C sed -E -e 's#[0-9]{2}/[0-9]{2}/[0-9]{4}  [0-9]{2}:[0-9]{2}:[0-9]{2}#dd/mm/yyyy  hh:mm:ss#' \
    -e 's#[0-9]{4}-[0-9]{2}-[0-9]{2}T[0-9]{2}:[0-9]{2}:[0-9]{2}Z#yyyy-mm-ddThh:mm:ssZ#' "$1"
}

# same_report EXPECTED ACTUAL: byte-identical once the time stamps are masked.
same_report() {
  [[ -f $1 && -f $2 ]] || fail "a report to compare is missing: $1 or $2"
  if ! cmp -s <(mask_time "$1") <(mask_time "$2"); then
    diff <(mask_time "$1" | LC_ALL=C cat -A) <(mask_time "$2" | LC_ALL=C cat -A) | head -20 >&2 || true
    fail "$2 differs from $1"
  fi
}

# totals CONSOLE-TEXT: prints "E W", the two totals of a run's console output.
totals() {
  local e w
  e=$(printf '%s\n' "$1" | sed -n 's/.*Celkem chyb vahy E: *\([0-9][0-9]*\).*/\1/p')
  w=$(printf '%s\n' "$1" | sed -n 's/.*Celkem chyb vahy W: *\([0-9][0-9]*\).*/\1/p')
  [[ -n $e && -n $w ]] || fail "no totals in the console output: $1"
  echo "$e $w"
}

# build_deb BUILD-DIR CPACK: makes the Debian packages of the build tree in $scratch/pkg with cpack,
# one run, and sets $deb, $lib_deb and $dev_deb to the paths of belun, libtavon1 and libtavon-dev.
build_deb() {
  "$2" --config "$1/CPackConfig.cmake" -G DEB -B "$scratch/pkg" >"$scratch/cpack.log" 2>&1 || {
    cat "$scratch/cpack.log" >&2
    fail "cpack failed"
  }
  local debs=("$scratch"/pkg/*.deb) name
  [[ ${#debs[@]} -eq 3 ]] || fail "cpack did not make three packages: ${debs[*]}"
  deb= lib_deb= dev_deb=
  for name in "${debs[@]}"; do
    case $(dpkg-deb -f "$name" Package) in
      belun) deb=$name ;;
      libtavon1) lib_deb=$name ;;
      libtavon-dev) dev_deb=$name ;;
      *) fail "cpack made an unexpected package: $name" ;;
    esac
  done
  [[ -n $deb && -n $lib_deb && -n $dev_deb ]] || fail "cpack did not make belun, libtavon1 and libtavon-dev: ${debs[*]}"
}
