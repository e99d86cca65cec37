#!/usr/bin/env bash
# The windows at 150 % and 200 % display scaling. Wine takes the screen's dpi from the prefix's
# LogPixels when a process starts, and its headless driver has only a 1024 x 768 screen, too small
# for a board at 200 %; so the checks (the tests named AtDpi*, which skip in ordinary runs) run in
# a copy of the prefix on the X11 driver, on a 2560 x 1600 Xvfb screen, once per dpi.
#   at-dpi.sh WIN_TESTS.exe
set -uo pipefail
top=$(cd "$(dirname "$0")/../.." && pwd)
tests=$(realpath "$1")
"$top/scripts/wine-prefix" init >/dev/null
prefix="$(dirname "$tests")/dpi-wine"
if [ ! -f "$prefix/.dpi-ready" ]; then
  rm -rf "$prefix"
  cp -a "$top/build/wine" "$prefix"
  rm -f "$prefix"/wineserver* 2>/dev/null || true
  touch "$prefix/.dpi-ready"
fi
export WINEPREFIX="$prefix" WINEARCH=win64 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
wine reg delete 'HKCU\Software\Wine\Drivers' /v Graphics /f >/dev/null 2>&1 || true
# Xvfb runs no window manager: a window Wine hands to one waits a second for it at each show and
# hide. Unmanaged, Wine frames and places its windows itself, as Windows does.
wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
wineserver -w
report=$(mktemp -d)
trap 'rm -rf "$report"; wineserver -k 2>/dev/null' EXIT
failed=0
for dpi in 144 192; do
  wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d $dpi /f >/dev/null 2>&1
  wineserver -w
  INKRA_TEST_DPI=$dpi timeout 240 xvfb-run -a -s "-screen 0 2560x1600x24" \
    wine "$tests" '--gtest_filter=*AtDpi*' "--gtest_output=json:Z:${report//\//\\}\\$dpi.json"
  code=$?
  wineserver -k 2>/dev/null
  # A filter that matched nothing passes too: the run must have had checks in it.
  count=$(grep -o '"tests": [0-9]*' "$report/$dpi.json" 2>/dev/null | head -n 1 | grep -o '[0-9]*$')
  echo "at-dpi: $dpi dpi: exit $code, ${count:-0} tests"
  if [ "$code" -ne 0 ] || [ "${count:-0}" -lt 4 ]; then failed=1; fi
done
wine reg delete 'HKCU\Control Panel\Desktop' /v LogPixels /f >/dev/null 2>&1
exit $failed
