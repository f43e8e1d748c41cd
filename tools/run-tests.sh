#!/usr/bin/env bash
# Builds and runs every test executable under Wine (headless), as many at once as there are cores,
# each in a Wine prefix of its own from the build's pool (tools/wine-pool.sh, tools/wine-slot.sh).
# Usage: tools/run-tests.sh [build-dir]
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$top/build}
"$top/tools/setup.sh"
"$top/tools/build.sh" "$build"
jobs=$(nproc)
mapfile -t prefixes < <("$top/tools/wine-pool.sh" "$build" "$jobs")
if [ "${#prefixes[@]}" -ne "$jobs" ]; then
  echo "run-tests: the pool of Wine prefixes was not made (${#prefixes[@]} of $jobs)" >&2
  exit 1
fi
. "$top/tools/winenv.sh" "$build" null
cd "$build"
# CTest hands each test one prefix of the pool (the tests' RESOURCE_GROUPS).
ids=$(printf '{"id": "%s", "slots": 1},' "${prefixes[@]}")
printf '{"version": {"major": 1, "minor": 0}, "local": [{"wineprefix": [%s]}]}\n' "${ids%,}" >wineprefixes.json
rc=0
ctest --output-on-failure --timeout 600 -j "$jobs" --resource-spec-file wineprefixes.json || rc=$?
for prefix in "${prefixes[@]}"; do WINEPREFIX="$build/$prefix" wineserver -k >/dev/null 2>&1 || true; done
exit $rc
