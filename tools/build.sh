#!/usr/bin/env bash
# Configures and builds everything with the mingw-w64 toolchain. Usage: tools/build.sh [build-dir]
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$top/build}
# Configured once: the build itself configures again when a CMakeLists.txt changes.
if [ ! -f "$build/build.ninja" ]; then
  cmake -S "$top" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_TOOLCHAIN_FILE="$top/cmake/mingw-w64-x86_64.cmake" >/dev/null
fi
cmake --build "$build"
