#!/usr/bin/env bash
# The main job: set up, build, and load the plug-in the way the core driver does.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$top/build}
"$top/tools/setup.sh"
"$top/tools/build.sh" "$build"
. "$top/tools/winenv.sh" "$build" null
cd "$build/bin"
wine zqhost.exe report zqoemui.dll | tr -d '\r'
