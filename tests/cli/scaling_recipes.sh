#!/usr/bin/env bash
# Runs every recipe of docs/scaling.md as it stands there on a small network
# and checks that each merged summary equals the summary of one unsharded
# batch. The schedulers are stood in for by their environment: the Slurm
# script runs once per array index with SLURM_ARRAY_TASK_ID set, the Job's
# command once per completion index with JOB_COMPLETION_INDEX set; GNU
# parallel's ssh hosts are the machine itself (-S :).
# Usage: scaling_recipes.sh QUILMOR_CLI DOCS_SCALING_MD EXAMPLES_DIR
set -uo pipefail
cli=$(readlink -f "$1") doc=$(readlink -f "$2") examples=$(readlink -f "$3")
command -v parallel >/dev/null || { echo "GNU parallel is not installed"; exit 77; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/bin" "$work/stations"
ln -s "$cli" "$work/bin/quilmor-cli"
export PATH="$work/bin:$PATH"
cp "$examples"/*.txt "$work/stations/"
# More series than shards, a bad one among them.
for s in 1 2 3 4 5; do
  awk -v s="$s" 'BEGIN { for (i = 1; i <= 25; i++) printf "%.4f\n", 10 + s + 3 * (-log((i - 0.5) / 25)) ^ (1 + s / 10) }' \
    >"$work/stations/gen$s.txt"
done
printf '1\n2\n' >"$work/stations/short.txt"
cd "$work"
quilmor-cli batch stations/ --out reference -q
[ $? -eq 3 ] || { echo "the reference batch did not end with status 3"; exit 1; }

# The fenced block after "<!-- recipe: NAME -->".
recipe() {
  awk -v name="$1" '
    $0 == "<!-- recipe: " name " -->" { found = 1; next }
    found && /^```/ { if (inside) exit; inside = 1; next }
    inside { print }' "$doc"
}

compare() {
  for f in summary.csv summary.jsonl summary.shard.json; do
    cmp -s "reference/$f" "results/all/$f" || { echo "$1: results/all/$f differs from one batch"; return 1; }
  done
  echo "$1: merged summary equals the unsharded one"
}

failed=0
run_recipe() {
  local name=$1 script
  script=$(recipe "$name")
  [ -n "$script" ] || { echo "$name: no such recipe in $doc"; failed=1; return; }
  rm -rf results
  case $name in
    parallel-local) bash -e -c "$script" ;;
    parallel-ssh) HOSTS=: bash -e -c "$script" ;;
    slurm)
      printf '%s\n' "$script" >batch.sbatch
      for id in 1 2 3 4; do
        SLURM_ARRAY_TASK_ID=$id SLURM_CPUS_PER_TASK=1 bash batch.sbatch || { echo "slurm task $id failed"; failed=1; }
      done
      quilmor-cli merge results/shard-* --out results/all ;;
    kubernetes)
      # The container's command: the line after "args:".
      local command
      command=$(printf '%s\n' "$script" | awk '/args:/ { getline; sub(/^ *- /, ""); print; exit }')
      for index in 0 1 2 3; do
        JOB_COMPLETION_INDEX=$index sh -c "$command" || { echo "job index $index failed"; failed=1; }
      done
      quilmor-cli merge results/shard-* --out results/all ;;
  esac
  local rc=$?
  [ $rc -eq 0 ] || [ $rc -eq 3 ] || { echo "$name: ended with status $rc"; failed=1; return; }
  compare "$name" || failed=1
}

for name in parallel-local parallel-ssh slurm kubernetes; do run_recipe "$name"; done
exit $failed
