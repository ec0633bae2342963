#!/usr/bin/env bash
# Where a one-label run's time goes, stage by stage, and the two figures a
# one-label run is held to: the parcel label (300 dpi, full ZPL) and
# box-and-lines.zpl against `labelhost --version`, the cost of starting the
# program at all. Every command is run in turn, round after round, so that a
# busy machine slows them alike; each row gives the median wall time and the
# median CPU time (user + system, every thread) of its command.
#
#   bench/startup-stages.sh [-n RUNS] [BUILD]      (BUILD: default build)
#
# Stages, from StartupFloor (linked like labelhost) and labelhost itself:
#   libraries             StartupFloor exit: loading the libraries and leaving
#   font configuration    StartupFloor fonts (the font catalog), less the libraries
#   ... read whole        StartupFloor config (no valid catalog), less the libraries
#   first face            StartupFloor text 1 (one line at one size), less fonts
#   each further size     (StartupFloor text 11 less text 1) / 10
#   the label             the parcel label, less `labelhost --version`
#   nothing kept          the parcel label without the font catalog and the glyph
#                         store (through env, which adds its own start)
set -euo pipefail

runs=20
if [ "${1:-}" = -n ]; then
  runs=$2
  shift 2
fi
build=${1:-build}
source=$(cd "$(dirname "$0")/.." && pwd)
floor="$build/bench/StartupFloor"
labelhost="$build/host/labelhost"
for program in "$floor" "$labelhost"; do
  [ -x "$program" ] || { echo "$0: no $program (build it first)" >&2; exit 2; }
done

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
names=(exit fonts config text1 text11 version parcel box cold)
commands=(
  "$floor exit"
  "$floor fonts"
  "$floor config"
  "$floor text 1"
  "$floor text 11"
  "$labelhost --version"
  "$labelhost render -q -o {out} --zpl full --dpi 300 $source/examples/zpl-full/parcel-carrier.zpl"
  "$labelhost render -q -o {out} --dpi 300 $source/examples/zpl/box-and-lines.zpl"
  "env LABELHOST_FONT_CATALOG= LABELHOST_GLYPH_CACHE= $labelhost render -q -o {out} --zpl full --dpi 300 $source/examples/zpl-full/parcel-carrier.zpl"
)

# Children's CPU time (user + system) in microseconds, from the output of the
# shell's own `times` (starting a program to read a clock would cost more
# than some of what is measured, and would count itself).
children_cpu() {
  tail -n 1 "$1" | awk '{
    total = 0
    for (i = 1; i <= 2; i++) { split($i, p, "m"); sub("s", "", p[2]); total += p[1] * 60 + p[2] }
    printf "%d\n", total * 1000000 }'
}

run_once() {
  local name=$1 out="$scratch/out" words start end
  rm -rf "$out"
  mkdir -p "$out"
  read -r -a words <<<"${2//\{out\}/$out}"
  times >"$scratch/times.before"
  start=${EPOCHREALTIME/[.,]/}
  if ! "${words[@]}" >/dev/null 2>"$scratch/err"; then
    echo "${words[*]} failed:" >&2
    cat "$scratch/err" >&2
    exit 1
  fi
  end=${EPOCHREALTIME/[.,]/}
  times >"$scratch/times.after"
  echo $((10#$end - 10#$start)) >>"$scratch/wall.$name"
  echo $(($(children_cpu "$scratch/times.after") - $(children_cpu "$scratch/times.before"))) \
    >>"$scratch/cpu.$name"
}

for ((round = 0; round < runs; round++)); do
  for i in "${!names[@]}"; do run_once "${names[$i]}" "${commands[$i]}"; done
done

median() {  # of the microseconds in file $1, in milliseconds
  sort -n "$1" | awk '{ t[NR] = $1 } END {
    m = NR % 2 ? t[(NR + 1) / 2] : (t[NR / 2] + t[NR / 2 + 1]) / 2
    printf "%.2f\n", m / 1000 }'
}
declare -A wall cpu
for name in "${names[@]}"; do
  wall[$name]=$(median "$scratch/wall.$name")
  cpu[$name]=$(median "$scratch/cpu.$name")
done

row() { awk -v n="$1" -v w="$2" -v c="$3" 'BEGIN { printf "%-34s %10.2f %10.2f\n", n, w, c }'; }
diff_of() { awk -v a="$1" -v b="$2" -v d="${3:-1}" 'BEGIN { printf "%.2f\n", (a - b) / d }'; }
printf '%-34s %10s %10s\n' "stage (median of $runs)" "wall ms" "cpu ms"
row "libraries" "${wall[exit]}" "${cpu[exit]}"
row "font configuration" "$(diff_of "${wall[fonts]}" "${wall[exit]}")" \
  "$(diff_of "${cpu[fonts]}" "${cpu[exit]}")"
row "... read whole" "$(diff_of "${wall[config]}" "${wall[exit]}")" \
  "$(diff_of "${cpu[config]}" "${cpu[exit]}")"
row "first face" "$(diff_of "${wall[text1]}" "${wall[fonts]}")" \
  "$(diff_of "${cpu[text1]}" "${cpu[fonts]}")"
row "each further size" "$(diff_of "${wall[text11]}" "${wall[text1]}" 10)" \
  "$(diff_of "${cpu[text11]}" "${cpu[text1]}" 10)"
row "labelhost --version" "${wall[version]}" "${cpu[version]}"
row "parcel-carrier.zpl (300 dpi, full)" "${wall[parcel]}" "${cpu[parcel]}"
row "box-and-lines.zpl (300 dpi)" "${wall[box]}" "${cpu[box]}"
row "parcel, nothing kept between runs" "${wall[cold]}" "${cpu[cold]}"
echo
row "parcel label over --version" "$(diff_of "${wall[parcel]}" "${wall[version]}")" \
  "$(diff_of "${cpu[parcel]}" "${cpu[version]}")"
row "box-and-lines over --version" "$(diff_of "${wall[box]}" "${wall[version]}")" \
  "$(diff_of "${cpu[box]}" "${cpu[version]}")"
echo "(held to: parcel at most +10 ms wall, box-and-lines at most +6 ms)"
