#!/usr/bin/env bash
# Builds the benchmark program and runs it under Wine (headless). Not part of CI.
# Usage: bench/run.sh [build-dir] [host|open|pages|rules|convert|soak] [--reps N] [--threads N] [--seconds N]
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
cd "$build/bin"
wine zqbench.exe "$@"
