#!/usr/bin/env bash
# Renders every example job into OUT (default: out) with labelhost, one run
# per folder. A folder's render.args holds the options its jobs were written
# for (one or more per line, '#' starts a comment), such as the resolution
# of the printer their dots assume. The examples' pictures are copied into the
# store the jobs read them from (OUT/store/Graphics), so the run leaves the
# source tree untouched.
set -euo pipefail
cd "$(dirname "$0")/.."
out=${1:-out}
labelhost=${LABELHOST:-build/host/labelhost}

options_for() {
  case "$1" in
    zpl-full) echo "--zpl full" ;;
    *) echo "" ;;
  esac
}

mkdir -p "$out/store/Graphics"
cp examples/graphics/* "$out/store/Graphics/"
for folder in examples/*/; do
  folder=${folder%/}
  [ "$folder" = examples/graphics ] && continue
  options=()
  if [ -f "$folder/render.args" ]; then
    read -r -a options <<<"$(sed -e 's/#.*//' "$folder/render.args" | tr '\n' ' ')"
  fi
  jobs=()
  for f in "$folder"/*; do
    case "$f" in
      *.md|*/render.args) ;;
      *) jobs+=("$f") ;;
    esac
  done
  [ ${#jobs[@]} -eq 0 ] && continue
  "$labelhost" render ${options[@]+"${options[@]}"} --store "$out/store" --out "$out" "${jobs[@]}"
done
