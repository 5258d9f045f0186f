#!/usr/bin/env bash
# Checks every *.xml file of a folder with belun, several files at a time, one report per file.
#
#   belun-folder DIR|FILE [JOBS] [FORMAT] [REPORTS]
#
#   DIR      folder whose *.xml files (not those of its subfolders) are checked; or one FILE alone
#   JOBS     how many files are checked at the same time (default: the number of processors)
#   FORMAT   report format: htm, txt, csv or xml (default: htm)
#   REPORTS  folder for the reports (default: DIR/reports); created when missing
#
# Installed as belun-folder (manual page belun-folder(1)); tools/validate-folder.sh in the source.
# The report of NAME.xml is REPORTS/NAME.FORMAT (dots inside NAME become "_", so that the report's
# name has one dot only, before its format). The program used is $BELUN, or else the belun installed
# beside this script, or else belun from the PATH. belun-batch beside that belun, when there, checks
# all files in one process (see check_in_one_process).
# At the end one line per file gives its numbers of errors (E) and warnings (W), then the totals.
#
# Exit code: 0 when every file was checked and none has an error, 2 when every file was checked and
# some have errors (E), 1 when belun could not check a file (see its line) or the arguments are wrong.
set -euo pipefail

usage() {
  sed -n '3,10s/^# \{0,1\}//p' "$0" >&2
  exit 1
}

