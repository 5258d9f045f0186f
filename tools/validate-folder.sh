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
# The report of a file is REPORTS/NAME.FORMAT, NAME being the file's whole name (duv.2006.xml:
# duv.2006.xml.csv). Where other *.xml files of its folder have names that differ from it only in
# the case of letters, it is REPORTS/NAME~K.FORMAT instead, K counting these names from 1 in byte
# order (X.XML~1.csv, X.xml~2.csv), so that no two reports share a name on a file system that does
# not tell case apart. Any name is checked, whatever its length or characters; the report shows
# the file's name as given here (DIR/NAME, or FILE).
#
# The program used is $BELUN, or else the belun installed beside this script, or else belun from
# the PATH. belun-batch beside that belun, when there, checks all files in one process; without it
# a belun runs per file. At the end one line per file gives its numbers of errors (E) and warnings
# (W) and its report, then the totals; control characters of names are shown as "?".
#
# Checking a folder also writes an overview into REPORTS: index.html (counts, a table of the files
# with links to their reports, sortable by a click on a column, a chart of the most frequent codes
# linked to the catalogue katalog.html, copied beside it) and summary.csv (the table for a
# spreadsheet), by belun-batch: the one beside belun, else beside this script, else from the PATH.
# On a terminal a progress bar shows the files done and the time left (with belun-batch).
#
# Exit code: 0 when every file was checked and none has an error, 2 when every file was checked and
# some have errors (E), 1 when belun could not check a file (see its line) or the arguments are wrong.
#
# A file's name is data, never code: it reaches belun only as an argument or in a list file of its
# own, results are matched to files by their position (never by a name read back), and nothing
# read from belun's output is evaluated. Temporary files live in a private folder.
set -euo pipefail
unset CDPATH

usage() {
  sed -n '3,10s/^# \{0,1\}//p' "$0" >&2
  exit 1
}

