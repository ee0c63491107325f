#!/usr/bin/env bash
# Whole-run regression guard: every example series and a few awkward ones
# (negative values, ties, more than 2500 values), every preference, with and
# without a break point, run through quilmor-cli as a user runs it. For each
# case the dump holds the input file, the report, the parameter file, the fit
# JSON, calculator answers at a few X-values, frequencies and return periods,
# and a SHA-256 of each of the five graphs in colour and in black and white.
#
#   golden.sh check CLI       compare with tests/golden/expected (exit 1 on a difference)
#   golden.sh generate CLI    write tests/golden/expected anew
#
# Regenerate only on purpose, when a change of the results is intended.
set -euo pipefail

mode=${1:?usage: golden.sh check|generate CLI}
cli=$(realpath "${2:?usage: golden.sh check|generate CLI}")
here=$(cd "$(dirname "$0")" && pwd)
repo=$(cd "$here/../.." && pwd)
expected="$here/expected"
jobs=${GOLDEN_JOBS:-$(nproc)}

work=$(mktemp -d "${TMPDIR:-/tmp}/quilmor-golden.XXXXXX")
trap 'rm -rf "$work"' EXIT

# series name, value file, extra options of the run
series_list() {
  local ex="$repo/data/examples" in="$here/inputs"
  echo "aircondit $ex/aircondit_failure_hours.txt"
  echo "clearfork $ex/clearfork_porosity.txt"
  echo "discoveries $ex/discoveries_counts.txt"
  echo "manaus $ex/manaus_rio_negro_level.txt"
  echo "wabash $ex/wabash_annual_peak_flow.txt"
  echo "negative $in/negative_anomalies.txt --threshold -100"
  echo "ties $in/tied_counts.txt"
  echo "many $in/gumbel_3000.txt"
}

prefs="1 3 4 5 21 22 23 24 25 51 52 53 54 55 56 57 58 59 60 62"

# One case: series, preference, break point (0/1). Writes $work/cases/NAME.
run_case() {
  local name=$1 pref=$2 bp=$3
  local file extra
  file=$(series_list | awk -v n="$name" '$1 == n { print $2 }')
  extra=$(series_list | awk -v n="$name" '$1 == n { $1 = ""; $2 = ""; print }')
  local dir="$work/run/$name-$pref-$bp"
  mkdir -p "$dir"
  cp "$file" "$dir/$name.txt"
  local bpopt=()
  [ "$bp" = 1 ] && bpopt=(--breakpoint)
  local out="$work/cases/$name-$(printf %02d "$pref")-$bp"
  (
    cd "$dir"
    echo "=== case $name pref=$pref breakpoint=$bp"
    section() { echo "--- $*"; }
    # shellcheck disable=SC2086
    set +e
    "$cli" run "$name.txt" --pref "$pref" "${bpopt[@]}" --title1 "Golden series $name" \
      --title2 "Preference $pref" $extra >stdout 2>stderr
    echo "--- run exit=$?"
    set -e
    cat stdout; section "run stderr"; cat stderr
    for f in "$name.inp" "$name.out" "$name.aux"; do
      section "file $f"
      if [ -f "$f" ]; then cat "$f"; else echo "(none)"; fi
    done
    set +e
    "$cli" fit "$name.inp" --pref "$pref" "${bpopt[@]}" >stdout 2>stderr
    echo "--- fit exit=$?"
    set -e
    cat stdout; section "fit stderr"; cat stderr
    if [ -f "$name.aux" ]; then
      local lo mid hi
      read -r lo mid hi < <(sort -g "$name.txt" | awk 'NF { v[++n] = $1 } END { print v[1], v[int((n + 1) / 2)], v[n] }')
      local q
      for q in "--x $lo" "--x $mid" "--x $hi" "--freq 0.1" "--freq 0.5" "--freq 0.9" \
        "--freq 0.99" "--period 2" "--period 10" "--period 100"; do
        set +e
        # shellcheck disable=SC2086
        "$cli" calc "$name.aux" $q >stdout 2>stderr
        echo "--- calc $q exit=$?"
        set -e
        cat stdout stderr
      done
      local type bw
      for type in cumulative qq interval return xconf; do
        for bw in "" "--bw"; do
          set +e
          # shellcheck disable=SC2086
          "$cli" graph "$name.out" --type "$type" $bw --output g.bmp >stdout 2>stderr
          local rc=$?
          set -e
          echo "--- graph $type ${bw:-colour} exit=$rc"
          cat stdout stderr
          if [ -f g.bmp ]; then sha256sum <g.bmp | cut -d' ' -f1; rm -f g.bmp; fi
        done
      done
    fi
  ) | sed "s|$work|@WORK@|g" >"$out"
  rm -rf "$dir"
}
export -f run_case series_list
export cli work here repo

mkdir -p "$work/cases" "$work/run"
for s in $(series_list | awk '{ print $1 }'); do
  for p in $prefs; do
    for b in 0 1; do echo "$s $p $b"; done
  done
done | xargs -P "$jobs" -L 1 bash -c 'run_case "$0" "$1" "$2"'

status=0
for s in $(series_list | awk '{ print $1 }'); do
  cat "$work/cases/$s"-* >"$work/$s.txt"
  case $mode in
    generate)
      mkdir -p "$expected"
      xz -9e -T1 -c "$work/$s.txt" >"$expected/$s.txt.xz"
      ;;
    check)
      if ! xz -dc "$expected/$s.txt.xz" | cmp -s - "$work/$s.txt"; then
        echo "golden outputs of series $s differ:" >&2
        xz -dc "$expected/$s.txt.xz" | diff -a - "$work/$s.txt" | head -n 40 >&2 || true
        status=1
      fi
      ;;
    *) echo "unknown mode $mode" >&2; exit 2 ;;
  esac
done
[ $status = 0 ] && echo "golden outputs: $(series_list | wc -l) series, $(echo $prefs | wc -w) preferences x 2, all identical"
exit $status
