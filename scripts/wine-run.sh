#!/usr/bin/env bash
# Runs a Windows program under Wine in the build tree's own prefix, never the user's.
set -u
exe="$1"; shift
if [ -z "${TRM_WINEPREFIX:-}" ]; then
  TRM_WINEPREFIX="$(cd "$(dirname "$exe")" && pwd)/wineprefix"
fi
export WINEPREFIX="$TRM_WINEPREFIX" WINEDEBUG="${WINEDEBUG:--all}" WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
exec wine "$exe" "$@"
