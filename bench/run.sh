#!/usr/bin/env bash
# Builds the benchmark program and runs it under Wine (headless). Not part of CI.
# Usage: bench/run.sh [build-dir] [host|open|pages|changes|memory|rules|convert|soak|check] [--reps N] [--threads N] [--seconds N] [--values]
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$top/build}
shift || true
cmake -S "$top" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_TOOLCHAIN_FILE="$top/cmake/mingw-w64-x86_64.cmake" >/dev/null
cmake --build "$build" -j2 --target zqbench
# A prefix of its own: the printers it installs (one without the plug-in) would change what the
# tests in the build folder's prefix find.
. "$top/tools/winenv.sh" "$build" null benchprefix
# The program and its Wine server share one core: on a virtual machine, waking a server idle on
# another core costs anything from nothing to many milliseconds, and the figures would measure that.
if command -v taskset >/dev/null; then
  cpu=${ZQBENCH_CPU:-$(($(nproc) - 1))}
  wineserver -k 2>/dev/null || true
  wineserver -w
  taskset -c "$cpu" wineserver -p </dev/null >/dev/null 2>&1
  pin=(taskset -c "$cpu")
  # The prefix's services again, with our output closed (they would hold it open).
  "${pin[@]}" wine cmd /c exit 0 </dev/null >/dev/null 2>&1 || true
else
  pin=()
fi
cd "$build/bin"
"${pin[@]}" wine zqbench.exe "$@"
