#!/usr/bin/env bash
# Fuzzes every reader of stored or foreign input. Native targets (fuzz/*_fuzz.cpp, clang + libFuzzer
# with address and undefined-behaviour sanitisers) run from the seed corpus in fuzz/corpus, one per
# core at a time, each for its share of one budget: the seconds per target times the targets, in
# core-seconds, so a run makes as many inputs on 2 cores as on 8, in four times the wall time. The
# in-Wine mutation loop (fuzz/wine) feeds mutated sample helper files to the XML readers, the rule
# engine and the constraint rules; the in-Wine conversion loop drives the conversion interface from
# four threads with random tickets, devmodes and calls, then refuses each store of a run in turn;
# the in-Wine loops run side by side, each in a prefix of the build's pool (tools/wine-pool.sh).
# Any finding fails the run.
# Usage: tools/fuzz.sh [build-dir] [core-seconds per native target] [in-Wine inputs per 1,000]
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
jobs=$(nproc)
native="$build/fuzz-native"
[ -f "$native/build.ninja" ] || CC=clang CXX=clang++ cmake -S "$top/fuzz" -B "$native" -G Ninja >/dev/null
cmake --build "$native" >/dev/null

# One native target from its seed corpus; its exit code in <target>.rc beside its log.
fuzz_native() {
  local exe=$1 target=${1##*/fuzz_} work
  work=$(mktemp -d)
  cp -r "$top/fuzz/corpus/$target/." "$work/" 2>/dev/null || true
  local status=0
  "$exe" -max_total_time="$seconds" -print_final_stats=1 -artifact_prefix="$native/$target-" "$work" \
    >"$native/$target.log" 2>&1 || status=$?
  echo "$status" >"$native/$target.rc"
  rm -rf "$work"
}
targets=("$native"/fuzz_*)
for exe in "${targets[@]}"; do
  while [ "$(jobs -rp | wc -l)" -ge "$jobs" ]; do wait -n || true; done
  fuzz_native "$exe" &
done
wait
for exe in "${targets[@]}"; do
  target=${exe##*/fuzz_}
  if [ "$(cat "$native/$target.rc")" = 0 ]; then
    echo "ok    $target: $(grep -o 'stat::number_of_executed_units: [0-9]*' "$native/$target.log" | grep -o '[0-9]*$') inputs"
  else
    echo "FAIL  $target: see $native/$target.log and the input $native/$target-*"
    tail -30 "$native/$target.log"
    rc=1
  fi
done

# The in-Wine loops, each in a prefix of its own: "<log> <program> <arguments...>".
loops=()
for entry in helper:150 macros:2000 constraints:2000 events:300; do
  target=${entry%%:*}
  loops+=("zqxmlfuzz-$target zqxmlfuzz.exe $target $(( ${entry##*:} * scale / 1000 )) 1")
done
loops+=("zqconvfuzz zqconvfuzz.exe $(( 400 * scale / 1000 )) 4 1")
slots=$(( jobs < ${#loops[@]} ? jobs : ${#loops[@]} ))
mapfile -t prefixes < <("$top/tools/wine-pool.sh" "$build" "$slots")
. "$top/tools/winenv.sh" "$build" null
cd "$build/bin"
# Slot i runs loops i, i + slots, ... one after another; its exit codes in <log>.rc.
for ((i = 0; i < slots; i++)); do
  (
    for ((j = i; j < ${#loops[@]}; j += slots)); do
      read -r log program args <<<"${loops[$j]}"
      status=0
      # shellcheck disable=SC2086  # the arguments are words
      WINEPREFIX="$build/${prefixes[$i]}" wine "$program" $args >"$build/$log.log" 2>&1 || status=$?
      echo "$status" >"$build/$log.rc"
    done
  ) &
done
wait
for entry in helper macros constraints events; do
  log="$build/zqxmlfuzz-$entry.log"
  if [ "$(cat "$build/zqxmlfuzz-$entry.rc")" = 0 ]; then
    echo "ok    $(tr '\r' '\n' < "$log" | grep -v '^input' | grep . | tail -1)"
  else
    echo "FAIL  $entry: $(tr '\r' '\n' < "$log" | grep . | tail -2 | tr '\n' ' ')"
    rc=1
  fi
done
if [ "$(cat "$build/zqconvfuzz.rc")" = 0 ]; then
  echo "ok    $(tr '\r' '\n' < "$build/zqconvfuzz.log" | grep '^conversions' | tail -1)"
else
  echo "FAIL  conversions: $(tr '\r' '\n' < "$build/zqconvfuzz.log" | grep -E 'FINDING|FAULT' | head -5 | tr '\n' ' ')"
  rc=1
fi
for prefix in "${prefixes[@]}"; do WINEPREFIX="$build/$prefix" wineserver -k >/dev/null 2>&1 || true; done
exit $rc
