#!/usr/bin/env bash
# Builds and runs every benchmark: the native ones, then the Windows ones under Wine in a prefix
# of their own (inside Xvfb when there is no display). Each prints its figures.
set -u
cd "$(dirname "$0")/.."
root=$(pwd)
bash scripts/setup.sh || exit 1
cmake -S . -B build/native -DCMAKE_BUILD_TYPE=Release >/dev/null && cmake --build build/native -j"$(nproc)" >/dev/null || exit 1
cmake -S . -B build/win -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64.cmake" -DCMAKE_BUILD_TYPE=Release >/dev/null \
  && cmake --build build/win -j"$(nproc)" >/dev/null || exit 1
for b in build/native/native_*; do
  [ -x "$b" ] || continue
  echo "== $(basename "$b")"
  "$b"
done
export WINEPREFIX="$root/build/win/bench-prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
# shellcheck source=scripts/xvfb.sh
. scripts/xvfb.sh
start_xvfb 1280x1024x24 || exit 1
[ -d "$WINEPREFIX" ] || wineboot -i >/dev/null 2>&1
wineserver -p >/dev/null 2>&1 &
mkdir -p build/win/benchrun
for b in build/win/win_*.exe; do
  echo "== $(basename "$b")"
  (cd build/win/benchrun && wine "$root/$b" "$(winepath -w "$root/build/win" 2>/dev/null)")
done
wineserver -k >/dev/null 2>&1
stop_xvfb
exit 0
