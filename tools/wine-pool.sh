#!/usr/bin/env bash
# Makes the build's pool of throw-away Wine prefixes (null display driver) for Wine programs run side
# by side: "wineprefix" (tools/winenv.sh's own) and "wineprefix_1" .. "wineprefix_<n-1>", each with
# its server and services started. Those missing are copies of one freshly booted prefix, kept
# beside them, so the pool costs one boot. Prints the prefixes' names, one a line.
# Usage: tools/wine-pool.sh <build-dir> <n>
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:?build dir}" && pwd)
count=${2:?number of prefixes}
[ "$count" -ge 1 ] || count=1

names=(wineprefix)
for ((i = 1; i < count; i++)); do names+=("wineprefix_$i"); done
if [ "$count" -gt 1 ] && [ ! -f "$build/wineprefix-fresh/.zq-ready" ]; then
  (. "$top/tools/winenv.sh" "$build" null wineprefix-fresh && wineserver -k && wineserver -w) >/dev/null 2>&1 || true
fi
for name in "${names[@]}"; do
  if [ "$count" -gt 1 ] && [ ! -f "$build/$name/.zq-ready" ]; then
    rm -rf "${build:?}/$name"
    cp -a "$build/wineprefix-fresh" "$build/$name"
  fi
done
# Each prefix's server and services, all at once.
for name in "${names[@]}"; do
  (. "$top/tools/winenv.sh" "$build" null "$name") >/dev/null 2>&1 &
done
wait
printf '%s\n' "${names[@]}"
