#!/usr/bin/env bash
# Fuzzes every reader of stored or foreign input. Native targets (fuzz/*_fuzz.cpp, clang + libFuzzer
# with address and undefined-behaviour sanitisers) run for a bounded time each from the seed corpus
# in fuzz/corpus; the in-Wine mutation loop (fuzz/wine) feeds mutated sample helper files to the
# XML readers, the rule engine and the constraint rules; the in-Wine conversion loop drives the
# conversion interface from four threads with random tickets, devmodes and calls, then refuses each
# store of a run in turn. Any finding fails the run.
# Usage: tools/fuzz.sh [build-dir] [seconds per native target] [in-Wine inputs per 1,000]
#   CI: tools/fuzz.sh <build> 30 1000; a longer run: tools/fuzz.sh build 3600 20000
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=$(realpath -m "${1:-$top/build}")
seconds=${2:-30}
scale=${3:-1000}

need=()
command -v clang++ >/dev/null || need+=(clang)
ls /usr/lib/llvm-*/lib/clang/*/lib/linux/libclang_rt.fuzzer-x86_64.a >/dev/null 2>&1 || need+=(libclang-rt-dev)
if [ ${#need[@]} -gt 0 ]; then
  SUDO=""; [ "$(id -u)" -ne 0 ] && SUDO=sudo
  $SUDO apt-get update -q
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -q --no-install-recommends "${need[@]}"
fi

rc=0
native="$build/fuzz-native"
CC=clang CXX=clang++ cmake -S "$top/fuzz" -B "$native" -G Ninja >/dev/null
cmake --build "$native" >/dev/null
for exe in "$native"/fuzz_*; do
  target=${exe##*/fuzz_}
  work=$(mktemp -d)
  cp -r "$top/fuzz/corpus/$target/." "$work/" 2>/dev/null || true
  if "$exe" -max_total_time="$seconds" -print_final_stats=1 -artifact_prefix="$native/$target-" "$work" \
       >"$native/$target.log" 2>&1; then
    echo "ok    $target: $(grep -o 'stat::number_of_executed_units: [0-9]*' "$native/$target.log" | grep -o '[0-9]*$') inputs"
  else
    echo "FAIL  $target: see $native/$target.log and the input $native/$target-*"
    tail -30 "$native/$target.log"
    rc=1
  fi
  rm -rf "$work"
done

. "$top/tools/winenv.sh" "$build" null
cd "$build/bin"
for entry in helper:150 macros:2000 constraints:2000 events:300; do
  target=${entry%%:*}
  inputs=$(( ${entry##*:} * scale / 1000 ))
  if wine zqxmlfuzz.exe "$target" "$inputs" 1 >"$build/zqxmlfuzz-$target.log" 2>&1; then
    echo "ok    $(tr '\r' '\n' < "$build/zqxmlfuzz-$target.log" | grep -v '^input' | grep . | tail -1)"
  else
    echo "FAIL  $target: $(tr '\r' '\n' < "$build/zqxmlfuzz-$target.log" | grep . | tail -2 | tr '\n' ' ')"
    rc=1
  fi
done
inputs=$(( 400 * scale / 1000 ))
if wine zqconvfuzz.exe "$inputs" 4 1 >"$build/zqconvfuzz.log" 2>&1; then
  echo "ok    $(tr '\r' '\n' < "$build/zqconvfuzz.log" | grep '^conversions' | tail -1)"
else
  echo "FAIL  conversions: $(tr '\r' '\n' < "$build/zqconvfuzz.log" | grep -E 'FINDING|FAULT' | head -5 | tr '\n' ' ')"
  rc=1
fi
exit $rc
