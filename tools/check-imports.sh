#!/usr/bin/env bash
# The product must load on Windows with nothing but system DLLs beside it.
set -euo pipefail
dll=${1:?dll}
imports=$(x86_64-w64-mingw32-objdump -p "$dll" | awk '/DLL Name:/ {print tolower($3)}')
echo "$imports"
if grep -E -q 'libstdc|libgcc|libwinpthread' <<<"$imports"; then
  echo "compiler runtime DLL imported by $dll" >&2
  exit 1
fi
# Spooler calls are resolved at run time (oemui/platform/zqspooler.h): Wine's spooler lacks some,
# and a missing static import would keep the DLL from loading at all.
if grep -q 'winspool' <<<"$imports"; then
  echo "$dll imports the spooler statically; call it through zqspool::Spooler()" >&2
  exit 1
fi
exports=$(x86_64-w64-mingw32-objdump -p "$dll" | sed -n '/\[Ordinal\/Name Pointer\] Table/,/^$/p')
for name in DllGetClassObject DllCanUnloadNow InitializeConvertAPI ReadTicket ConvertTicket ConvertTicketEx \
  ConvertDevmode ConvertDevModeEx KillConvertAPI GetConvertAPIVersion; do
  grep -qw "$name" <<<"$exports" || { echo "$name not exported" >&2; exit 1; }
done
