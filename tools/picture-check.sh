#!/usr/bin/env bash
# picture-check.sh LABELHOST OUT: renders every example and the ZPL corpus
# (both sets, device and full dialect, 203 and 300 dpi) into OUT with the
# reports beside them, time stamps and OUT itself taken out, so that two
# builds can be compared byte for byte:
#   tools/picture-check.sh old/labelhost /tmp/a
#   tools/picture-check.sh build/host/labelhost /tmp/b
#   diff -r /tmp/a /tmp/b
# The corpus is read from $ZPL_CORPUS (default ../shared/zpl-corpus); it is
# skipped when that folder is missing.
set -u
labelhost=$(readlink -f "$1")
out=$2
source=$(cd "$(dirname "$0")/.." && pwd)
corpus=${ZPL_CORPUS:-$source/../shared/zpl-corpus}
rm -rf "$out"
mkdir -p "$out/store/Graphics"
cp "$source"/examples/graphics/* "$out/store/Graphics/"
strip() { sed -E "s/[0-9]{2}:[0-9]{2}:[0-9]{2}//g; s|$out|OUT|g; s|$source/||g"; }
for folder in "$source"/examples/*/; do
  name=$(basename "$folder")
  [ "$name" = graphics ] && continue
  options=()
  if [ -f "$folder/render.args" ]; then
    read -r -a options <<<"$(sed -e 's/#.*//' "$folder/render.args" | tr '\n' ' ')"
  fi
  jobs=()
  for f in "$folder"*; do
    case "$f" in *.md | */render.args) ;; *) jobs+=("$f") ;; esac
  done
  [ ${#jobs[@]} -eq 0 ] && continue
  mkdir -p "$out/examples-$name"
  "$labelhost" render ${options[@]+"${options[@]}"} --store "$out/store" \
    --out "$out/examples-$name" "${jobs[@]}" 2>&1 | strip >"$out/examples-$name.report"
done
if [ -d "$corpus" ]; then
  for dialect in device full; do
    for dpi in 203 300; do
      for set in zpl labelary/zpl; do
        [ -d "$corpus/$set" ] || continue
        to="$out/corpus-${set//\//-}-$dialect-$dpi"
        mkdir -p "$to"
        "$labelhost" render --zpl "$dialect" --dpi "$dpi" --store "$out/store" --out "$to" \
          "$corpus/$set"/*.zpl 2>&1 | strip >"$to.report"
      done
    done
  done
fi
rm -rf "$out/store/Logging"
find "$out" -type f | wc -l
