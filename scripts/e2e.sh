#!/usr/bin/env bash
# Runs the end-to-end suite of a build tree: a fresh Wine prefix of its own with its own
# wineserver, Xvfb when there is no display, then trm_e2e.exe against the tree's trm.exe.
# Screenshots become PNG files; with TRM_E2E_DOCS=1 the List, Month, Year and Options pictures
# of the sample dates (the last ones taken) are copied to docs/img/. Usage: scripts/e2e.sh BUILD_DIR [gtest arguments]
set -u
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:?usage: e2e.sh BUILD_DIR}" && pwd); shift
for f in trm.exe trm_e2e.exe; do
  [ -f "$build/$f" ] || { echo "e2e.sh: $build/$f is missing" >&2; exit 2; }
done

export WINEPREFIX="$build/e2e-prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
rm -rf "$WINEPREFIX"
mkdir -p "$WINEPREFIX"

# shellcheck source=scripts/xvfb.sh
. "$root/scripts/xvfb.sh"
trap stop_wine_and_xvfb EXIT
start_xvfb 1280x1024x24 || exit 2

wineserver -p
wineboot -i >/dev/null 2>&1

# The sample dates of a first look, for the last steps and the README's pictures.
rm -rf "$build/e2e-sample" && mkdir -p "$build/e2e-sample"
bash "$root/scripts/sample-dates.sh" >"$build/e2e-sample/trm.dat" || exit 2

cd "$build" || exit 2
timeout "${TRM_E2E_TIMEOUT:-900}" wine "$build/trm_e2e.exe" "$@"
rc=$?

shots="$build/e2e-shots"
if command -v convert >/dev/null; then
  for bmp in "$shots"/*.bmp; do
    [ -f "$bmp" ] && convert "$bmp" "${bmp%.bmp}.png" && rm -f "$bmp"
  done
fi
if [ "${TRM_E2E_DOCS:-0}" = 1 ]; then
  mkdir -p "$root/docs/img"
  for name in list month year options; do
    for pic in "$shots"/[0-9][0-9]-"$name".png; do
      if [ -f "$pic" ]; then cp "$pic" "$root/docs/img/$name.png"; fi
    done
  done
fi
exit $rc