[[ $# -ge 1 && $# -le 4 && -n $1 ]] || usage
target=$1
jobs=${2:-$(nproc 2>/dev/null || echo 2)}
format=${3:-htm}
[[ $jobs =~ ^[1-9][0-9]{0,5}$ ]] || usage
((jobs <= 256)) || jobs=256
[[ $format =~ ^(htm|html|txt|csv|xml)$ ]] || usage

me=${0##*/}
belun=${BELUN:-}
if [[ -z $belun ]]; then
  belun=belun
  beside="$(dirname -- "$0")/belun"
  [[ -f $beside && -x $beside ]] && belun=$beside
fi
command -v -- "$belun" >/dev/null || {
  echo "$me: $belun not found (install belun or set BELUN=/path/to/belun)" >&2
  exit 1
}
belun=$(command -v -- "$belun")
[[ $belun == /* ]] || belun="$PWD/$belun"

# nbytes TEXT: its length in bytes (REPLY), whatever the locale.
nbytes() {
  local LC_ALL=C
  REPLY=${#1}
}

# enter FOLDER: cd into it, whatever its name ("-", "-x", a CDPATH entry).
enter() {
  if [[ $1 == /* ]]; then cd -- "$1"; else cd -- "./$1"; fi
}

# xml_files FOLDER: the names of its *.xml files, NUL-terminated, in byte order.
xml_files() {
  (enter "$1" && find . -mindepth 1 -maxdepth 1 -type f -iname '*.xml' -printf '%f\0') | LC_ALL=C sort -z
}

# The files: names[] within their folder, shown[] as the user gave them (the folder as typed, or
# FILE itself), both in byte order of the names.
if [[ -d $target ]]; then
  folder=$target
  while [[ $folder == */ && $folder != / ]]; do folder=${folder%/}; done
  prefix="$folder/"
  [[ $folder == / ]] && prefix=/
  mapfile -d '' names < <(xml_files "$folder")
  shown=()
  for name in "${names[@]}"; do shown+=("$prefix$name"); done
elif [[ -f $target ]]; then
  folder=.
  prefix=
  if [[ $target == */* ]]; then
    folder=${target%/*}
    prefix="$folder/"
    [[ -n $folder ]] || folder=/
  fi
  names=("${target##*/}")
  shown=("$target")
else
  echo "$me: $target is neither a folder nor a file" >&2
  exit 1
fi
[[ ${#names[@]} -gt 0 ]] || {
  echo "$me: no *.xml file in $folder" >&2
  exit 1
}
reports=${4:-${prefix}reports}
while [[ $reports == */ && $reports != / ]]; do reports=${reports%/}; done
mkdir -p -- "$reports"
# Absolute, for links to it; the extra line keeps a name that ends in a line feed whole.
reports_abs=$(enter "$reports" && pwd -P && echo .)
reports_abs=${reports_abs%$'\n.'}
# XML reports among the documents would be checked as documents by the next run.
if [[ $format == xml && $reports_abs/ -ef $folder/ ]]; then
  echo "$me: XML reports cannot go into the checked folder itself; choose another reports folder" >&2
  exit 1
fi
name_max=$(getconf NAME_MAX "$reports_abs" 2>/dev/null || echo 255)
[[ $name_max =~ ^[0-9]+$ ]] || name_max=255

# A private folder for everything temporary, short enough to be named to belun (60 characters).
work=$(mktemp -d "${TMPDIR:-/tmp}/belun-folder.XXXXXX")
nbytes "$work"
if ((REPLY > 40)); then
  rmdir -- "$work"
  work=$(mktemp -d /tmp/belun-folder.XXXXXX)
fi
private=
# shellcheck disable=SC2317  # run by the trap
cleanup() {
  rm -rf -- "$work"
  if [[ -n $private ]]; then rm -rf -- "$private"; fi
}
trap cleanup EXIT
trap 'exit 130' INT
trap 'exit 143' TERM

# report_names: sets report_of[i], the report's name of names[i] (see the top), or failed[i] when
# the file system cannot hold that name. Letters are compared without case as in UTF-8 where the
# system has that locale (Czech letters too), else ASCII letters only.
report_names() {
  local all=() keys=() i k at report group
  local -A members=()
  if [[ -d $target ]]; then
    all=("${names[@]}")
  else
    # Alone too, a file gets the report's name it gets among its folder's files.
    mapfile -d '' all < <({
      xml_files "$folder"
      printf '%s\0' "${names[0]}"
    } | LC_ALL=C sort -z -u)
  fi
  { local LC_ALL=C.UTF-8; } 2>/dev/null
  keys=("${all[@],,}")
  # A key is any text: only a subscript of an associative array and compared, never in arithmetic.
  for i in "${!all[@]}"; do members["k${keys[i]}"]+="$i "; done
  for i in "${!all[@]}"; do
    at=$i
    if [[ ! -d $target ]]; then
      [[ ${all[i]} == "${names[0]}" ]] || continue
      at=0
    fi
    report="${all[i]}.$format"
    # shellcheck disable=SC2206  # indices: digits and spaces only
    group=(${members["k${keys[i]}"]})
    if ((${#group[@]} > 1)); then
      for k in "${!group[@]}"; do
        [[ ${group[k]} != "$i" ]] || report="${all[i]}~$((k + 1)).$format"
      done
    fi
    report_of[at]=$report
    nbytes "$report"
    ((REPLY <= name_max)) || failed[at]="its report's name would be longer than the file system takes ($REPLY bytes)"
  done
}

report_of=() failed=()
report_names

# check_one I SHOWN REPORT: checks file I (SHOWN as the user gave it, its report's name REPORT) with
# belun, a process of its own, and appends its record (I, belun's exit code, its console) to this
# worker's results file. belun takes names of at
# most 60 characters: a longer or odd name goes through a list file of its own, in which belun
# reads the name whole as given; a longer report is written under a short temporary name, or
# through a link to the one it replaces, so that belun still refuses to replace what is no report.
# shellcheck disable=SC2317  # run by xargs, through bash -c
check_one() {
  local i=$1 name=$2 input output final="$REPORTS/$3" moved='' console rc=0
  nbytes "$name"
  if ((REPLY <= 60)) && [[ $name != [-@]* ]]; then
    input=$name
  else
    printf '"%s"\n' "${name//\"/\"\"}" >"$WORK/l$i"
    input="@$WORK/l$i"
  fi
  nbytes "$final"
  if ((REPLY <= 60)) && [[ $final != -* ]]; then
    output=$final
  elif [[ -L $final && ! -e $final ]]; then
    printf '%s\t1\t%s is a link to nothing\0' "$i" "$final" >>"$WORK/results/$BASHPID"
    return
  elif [[ -e $final ]]; then
    output="$WORK/f$i.$FORMAT"
    ln -s -- "$REPORTS_ABS/$3" "$output"
  else
    output="$WORK/t/$i.$FORMAT"
    moved=1
  fi
  console=$("$BELUN_PATH" "$input" "$output" 2>&1) || rc=$?
  [[ $output == "$final" ]] || console=${console//"$output"/"$final"}
  [[ $input != @* ]] || rm -f -- "${input#@}"
  [[ $output != "$WORK/f"* ]] || rm -f -- "$output"
  if [[ -n $moved && $rc -eq 0 ]]; then
    # Only where no file has taken the name meanwhile.
    mv -n -- "$PRIVATE/$i.$FORMAT" "$final" 2>/dev/null || true
    if [[ -e $PRIVATE/$i.$FORMAT ]]; then
      rm -f -- "$PRIVATE/$i.$FORMAT"
      rc=1
      console="$final appeared while the file was checked; it is left as it is"
    fi
  fi
  printf '%s\t%s\t%s\0' "$i" "$rc" "$console" >>"$WORK/results/$BASHPID"
}

# check_files I SHOWN REPORT...: check_one for each triple.
# shellcheck disable=SC2317  # run by xargs, through bash -c
check_files() {
  while (($# >= 3)); do
    if [[ $1 =~ ^(0|[1-9][0-9]*)$ ]]; then check_one "$1" "$2" "$3"; fi
    shift 3
  done
}

# The files not refused for their report's name.
pending=()
for i in "${!names[@]}"; do [[ -n ${failed[i]:-} ]] || pending+=("$i"); done

# Results: rc[i] and console[i] of every file that belun ran on; codes[i] its findings per code
# (belun-batch only).
rc=() console=() codes=()
by_batch=
batch=$(dirname -- "$belun")/belun-batch
[[ ! -f $batch || ! -x $batch ]] || by_batch=1
if ((${#pending[@]} == 0)); then
  :
elif [[ -f $batch && -x $batch ]]; then
  # belun-batch checks all files in one process, on JOBS threads; its records come in the order of
  # the pairs, so that the n-th is that of the n-th file.
  # With --codes a record also holds the findings per code, for the overview. Its progress bar goes
  # to standard error, or to standard output where only that is a terminal.
  for i in "${pending[@]}"; do printf '%s\0%s\0' "${shown[i]}" "$reports/${report_of[i]}"; done |
    if [[ ! -t 2 && -t 1 ]]; then
      # shellcheck disable=SC2069  # standard error to the terminal, standard output to the file
      "$batch" --codes "$jobs" 2>&1 >"$work/batch" || true
    else
      "$batch" --codes "$jobs" >"$work/batch" || true
    fi
  n=0
  while IFS= read -r -d '' record && ((n < ${#pending[@]})); do
    i=${pending[n]}
    rc[i]=${record%%$'\t'*}
    record=${record#*$'\t'}
    codes[i]=${record%%$'\t'*}
    console[i]=${record#*$'\t'}
    n=$((n + 1))
  done <"$work/batch"
else
  # xargs runs check_files in JOBS shells, handing out a few files at a time (index, name, report:
  # at most 16 triples, far below xargs' 128 KiB, and -x stops rather than split one), so that a
  # shell serves several files and the workers still finish together; everything but belun itself
  # runs inside the shell, so that a file costs one process.
  mkdir "$work/results"
  # A report's name too long for belun: written into a private folder beside the reports first.
  for i in "${pending[@]}"; do
    nbytes "$reports/${report_of[i]}"
    if ((REPLY > 60)) || [[ $reports == -* ]]; then
      private=$(mktemp -d -- "$reports/.belun-folder.XXXXXX")
      private_abs=$(enter "$private" && pwd -P && echo .)
      ln -s -- "${private_abs%$'\n.'}" "$work/t"
      break
    fi
  done
  export -f nbytes check_one check_files
  export BELUN_PATH=$belun WORK=$work REPORTS=$reports REPORTS_ABS=$reports_abs PRIVATE=$private FORMAT=$format
  per_call=$(((${#pending[@]} + 4 * jobs - 1) / (4 * jobs)))
  ((per_call <= 16)) || per_call=16
  # shellcheck disable=SC2016  # "$@" is expanded by the bash that xargs starts
  for i in "${pending[@]}"; do printf '%s\0%s\0%s\0' "$i" "${shown[i]}" "${report_of[i]}"; done |
    xargs -0 -x -n $((3 * per_call)) -P "$jobs" bash -c 'check_files "$@"' check_files || true
  for results in "$work"/results/*; do
    [[ -f $results ]] || continue
    while IFS= read -r -d '' record; do
      i=${record%%$'\t'*}
      record=${record#*$'\t'}
      # Our own records; checked all the same before the index is used as one.
      if [[ ! $i =~ ^(0|[1-9][0-9]{0,8})$ ]] || ((i >= ${#names[@]})) || [[ -n ${rc[i]:-} ]]; then continue; fi
      rc[i]=${record%%$'\t'*}
      console[i]=${record#*$'\t'}
    done <"$results"
  done
fi

# message CONSOLE: belun's message on one line (REPLY), without its banner and data set.
message() {
  local line
  REPLY=
  while IFS= read -r line; do
    line=${line%$'\r'}
    [[ -z $line || $line == "Program  "* || $line == "Data: "* ]] || REPLY+=" ${line# }"
  done <<<"$1"
}

# The summary, in the files' order: each file once, with its own counts and report.
count=0
with_errors=0
not_checked=0
totals_e=$'(^|\n)Celkem chyb vahy E: *([0-9]+)\n'
totals_w=$'(^|\n)Celkem chyb vahy W: *([0-9]+)\n'
for i in "${!names[@]}"; do
  count=$((count + 1))
  file=${shown[i]//[[:cntrl:]]/?}
  why=${failed[i]:-}
  e='' w=
  if [[ -z $why && -z ${rc[i]:-} ]]; then
    why="belun did not check it (ended early)"
  elif [[ -z $why ]]; then
    # belun's totals stand at the start of a line, where no name can stand: it shows control
    # characters of names as "?".
    [[ ${console[i]} =~ $totals_e ]] && e=${BASH_REMATCH[2]}
    [[ ${console[i]} =~ $totals_w ]] && w=${BASH_REMATCH[2]}
    if [[ ${rc[i]} != 0 || -z $e || -z $w ]]; then
      message "${console[i]}"
      why="belun ended with ${rc[i]}:$REPLY"
    fi
  fi
  [[ -z $why ]] || e='' w=''
  # The overview's row: the name as given, the report's name, E, W, why not checked, the codes.
  printf '%s\0%s\0%s\0%s\0%s\0%s\0' "${shown[i]}" "${report_of[i]:-}" "$e" "$w" "$why" "${codes[i]:-}" \
    >>"$work/overview"
  if [[ -n $why ]]; then
    not_checked=$((not_checked + 1))
    printf 'NOT CHECKED     %s: %s\n' "$file" "${why//[[:cntrl:]]/?}"
    continue
  fi
  [[ $e == 0 ]] || with_errors=$((with_errors + 1))
  report="$reports/${report_of[i]}"
  printf 'E %6s  W %6s  %s -> %s\n' "$e" "$w" "$file" "${report//[[:cntrl:]]/?}"
done
echo "files: $count, checked: $((count - not_checked)), with errors: $with_errors, not checked: $not_checked"

# The overview of a folder (not of a file checked alone: the tasks of the cluster recipe would
# overwrite each other's), written from the table above by belun-batch.
if [[ -d $target ]]; then
  writer=$batch
  [[ -f $writer && -x $writer ]] || writer=$(dirname -- "$0")/belun-batch
  [[ -f $writer && -x $writer ]] || writer=$(command -v belun-batch || true)
  known=()
  [[ -n $by_batch ]] || known=(--no-codes)
  if [[ -n $writer ]]; then
    { printf '%s\0' "$target" && cat -- "$work/overview"; } | "$writer" --dashboard "${known[@]}" "$reports_abs" ||
      echo "$me: prehled index.html se nepodarilo zapsat cely" >&2
  else
    echo "$me: bez belun-batch nevznikne prehled index.html a summary.csv" >&2
  fi
fi
if ((not_checked > 0)); then exit 1; fi
if ((with_errors > 0)); then exit 2; fi
exit 0