[[ $# -ge 1 && $# -le 4 ]] || usage
target=$1
jobs=${2:-$(nproc 2>/dev/null || echo 2)}
format=${3:-htm}
[[ $jobs =~ ^[1-9][0-9]*$ ]] || usage
[[ $format =~ ^(htm|html|txt|csv|xml)$ ]] || usage

me=$(basename "$0")
belun=${BELUN:-}
if [[ -z $belun ]]; then
  belun=belun
  beside="$(dirname "$0")/belun"
  [[ -f $beside && -x $beside ]] && belun=$beside
fi
command -v "$belun" >/dev/null || {
  echo "$me: $belun not found (install belun or set BELUN=/path/to/belun)" >&2
  exit 1
}
belun=$(command -v "$belun")
[[ $belun == /* ]] || belun="$PWD/$belun"

if [[ -d $target ]]; then
  folder=$(cd "$target" && pwd)
  mapfile -d '' files < <(find "$folder" -maxdepth 1 -type f -iname '*.xml' -print0 | LC_ALL=C sort -z)
elif [[ -f $target ]]; then
  folder=$(cd "$(dirname "$target")" && pwd)
  files=("$folder/$(basename "$target")")
else
  echo "$me: $target is neither a folder nor a file" >&2
  exit 1
fi
[[ ${#files[@]} -gt 0 ]] || {
  echo "$me: no *.xml file in $folder" >&2
  exit 1
}
reports=${4:-$folder/reports}
mkdir -p "$reports"
reports=$(cd "$reports" && pwd)

# The files' folder as seen from the reports folder: belun runs there (so that the report's name has
# no directory part), and names each file through this prefix.
from_reports=$(realpath --relative-to="$reports" "$folder")
[[ $from_reports == -* ]] && from_reports="./$from_reports"

# prepare FILE: the names belun gets for FILE, as seen from the reports folder (the working
# directory): sets report and input, writing a list file when the document's name is too long for
# belun; or prints FILE's "failed" line (see check_files) and returns 1.
prepare() {
  local file=$1 name base
  name=${file##*/}
  base=${name%.*}
  base=${base//./_}
  [[ $base == -* ]] && base="_$base"
  report="$base.$FORMAT"
  input="$FROM_REPORTS/$name"
  # belun takes names of at most 60 characters; the entries of a list file have no such limit.
  if ((${#report} > 60)) || { ((${#input} > 60)) && [[ $file == *[[:space:]]* ]]; }; then
    printf 'failed\t-\t-\t%s\t%s\n' "$file" "name too long for belun (60 characters)"
    return 1
  fi
  if ((${#input} > 60)); then
    printf '%s\n' "$file" >"$base.list"
    input="@$base.list"
  fi
}

# print_result FILE REPORT EXIT-CODE CONSOLE: FILE's line (see check_files) from belun's run on it.
print_result() {
  local file=$1 report=$2 rc=$3 console=$4 e='' w=''
  [[ $console =~ Celkem\ chyb\ vahy\ E:\ *([0-9]+) ]] && e=${BASH_REMATCH[1]}
  [[ $console =~ Celkem\ chyb\ vahy\ W:\ *([0-9]+) ]] && w=${BASH_REMATCH[1]}
  if ((rc != 0)) || [[ -z $e || -z $w ]]; then
    console=${console//$'\r'/ }
    printf 'failed\t-\t-\t%s\tbelun ended with %s:%s\n' "$file" "$rc" "${console//$'\n'/ }"
    return
  fi
  printf 'checked\t%s\t%s\t%s\t%s\n' "$e" "$w" "$file" "$report"
}

# check_files FILE...: checks each file with belun, run with the reports folder as working directory,
# and prints per file one line of five tab-separated fields: "checked", errors, warnings, the file and
# its report; or "failed", -, -, the file, the reason. Everything but belun itself runs inside this
# shell, so that a file costs one process: on many small files the starting of processes is the
# bulk of the time.
# shellcheck disable=SC2317  # run by xargs, through bash -c
check_files() {
  local file report input console rc
  cd "$REPORTS" || exit 1
  for file; do
    prepare "$file" || continue
    rc=0
    console=$("$BELUN_PATH" "$input" "$report" 2>&1) || rc=$?
    [[ $input == @* ]] && rm -f "${input#@}"
    print_result "$file" "$REPORTS/$report" "$rc" "$console"
  done
}

# check_in_one_process FILE...: the same lines as check_files, from belun-batch, which checks the
# files on JOBS threads of one process: on many files much faster than a process per file.
check_in_one_process() {
  local file report input line i=0 lists=() files=() reports=() pairs=()
  cd "$REPORTS" || exit 1
  for file; do
    prepare "$file" || continue
    [[ $input == @* ]] && lists+=("${input#@}")
    files+=("$file")
    reports+=("$report")
    pairs+=("$input" "$report")
  done
  if ((${#files[@]} > 0)); then
    printf '%s\0' "${pairs[@]}" | "$BATCH" "$JOBS" >"$WORK/batch" || true
    while IFS= read -r line; do
      print_result "${files[i]}" "$REPORTS/${reports[i]}" "${line%%$'\t'*}" "${line#*$'\t'}"
      i=$((i + 1))
    done <"$WORK/batch"
  fi
  ((${#lists[@]} == 0)) || rm -f "${lists[@]}"
  for ((; i < ${#files[@]}; i++)); do
    printf 'failed\t-\t-\t%s\t%s\n' "${files[i]}" "belun-batch ended without checking it"
  done
}

# Lines are read from files, not pipes: bash reads a pipe one byte at a time.
WORK=$(mktemp -d "${TMPDIR:-/tmp}/belun-folder.XXXXXX")
trap 'rm -rf -- "$WORK"' EXIT

export -f prepare print_result check_files
export BELUN_PATH=$belun REPORTS=$reports FORMAT=$format FROM_REPORTS=$from_reports

# belun-batch beside belun checks all files in one process. Without it, xargs runs check_files in
# JOBS shells, handing out a few files at a time, so that a shell serves several files and the
# workers still finish together.
BATCH=$(dirname "$belun")/belun-batch JOBS=$jobs
if [[ -f $BATCH && -x $BATCH ]]; then
  check_in_one_process "${files[@]}" | LC_ALL=C sort -t $'\t' -k4 >"$WORK/results"
else
  per_call=$(((${#files[@]} + 4 * jobs - 1) / (4 * jobs)))
  ((per_call <= 16)) || per_call=16
  # shellcheck disable=SC2016  # "$@" is expanded by the bash that xargs starts
  printf '%s\0' "${files[@]}" | xargs -0 -n "$per_call" -P "$jobs" bash -c 'check_files "$@"' check_files |
    LC_ALL=C sort -t $'\t' -k4 >"$WORK/results"
fi

count=0
with_errors=0
failed=0
while IFS=$'\t' read -r state e w file rest; do
  count=$((count + 1))
  if [[ $state == checked ]]; then
    if ((e > 0)); then with_errors=$((with_errors + 1)); fi
    printf 'E %6s  W %6s  %s -> %s\n' "$e" "$w" "$file" "$rest"
  else
    failed=$((failed + 1))
    printf 'NOT CHECKED     %s: %s\n' "$file" "$rest"
  fi
done <"$WORK/results"
echo "files: $count, checked: $((count - failed)), with errors: $with_errors, not checked: $failed"
if ((failed > 0)); then exit 1; fi
if ((with_errors > 0)); then exit 2; fi
exit 0
