#!/usr/bin/env bash
# Sets up, builds and runs every test: native (plain and sanitized), fuzz smoke runs, and the
# Windows side under Wine in a fresh prefix inside Xvfb.
set -u
cd "$(dirname "$0")/.."
root=$(pwd)
bash scripts/setup.sh || exit 1
jobs=$(nproc)
fail=0
step() { echo "== $*"; }

step layer check
/usr/bin/python3 scripts/check_layers.py || fail=1

step native build
cmake -S . -B build/native -DCMAKE_BUILD_TYPE=Release >/dev/null && cmake --build build/native -j"$jobs" || exit 1
(cd build/native && ctest --output-on-failure) || fail=1

step sanitizer build
cmake -S . -B build/asan -DCMAKE_BUILD_TYPE=Debug -DTRM_SANITIZE=ON >/dev/null && cmake --build build/asan -j"$jobs" || exit 1
(cd build/asan && ctest --output-on-failure) || fail=1

if ls tests/fuzz/fuzz_*.cpp >/dev/null 2>&1; then
  step fuzz smoke runs
  CC=clang CXX=clang++ cmake -S . -B build/fuzz -DCMAKE_BUILD_TYPE=Debug -DTRM_FUZZ=ON >/dev/null \
    && cmake --build build/fuzz -j"$jobs" || exit 1
  bash scripts/fuzz.sh "${TRM_FUZZ_SECONDS:-10}" || fail=1
fi

step windows build
cmake -S . -B build/win -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64.cmake" -DCMAKE_BUILD_TYPE=Release >/dev/null \
  && cmake --build build/win -j"$jobs" || exit 1

step windows tests under wine
export TRM_WINEPREFIX="$root/build/win/wineprefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
export WINEPREFIX="$TRM_WINEPREFIX"
# shellcheck source=scripts/xvfb.sh
. scripts/xvfb.sh
start_xvfb 1280x1024x24 || exit 1
rm -rf "$TRM_WINEPREFIX"
wineboot -i >/dev/null 2>&1
wineserver -p >/dev/null 2>&1 &
(cd build/win && ctest --output-on-failure) || fail=1
wineserver -k >/dev/null 2>&1
stop_xvfb

if [ $fail -ne 0 ]; then echo "== some tests FAILED"; else echo "== all tests passed"; fi
exit $fail
