#!/usr/bin/env bash
# The build names every file rather than globbing, so a file left out of its
# folder's CMakeLists.txt would quietly not be built, tested or installed.
# This finds such files, and folders the build never enters. Headers need a
# line only in folders that install theirs, and test support headers (named
# *Test*.h) never do.
set -euo pipefail
cd "$(dirname "$0")/.."

status=0
complain() { echo "check-build-lists: $*" >&2; status=1; }

files=$(git ls-files --cached --others --exclude-standard -- '*.cpp' '*.h' | grep -v '^tools/' || true)
files+=$'\n'$(git ls-files --cached --others --exclude-standard -- 'tools/consumer/*.cpp')
for f in $files; do
  dir=$(dirname "$f")
  name=$(basename "$f")
  list="$dir/CMakeLists.txt"
  if [ ! -f "$list" ]; then
    complain "$f: $dir has no CMakeLists.txt"
    continue
  fi
  case "$f" in
    *Test*.h) continue ;;
    *.h) grep -qE 'HEADERS' "$list" || continue ;;
  esac
  # bench/ and fuzz/ name their executables, one per file.
  grep -qE "(^|[[:space:]])(${name//./\\.}|${name%.*})([[:space:])]|$)" "$list" ||
    complain "$f is not named in $list"
done

for list in $(git ls-files --cached --others --exclude-standard -- '*/CMakeLists.txt'); do
  dir=$(dirname "$list")
  case "$dir" in tools/*) continue ;; esac
  parent=$(dirname "$dir")
  [ "$parent" = . ] && parentList=CMakeLists.txt || parentList="$parent/CMakeLists.txt"
  grep -qE "add_subdirectory\($(basename "$dir")\)" "$parentList" ||
    complain "$dir/ is never added: no add_subdirectory($(basename "$dir")) in $parentList"
done
exit $status
