#!/usr/bin/env bash
# The README's cluster recipe, word for word, on a real batch system: a one-node Slurm cluster of
# its own (munged, slurmctld and slurmd on localhost, with a throwaway key, configuration, spool and
# state under the scratch folder, started here and stopped on exit, whatever happens) runs the job
# array over a folder of documents with the installed belun and belun-folder. Every task completes,
# there is one report per document, the same as belun's own report of that document, with its
# totals (duv-ok.xml: 0 errors, 0 warnings; duv-chyby.xml: 21 errors, 9 warnings), and the
# README's after-the-run line lists the reports of exactly the documents with errors.
#
# The recipe is taken from the README between the markers <!-- slurm-test: NAME -->; its folder is
# $DODAVKY, pointed here at the scratch folder.
#
#   slurm_test.sh BUILD-DIR SOURCE-DIR
set -euo pipefail
source "$(dirname "$0")/common.sh"
build=$1
source_dir=$2

export PATH="$PATH:/usr/sbin:/sbin"
[[ $(id -u) -eq 0 ]] || skip "not run as root: the test starts munged, slurmctld and slurmd itself"
for tool in munged mungekey slurmctld slurmd sbatch squeue scontrol sinfo; do
  command -v "$tool" >/dev/null || skip "$tool is not installed (Debian packages slurm-wlm and munge)"
done

# recipe NAME: the code block that follows the marker <!-- slurm-test: NAME --> in the README.
recipe() {
  awk -v marker="<!-- slurm-test: $1 -->" '
    $0 == marker { state = 1; next }
    state == 1 && /^```/ { state = 2; next }
    state == 2 && /^```/ { exit }
    state == 2 { print }' "$source_dir/README.md"
}
job_script=$(recipe belun-array.sh)
submit=$(recipe submit)
afterwards=$(recipe afterwards)
[[ -n $job_script && -n $submit && -n $afterwards ]] ||
  fail "the README lacks one of the recipe blocks belun-array.sh, submit, afterwards"

# The installed programs, as the nodes of a cluster have them.
"$CMAKE" --install "$build" --prefix "$scratch/prefix" >"$scratch/install.log" 2>&1 || {
  cat "$scratch/install.log" >&2
  fail "cmake --install failed"
}
export PATH="$scratch/prefix/bin:$PATH"

