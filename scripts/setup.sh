#!/usr/bin/env bash
# Installs what building and testing need on a Debian machine; does nothing when all is there.
set -eu
need=()
have() { command -v "$1" >/dev/null 2>&1; }
have x86_64-w64-mingw32-g++-posix || need+=(mingw-w64)
have wine || need+=(wine64 wine)
have Xvfb || need+=(xvfb)
have cmake || need+=(cmake)
have g++ || need+=(g++)
have clang++ || need+=(clang)
ls /usr/lib/llvm-*/lib/clang/*/lib/linux/libclang_rt.fuzzer-x86_64.a >/dev/null 2>&1 || need+=(libclang-rt-dev)
have import || need+=(imagemagick)
have xdotool || need+=(xdotool)
have chmcmd || need+=(fp-utils)
# Python's icalendar reads the exported files; dateutil works out recurrences for the tests.
/usr/bin/python3 -c 'import icalendar' >/dev/null 2>&1 || need+=(python3-icalendar)
/usr/bin/python3 -c 'import dateutil' >/dev/null 2>&1 || need+=(python3-dateutil)
# sox makes the alert sound, lame encodes it as MP3.
have sox || need+=(sox)
have lame || need+=(lame)
[ -f /usr/src/googletest/CMakeLists.txt ] || need+=(googletest)
[ -f /usr/lib/x86_64-linux-gnu/libgtest.a ] || [ -f /usr/lib/libgtest.a ] || need+=(libgtest-dev)
if [ ${#need[@]} -gt 0 ]; then
  SUDO=""; [ "$(id -u)" -eq 0 ] || SUDO=sudo
  echo "setup: installing ${need[*]}"
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq "${need[@]}" >/dev/null
fi
