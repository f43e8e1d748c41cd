#!/usr/bin/env bash
# The product must load on Windows with nothing but system DLLs beside it.
set -euo pipefail
dll=${1:?dll}
imports=$(x86_64-w64-mingw32-objdump -p "$dll" | awk '/DLL Name:/ {print tolower($3)}')
echo "$imports"
if echo "$imports" | grep -E -q 'libstdc|libgcc|libwinpthread'; then
  echo "compiler runtime DLL imported by $dll" >&2
  exit 1
fi
exports=$(x86_64-w64-mingw32-objdump -p "$dll" | sed -n '/\[Ordinal\/Name Pointer\] Table/,/^$/p')
for name in DllGetClassObject DllCanUnloadNow; do
  echo "$exports" | grep -q "$name" || { echo "$name not exported" >&2; exit 1; }
done
