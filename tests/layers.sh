#!/bin/sh
# The libraries depend one way, as the README's layout table says: a source
# file includes from its own folder and the folders below it only, and only
# framework/qt includes Qt. Prints every include that breaks this.
# Usage: layers.sh SOURCE_TOP
top="$1"
status=0

# folder, then the folders (or single headers) its files may include from
check() {
  folder="$1"
  shift
  for file in "$top/$folder"/*.cpp "$top/$folder"/*.h; do
    [ -e "$file" ] || continue
    grep -n '^#include "[^"]*/' "$file" | while IFS= read -r line; do
      target=$(printf '%s\n' "$line" | sed 's/^[0-9]*:#include "\([^"]*\)".*/\1/')
      allowed=no
      for use in "$folder" "$@"; do
        case "$target" in "$use" | "$use"/*) allowed=yes ;; esac
      done
      [ "$allowed" = yes ] || echo "$folder/${file##*/}: includes $target"
    done
  done
}

report=$(
  check framework
  check color framework
  check app framework
  check picker framework color app tools/ScaleHandoff.h
  check tools framework
  for file in $(grep -rl '^#include <Q' "$top/framework" "$top/color" "$top/app" "$top/picker" "$top/tools" \
    "$top/program" 2>/dev/null); do
    case "$file" in "$top/framework/qt/"*) ;; *) echo "${file#"$top"/}: includes Qt" ;; esac
  done
)
if [ -n "$report" ]; then
  printf '%s\n' "$report"
  status=1
fi
exit $status
