#!/usr/bin/env bash
# Renders every example job into OUT (default: out) with labelhost. The
# examples' pictures are copied into the store the jobs read them from
# (OUT/store/Graphics), so the run leaves the source tree untouched.
set -euo pipefail
cd "$(dirname "$0")/.."
out=${1:-out}
labelhost=${LABELHOST:-build/host/labelhost}

mkdir -p "$out/store/Graphics"
cp examples/graphics/* "$out/store/Graphics/"
jobs=()
for f in examples/*/*; do
  case "$f" in
    examples/graphics/*|*.md) ;;
    *) jobs+=("$f") ;;
  esac
done
"$labelhost" render --store "$out/store" --out "$out" "${jobs[@]}"
