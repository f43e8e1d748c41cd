#!/usr/bin/env bash
# Runs a command (a Wine program) in the prefix of the slot CTest handed the test: tools/run-tests.sh
# gives CTest the build's pool of prefixes (tools/wine-pool.sh) as resource "wineprefix", so tests
# side by side never share a prefix. Run without a slot (ctest -R by hand), the command keeps the
# prefix it was given.
# Usage: tools/wine-slot.sh <build-dir> <command> [arguments...]
set -euo pipefail
build=${1:?build dir}
shift
slot=${CTEST_RESOURCE_GROUP_0_WINEPREFIX:-}
if [ -n "$slot" ]; then
  slot=${slot#id:}
  export WINEPREFIX="$build/${slot%%,*}"
fi
exec "$@"
