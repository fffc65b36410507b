#!/usr/bin/env bash
# Sets up, builds and starts Termaris in the folder build/run. A run folder without a trm.dat
# gets the sample dates of docs/sample.dat, written around today. Without a display it runs
# under Wine inside Xvfb, waits until the main window is shown, takes a screenshot and says
# where it went.
set -u
cd "$(dirname "$0")/.."
root=$(pwd)
bash scripts/setup.sh || exit 1
cmake -S . -B build/win -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64.cmake" -DCMAKE_BUILD_TYPE=Release >/dev/null \
  && cmake --build build/win -j"$(nproc)" --target trm || exit 1
run_dir="${TRM_RUN_DIR:-$root/build/run}"
mkdir -p "$run_dir"
if [ ! -e "$run_dir/trm.dat" ]; then
  bash scripts/sample-dates.sh >"$run_dir/trm.dat" && echo "sample dates: $run_dir/trm.dat"
fi
export WINEPREFIX="${TRM_WINEPREFIX:-$root/build/run-prefix}" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
cd "$run_dir"
if [ -n "${DISPLAY:-}" ]; then
  [ -d "$WINEPREFIX" ] || wineboot -i >/dev/null 2>&1
  exec wine "$root/build/win/trm.exe"
fi
# shellcheck source=scripts/xvfb.sh
. "$root/scripts/xvfb.sh"
start_xvfb 1024x768x24 || exit 1
# The prefix is made with the display there: Wine's desktop process, started by the boot, serves
# every later window, and one started without a display would never show them.
[ -d "$WINEPREFIX" ] || wineboot -i >/dev/null 2>&1
wine "$root/build/win/trm.exe" &
app=$!
# The window is there once Wine has mapped it (a first start in a new prefix takes a while);
# its first paint follows within a moment.
limit=${TRM_WINDOW_WAIT:-120}
if ! timeout "$limit" xdotool search --sync --onlyvisible --name Termaris >/dev/null 2>&1; then
  echo "run.sh: the Termaris window did not appear within $limit seconds" >&2
  stop_wine_and_xvfb
  exit 1
fi
sleep "${TRM_SETTLE:-2}"
import -window root "$run_dir/shot.png" && echo "screenshot: $run_dir/shot.png"
if [ -n "${TRM_KEEP_RUNNING:-}" ]; then
  echo "Termaris runs on DISPLAY=$DISPLAY (Xvfb); stop it with: kill $app $XVFB_PID"
  wait $app
else
  stop_wine_and_xvfb
fi
