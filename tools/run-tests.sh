#!/usr/bin/env bash
# Builds and runs every test executable under Wine (headless). Usage: tools/run-tests.sh [build-dir]
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$top/build}
"$top/tools/setup.sh"
"$top/tools/build.sh" "$build"
. "$top/tools/winenv.sh" "$build" null
cd "$build"
rc=0
ctest --output-on-failure --timeout 600 || rc=$?
wineserver -k >/dev/null 2>&1 || true
exit $rc
