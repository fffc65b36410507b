#!/usr/bin/env bash
# Takes the README picture of a notification: starts a build tree's trm.exe under Wine (a prefix
# of its own, Xvfb when there is no display) on a date file whose entries are due, waits for
# the notification and writes docs/img/notification.png.
# Usage: scripts/notification-shot.sh BUILD_DIR
set -u
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:?usage: notification-shot.sh BUILD_DIR}" && pwd)
work="$build/notification-shot"
rm -rf "$work"
mkdir -p "$work" "$root/docs/img"
day() { date -d "$1" +%Y.%m.%d; }
tab=$'\t'
{
  echo "$(day '-3 days')${tab}Fri${tab}14:30${tab}Return the library books${tab}0"
  echo "$(day yesterday)${tab}Mon${tab}09:00-10:00${tab}Dentist, Dr. Lindqvist${tab}0"
  echo "$(day yesterday)${tab}Mon${tab}${tab}Birthday card for Anna${tab}0"
  echo "$(day today)${tab}Tue${tab}00:00${tab}Call the bank${tab}0"
  echo "$(day '+3 days')${tab}Fri${tab}12:00${tab}Team lunch${tab}0"
} > "$work/trm.dat"

export WINEPREFIX="$build/notification-prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
# shellcheck source=scripts/xvfb.sh
. "$root/scripts/xvfb.sh"
start_xvfb 1024x768x24 || exit 1
[ -d "$WINEPREFIX" ] || wineboot -i >/dev/null 2>&1
cd "$work" || exit 1
wine "$build/trm.exe" >/dev/null 2>&1 &
# Wine shows a notification as a tool tip about two seconds after it was asked for.
sleep "${TRM_SHOT_AFTER:-6}"
import -window root -crop 560x460+0+0 +repage "$root/docs/img/notification.png" && echo "picture: docs/img/notification.png"
wineserver -k >/dev/null 2>&1
stop_xvfb
