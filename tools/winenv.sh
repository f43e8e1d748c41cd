# Sourced: a throw-away Wine prefix under the build folder with the null display driver.
# Usage: . tools/winenv.sh <build-dir> [null|x11] [prefix-name]
zq_build=${1:?build dir}
zq_graphics=${2:-null}
export WINEPREFIX="$(cd "$zq_build" && pwd)/${3:-wineprefix}"
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
export WINEARCH=win64
if [ ! -f "$WINEPREFIX/.zq-ready" ]; then
  rm -rf "$WINEPREFIX"
  # A boot cut short leaves system programs out: boot again before the prefix counts as ready.
  zq_booted="$WINEPREFIX/drive_c/windows/system32/cmd.exe"
  for _ in 1 2; do
    [ -f "$zq_booted" ] && break
    wineboot -i >/dev/null 2>&1 || true
    wineserver -w
  done
  if [ -f "$zq_booted" ]; then touch "$WINEPREFIX/.zq-ready"
  else echo "winenv: the Wine prefix $WINEPREFIX did not boot completely" >&2; fi
fi
cur=$(wine reg query 'HKCU\Software\Wine\Drivers' /v Graphics 2>/dev/null | tr -d '\r' | awk '/Graphics/ {print $3}' || true)
if [ "$cur" != "$zq_graphics" ]; then
  if [ "$zq_graphics" = "x11" ]; then
    wine reg delete 'HKCU\Software\Wine\Drivers' /v Graphics /f >/dev/null 2>&1 || true
  else
    wine reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d "$zq_graphics" /f >/dev/null 2>&1
  fi
  wineserver -k || true
  wineserver -w || true
fi
# One server for all the test processes.
wineserver -p >/dev/null 2>&1 || true
# Start the prefix's services now, with our output closed: a service started by the first test
# would inherit CTest's pipe and keep it open after the test ends.
wine cmd /c exit 0 </dev/null >/dev/null 2>&1 || true
