#!/usr/bin/env bash
# Renders every example job into OUT (default: out) with labelhost. The
# examples' pictures are copied into the store the jobs read them from
# (OUT/store/Graphics), so the run leaves the source tree untouched. A folder
# may ask for options of its own (options_for below): examples/zpl-full is
# printed as a full ZPL printer would.
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
for dir in examples/*/; do
  name=$(basename "$dir")
  [ "$name" = graphics ] && continue
  jobs=()
  for f in "$dir"*; do
    case "$f" in
      *.md) ;;
      *) [ -f "$f" ] && jobs+=("${f%/}") ;;
    esac
  done
  [ ${#jobs[@]} -eq 0 ] && continue
  # shellcheck disable=SC2046
  "$labelhost" render --store "$out/store" --out "$out" $(options_for "$name") "${jobs[@]}"
done
