#!/usr/bin/env bash
# Installs what the build and the tests need on a fresh Debian machine (idempotent).
set -euo pipefail
need=()
command -v x86_64-w64-mingw32-g++-posix >/dev/null || need+=(g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 mingw-w64-x86-64-dev)
command -v x86_64-w64-mingw32-widl >/dev/null || need+=(mingw-w64-tools)
command -v wine >/dev/null || need+=(wine wine64)
command -v cmake >/dev/null || need+=(cmake)
command -v ninja >/dev/null || need+=(ninja-build)
[ -f /usr/src/googletest/CMakeLists.txt ] || need+=(googletest)
command -v Xvfb >/dev/null || need+=(xvfb xauth)
command -v python3 >/dev/null || need+=(python3)
# The right-to-left run of the tests makes a Hebrew locale beside the build.
{ command -v localedef >/dev/null && [ -f /usr/share/i18n/locales/he_IL ]; } || need+=(locales)
if [ ${#need[@]} -gt 0 ]; then
  SUDO=""; [ "$(id -u)" -ne 0 ] && SUDO=sudo
  $SUDO apt-get update -q
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -q --no-install-recommends "${need[@]}"
fi