# The cluster. munged wants the folders of its socket searchable by everybody.
chmod 755 "$scratch"
cluster="$scratch/cluster"
mkdir -p "$cluster/munge" "$cluster/state" "$cluster/spool" "$scratch/submit"
chmod 755 "$cluster" "$cluster/munge"
daemons=()
jobid=
stop_cluster() {
  if [[ -n $jobid ]]; then scancel "$jobid" 2>/dev/null || true; fi
  local i
  for ((i = ${#daemons[@]} - 1; i >= 0; i--)); do
    kill "${daemons[i]}" 2>/dev/null || true
    wait "${daemons[i]}" 2>/dev/null || true
  done
  rm -rf -- "$scratch"
}
trap stop_cluster EXIT

# show_logs: the daemons' logs, for a failure.
show_logs() {
  local log
  for log in "$cluster"/*.log; do
    echo "--- $(basename "$log")" >&2
    tail -20 "$log" >&2
  done
}

# free_port FROM: the first TCP port from FROM on that nobody listens on or connects to.
free_port() {
  local port=$1
  while grep -qi "$(printf ':%04X ' "$port")" /proc/net/tcp /proc/net/tcp6 2>/dev/null; do
    port=$((port + 1))
  done
  echo "$port"
}
ctld_port=$(free_port $((20000 + RANDOM % 20000)))
slurmd_port=$(free_port $((ctld_port + 1)))

mungekey --create --keyfile="$cluster/munge/munge.key"
munged -F --key-file="$cluster/munge/munge.key" --socket="$cluster/munge/socket" \
  --pid-file="$cluster/munge/munged.pid" --log-file="$cluster/munged.log" \
  --seed-file="$cluster/munge/seed" >>"$cluster/munged.log" 2>&1 &
daemons+=($!)
for _ in {1..50}; do
  [[ -S $cluster/munge/socket ]] && break
  sleep 0.2
done
[[ -S $cluster/munge/socket ]] || { show_logs; fail "munged did not start"; }

node=$(slurmd -C | head -1)
[[ $node == NodeName=* ]] || fail "slurmd -C did not describe this machine: $node"
node_name=${node%% *}
node_name=${node_name#NodeName=}
export SLURM_CONF="$cluster/slurm.conf"
cat >"$SLURM_CONF" <<EOF
ClusterName=belun
SlurmctldHost=$node_name(127.0.0.1)
SlurmctldPort=$ctld_port
SlurmdPort=$slurmd_port
AuthType=auth/munge
AuthInfo=socket=$cluster/munge/socket
CredType=cred/munge
SlurmUser=root
SlurmdUser=root
StateSaveLocation=$cluster/state
SlurmdSpoolDir=$cluster/spool
SlurmctldPidFile=$cluster/slurmctld.pid
SlurmdPidFile=$cluster/slurmd.pid
ProctrackType=proctrack/linuxproc
TaskPlugin=task/none
JobAcctGatherType=jobacct_gather/none
AccountingStorageType=accounting_storage/none
SelectType=select/cons_tres
SelectTypeParameters=CR_Core
MpiDefault=none
SwitchType=switch/none
MailProg=/bin/true
ReturnToService=2
$node NodeAddr=127.0.0.1 State=UNKNOWN
PartitionName=belun Nodes=ALL Default=YES MaxTime=INFINITE State=UP
EOF
slurmctld -D -i >"$cluster/slurmctld.log" 2>&1 &
daemons+=($!)
slurmd -D -N "$node_name" >"$cluster/slurmd.log" 2>&1 &
daemons+=($!)
state=
for _ in {1..60}; do
  state=$(sinfo -h -o %T 2>/dev/null || true)
  [[ $state == idle ]] && break
  sleep 1
done
[[ $state == idle ]] || { show_logs; fail "the node did not become idle (state: ${state:-none})"; }
echo "cluster: $(sinfo -h -o '%P %a %D %T %c CPUs' | head -1), ports $ctld_port and $slurmd_port"

# The documents: copies of the two examples, one name with inner dots.
export DODAVKY="$scratch/dodavky"
mkdir "$DODAVKY"
for name in skola obec.2006 urad; do cp "$source_dir/examples/duv-ok.xml" "$DODAVKY/$name.xml"; done
for name in nemocnice nemocnice.leden divadlo; do cp "$source_dir/examples/duv-chyby.xml" "$DODAVKY/$name.xml"; done
n=$(find "$DODAVKY" -name '*.xml' | wc -l)

# The recipe, as the README has it.
cd "$scratch/submit"
printf '%s\n' "$job_script" >belun-array.sh
echo "\$ (the README's submit block)"
submitted=$(bash -e -c "$submit") || fail "the submit block ended with $?: $submitted"
echo "$submitted"
jobid=$(sed -n 's/^Submitted batch job \([0-9][0-9]*\)$/\1/p' <<<"$submitted")
[[ -n $jobid ]] || fail "sbatch gave no job id: $submitted"

start=$SECONDS
while [[ -n $(squeue -h -j "$jobid" 2>/dev/null) ]]; do
  ((SECONDS - start < 240)) || { show_logs; fail "the job array did not end within 240 seconds"; }
  sleep 1
done
echo "job array $jobid of $n tasks ended after $((SECONDS - start)) s"

# One line per task: its index, state and exit code.
states=$(scontrol -o show job "$jobid" |
  sed -n 's/.* ArrayTaskId=\([0-9]*\) .* JobState=\([A-Z_]*\) .* ExitCode=\([0-9:]*\) .*/task \1 \2 exit code \3/p' |
  LC_ALL=C sort -k2n)
echo "$states"
[[ $(grep -c ' COMPLETED exit code 0:0$' <<<"$states") -eq $n ]] || {
  tail -n +1 slurm-*.out >&2 || true
  fail "not every one of the $n tasks completed with exit code 0"
}
echo "task outputs:"
cat slurm-*.out

# One report per document, that of belun run on it alone, with the expected totals.
reports=$(cd "$DODAVKY/reports" && find . -type f -printf '%f\n' | LC_ALL=C sort | tr '\n' ' ')
[[ $reports == "divadlo.xml.csv nemocnice.leden.xml.csv nemocnice.xml.csv obec.2006.xml.csv skola.xml.csv urad.xml.csv " ]] ||
  fail "reports: $reports"
cd "$DODAVKY"
for document in *.xml; do
  report=$document.csv
  belun "$document" "$scratch/alone.csv" >/dev/null || fail "belun ended with $? on $document"
  cmp -s "$scratch/alone.csv" "reports/$report" || fail "reports/$report differs from belun's report of $document"
  e=$(sed -n 's/^Celkem chyb vahy E:; *\([0-9]*\).*/\1/p' "reports/$report")
  w=$(sed -n 's/^Celkem chyb vahy W:; *\([0-9]*\).*/\1/p' "reports/$report")
  case $document in
    skola.xml | obec.2006.xml | urad.xml) expected="0 0" ;;
    *) expected="21 9" ;;
  esac
  [[ "$e $w" == "$expected" ]] || fail "$report: totals $e $w, expected $expected"
  echo "$report: E $e, W $w"
done

echo "\$ (the README's after-the-run line)"
listed=$(bash -c "$afterwards" | sed "s#^$DODAVKY/reports/##" | LC_ALL=C sort | tr '\n' ' ')
echo "$listed"
[[ $listed == "divadlo.xml.csv nemocnice.leden.xml.csv nemocnice.xml.csv " ]] ||
  fail "the after-the-run line lists $listed, expected the three reports with errors"
