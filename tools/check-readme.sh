#!/usr/bin/env bash
# README.md against what it describes: its table of pictures against the main job's list
# (tools/main-job.pictures), and the host tool's commands and options in its "The host tool" section
# against those the tool's usage prints, both ways. Prints what differs and fails then.
# Usage: tools/check-readme.sh [build-dir]
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$top/build}
readme="$top/README.md"
rc=0

# The table rows the list makes, and those README.md has.
# shellcheck disable=SC2016  # the backquotes are the table's own
expected=$(sed -e '/^[[:space:]]*#/d' -e '/^[[:space:]]*$/d' "$top/tools/main-job.pictures" |
  sed -E 's/^([^|]*[^|[:space:]])[[:space:]]*\|[[:space:]]*(.*)$/| `out\/\1` | \2 |/')
actual=$(grep -E '^\| `out/' "$readme" || true)
if [ "$expected" != "$actual" ]; then
  echo "README.md's table of pictures differs from tools/main-job.pictures (< the list, > README.md):"
  diff <(echo "$expected") <(echo "$actual") || true
  rc=1
fi

# The usage the tool prints, and README.md's section on the tool.
# shellcheck source=tools/winenv.sh
[ -n "${WINEPREFIX:-}" ] || . "$top/tools/winenv.sh" "$build" null
usage=$(wine "$build/bin/zqhost.exe" </dev/null 2>/dev/null | tr -d '\r' || true)
[ -n "$usage" ] || { echo "zqhost.exe printed no usage"; exit 1; }
section=$(awk '/^## /{inside = ($0 == "## The host tool")} inside' "$readme")
[ -n "$section" ] || { echo "README.md has no section \"## The host tool\""; exit 1; }
words() {  # the commands ("zqhost <command>") and options ("--option") of a text, one a line
  grep -oE 'zqhost(\.exe)? [a-z]+|--[a-z][a-z-]*' | sed -E 's/^zqhost(\.exe)? //' | sort -u
}
only_usage=$(comm -23 <(words <<<"$usage") <(words <<<"$section"))
only_readme=$(comm -13 <(words <<<"$usage") <(words <<<"$section"))
if [ -n "$only_usage" ]; then
  echo "the host tool's usage names what README.md's \"The host tool\" does not:" "${only_usage//$'\n'/ }"
  rc=1
fi
if [ -n "$only_readme" ]; then
  echo "README.md's \"The host tool\" names what the host tool's usage does not:" "${only_readme//$'\n'/ }"
  rc=1
fi
[ "$rc" -ne 0 ] || echo "README.md agrees with tools/main-job.pictures and the host tool's usage"
exit $rc
