#!/usr/bin/env bash
# Sets up, builds and starts Termaris. Without Windows and a display it runs under Wine inside
# Xvfb, takes a screenshot after a few seconds and says where it went.
set -u
cd "$(dirname "$0")/.."
root=$(pwd)
bash scripts/setup.sh || exit 1
cmake -S . -B build/win -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64.cmake" -DCMAKE_BUILD_TYPE=Release >/dev/null \
  && cmake --build build/win -j"$(nproc)" --target trm || exit 1
[ -f build/win/trm.chm ] || cmake --build build/win --target trm_help >/dev/null 2>&1
run_dir="${TRM_RUN_DIR:-$root/build/run}"
mkdir -p "$run_dir"
export WINEPREFIX="${TRM_WINEPREFIX:-$root/build/run-prefix}" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
[ -d "$WINEPREFIX" ] || wineboot -i >/dev/null 2>&1
cd "$run_dir"
if [ -n "${DISPLAY:-}" ]; then
  exec wine "$root/build/win/trm.exe"
fi
# shellcheck source=scripts/xvfb.sh
. "$root/scripts/xvfb.sh"
start_xvfb 1024x768x24 || exit 1
wine "$root/build/win/trm.exe" &
app=$!
sleep "${TRM_SHOT_AFTER:-6}"
import -window root "$run_dir/shot.png" && echo "screenshot: $run_dir/shot.png"
if [ -n "${TRM_KEEP_RUNNING:-}" ]; then
  echo "Termaris runs on DISPLAY=$DISPLAY (Xvfb); stop it with: kill $app $XVFB_PID"
  wait $app
else
  wineserver -k >/dev/null 2>&1
  stop_xvfb
fi
