#!/usr/bin/env bash
# Runs a build tree's Windows test program under Wine (its own prefix, Xvfb when there is no
# display). Usage: scripts/wine-tests.sh BUILD_DIR [gtest arguments]
set -u
here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "$1" && pwd); shift
export TRM_WINEPREFIX="${TRM_WINEPREFIX:-$build/wineprefix}"
export WINEPREFIX="$TRM_WINEPREFIX" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
# shellcheck source=scripts/xvfb.sh
. "$here/xvfb.sh"
start_xvfb 1280x1024x24 || exit 1
[ -d "$WINEPREFIX" ] || wineboot -i >/dev/null 2>&1
mkdir -p "$build/testrun"
cd "$build/testrun"
timeout "${TRM_TEST_TIMEOUT:-300}" wine "$build/trm_win_tests.exe" "$@"
rc=$?
stop_xvfb
exit $rc
