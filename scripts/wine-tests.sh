#!/usr/bin/env bash
# Runs a build tree's Windows test program under Wine (its own prefix, Xvfb when there is no
# display). Usage: scripts/wine-tests.sh BUILD_DIR [gtest arguments]
set -u
build=$(cd "$1" && pwd); shift
export TRM_WINEPREFIX="${TRM_WINEPREFIX:-$build/wineprefix}"
export WINEPREFIX="$TRM_WINEPREFIX" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
xvfb=""
if [ -z "${DISPLAY:-}" ]; then
  num=$(( 100 + RANDOM % 400 ))
  export DISPLAY=:$num
  Xvfb ":$num" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
  xvfb=$!
  sleep 1
fi
[ -d "$WINEPREFIX" ] || wineboot -i >/dev/null 2>&1
mkdir -p "$build/testrun"
cd "$build/testrun"
timeout "${TRM_TEST_TIMEOUT:-300}" wine "$build/trm_win_tests.exe" "$@"
rc=$?
[ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null
exit $rc
