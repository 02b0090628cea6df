#!/usr/bin/env bash
# Checks that a built library exports exactly the names of its export list.
# usage: check_exports.sh LIBRARY EXPORT_LIST
set -euo pipefail
library=$1 list=$2
expected=$(grep -E '^[A-Za-z]' "$list" | sort)
case "$library" in
  *.dll)
    # The PE export directory, as objdump prints its name table.
    actual=$(x86_64-w64-mingw32-objdump -p "$library" |
      awk '/Ordinal\/Name Pointer/ {on=1; next} on && /^[ \t]*\[/ {print $NF; next} on {on=0}' | sort) ;;
  *)
    actual=$(nm -D --defined-only "$library" | awk '{print $NF}' |
      grep -vE '^(_init|_fini|_edata|_end|__bss_start)$' | sort) ;;
esac
if [ "$expected" != "$actual" ]; then
  echo "exports of $library differ from $list:"
  diff <(echo "$expected") <(echo "$actual") || true
  exit 1
fi
echo "$library exports exactly the $(echo "$expected" | wc -l) names of $(basename "$list")"
