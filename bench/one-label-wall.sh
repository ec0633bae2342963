#!/usr/bin/env bash
# Wall time of whole labelhost runs, such as rendering one label: what a user
# waits for, start-up and exit included. Each run writes into a fresh folder.
# Several programs are run in turn, round after round, so that a busy machine
# slows them alike; compare them in one call.
#
#   bench/one-label-wall.sh [-n RUNS] PROGRAM... -- ARGUMENTS...
#
# "{out}" in ARGUMENTS stands for the fresh folder. For example
#   bench/one-label-wall.sh -n 30 old/labelhost build/host/labelhost -- \
#     render -q -o {out} --zpl full --dpi 300 examples/zpl-full/parcel-carrier.zpl
# prints, per program, the mean, median and fastest run in milliseconds.
# Unless $LABELHOST_FONT_CATALOG is set, each program keeps its own font
# catalog, made by one run before the timed ones: programs whose catalogs
# differ (another format or key) would otherwise remake each other's.
set -euo pipefail

runs=20
if [ "${1:-}" = -n ]; then
  runs=$2
  shift 2
fi
programs=()
while [ $# -gt 0 ] && [ "$1" != -- ]; do
  programs+=("$1")
  shift
done
if [ $# -eq 0 ] || [ ${#programs[@]} -eq 0 ]; then
  echo "usage: $0 [-n RUNS] PROGRAM... -- ARGUMENTS..." >&2
  exit 2
fi
shift

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

# One run of program number $1: its wall time in microseconds on standard
# output.
run_once() {
  local program=${programs[$1]} out="$scratch/out" args=() arg start end
  rm -rf "$out"
  mkdir -p "$out"
  for arg in "${@:2}"; do args+=("${arg//\{out\}/$out}"); done
  # The clock is the shell's own: starting `date`, or a subshell, would cost
  # more than some of what is measured.
  start=${EPOCHREALTIME/[.,]/}
  if ! LABELHOST_FONT_CATALOG=${LABELHOST_FONT_CATALOG-$scratch/catalog.$1} \
    "$program" "${args[@]}" >/dev/null 2>"$scratch/err"; then
    echo "$program failed:" >&2
    cat "$scratch/err" >&2
    exit 1
  fi
  end=${EPOCHREALTIME/[.,]/}
  echo $((10#$end - 10#$start))
}

for i in "${!programs[@]}"; do
  run_once "$i" "$@" >/dev/null
done
for ((round = 0; round < runs; round++)); do
  for i in "${!programs[@]}"; do
    run_once "$i" "$@" >>"$scratch/times.$i"
  done
done

printf '%-40s %9s %9s %9s\n' program "mean ms" "median ms" "min ms"
for i in "${!programs[@]}"; do
  sort -n "$scratch/times.$i" | awk -v name="${programs[$i]}" '
    { t[NR] = $1; sum += $1 }
    END {
      median = NR % 2 ? t[(NR + 1) / 2] : (t[NR / 2] + t[NR / 2 + 1]) / 2
      printf "%-40s %9.1f %9.1f %9.1f\n", name, sum / NR / 1000, median / 1000, t[1] / 1000
    }'
done
