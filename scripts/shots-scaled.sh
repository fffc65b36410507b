#!/usr/bin/env bash
# Pictures of trm.exe at a display scale other than 100 % for the README: a fresh Wine prefix of
# its own with LogPixels set (read when the wine server starts), Xvfb, the sample dates, then the
# List, Month and Year tabs and the Options dialog. Usage: scripts/shots-scaled.sh BUILD_DIR [DPI]
# (default 144, that is 150 %); the pictures go to docs/img/<name>-<percent>.png.
set -u
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:?usage: shots-scaled.sh BUILD_DIR [DPI]}" && pwd)
dpi=${2:-144}
percent=$((dpi * 100 / 96))
[ -f "$build/trm.exe" ] || { echo "shots-scaled.sh: $build/trm.exe is missing" >&2; exit 2; }

export WINEPREFIX="$build/shots-$dpi-prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
rm -rf "$WINEPREFIX"
# shellcheck source=scripts/xvfb.sh
. "$root/scripts/xvfb.sh"
trap stop_wine_and_xvfb EXIT
start_xvfb 1280x1024x24 || exit 2
wineboot -i >/dev/null 2>&1
wine reg add "HKCU\\Control Panel\\Desktop" /v LogPixels /t REG_DWORD /d "$dpi" /f >/dev/null 2>&1
wineserver -k >/dev/null 2>&1
wineserver -w
wineserver -p

work="$build/shots-$dpi-run"
rm -rf "$work" && mkdir -p "$work" "$root/docs/img"
bash "$root/scripts/sample-dates.sh" >"$work/trm.dat"
# The media file as an installed program has it, not the build folder.
wine reg add "HKCU\\Software\\Orvandel\\Trm" /ve /d "C:\\Program Files\\Termaris\\ring.mp3" /f >/dev/null 2>&1
cd "$work" || exit 2
wine "$build/trm.exe" &

frame=""
for _ in $(seq 1 60); do
  frame=$(xdotool search --name "Termaris" 2>/dev/null | head -1)
  [ -n "$frame" ] && break
  sleep 0.5
done
[ -n "$frame" ] || { echo "shots-scaled.sh: no Termaris window" >&2; exit 1; }

# Figures at 96 DPI of the tab strip (its captions' centres), scaled like the program scales them.
px() { echo $(($1 * dpi / 96)); }
tab_y=$(($(px 50)))
shoot() {
  sleep 2
  import -window "$1" "$root/docs/img/$2-$percent.png" && echo "docs/img/$2-$percent.png"
}
click_tab() {
  xdotool mousemove --window "$frame" "$(px "$1")" "$tab_y" click 1
}
sleep 2
shoot "$frame" list
click_tab 63 && shoot "$frame" month
click_tab 108 && shoot "$frame" year
click_tab 18
# View > Options from the keyboard: the menu bar, two menus to the right, the last item.
xdotool key --window "$frame" F10 Right Right Down Up Return
sleep 2
dialog=$(xdotool search --name "^Options$" 2>/dev/null | head -1)
[ -n "$dialog" ] && shoot "$dialog" options
