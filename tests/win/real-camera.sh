#!/usr/bin/env bash
# The scan from Wine's own camera source (gphoto2.ds over libgphoto2's mass-storage camera): a
# tmpfs holding DCIM/ is mounted in a mount namespace of its own, and the test runs there in a
# copy of the prefix whose Wine server starts inside that namespace too (the server opens the
# files Wine programs ask for, so it must see the mount). Skipped, with the reason, where Wine has
# no gphoto2.ds or the machine does not let a folder be mounted.
#   real-camera.sh WIN_TESTS.exe
set -uo pipefail
skip() { echo "real camera: skipped: $*"; exit 77; }
top=$(cd "$(dirname "$0")/../.." && pwd)
tests=$(realpath "$1")
ls /usr/lib/*/wine/i386-windows/gphoto2.ds >/dev/null 2>&1 || skip "Wine has no 32-bit gphoto2.ds"
command -v unshare >/dev/null || skip "no unshare to make a mount namespace"
unshare -m sh -c 'mount -t tmpfs -o size=1m none /mnt' 2>/dev/null ||
  skip "this machine does not allow mounting a folder (unshare -m and mount -t tmpfs were refused)"
"$top/scripts/wine-prefix" init >/dev/null
prefix="$(dirname "$tests")/camera-wine"
if [ ! -f "$prefix/.camera-ready" ]; then
  rm -rf "$prefix"
  cp -a "$top/build/wine" "$prefix"
  rm -f "$prefix"/wineserver* 2>/dev/null || true
  touch "$prefix/.camera-ready"
fi
export WINEPREFIX="$prefix" WINEARCH=win64 WINEDEBUG=${INKRA_CAMERA_WINEDEBUG:--all} WINEDLLOVERRIDES="mscoree,mshtml="
wineserver -k 2>/dev/null
camera=$(mktemp -d /tmp/inkra-camera.XXXXXX)
trap 'rmdir "$camera" 2>/dev/null' EXIT
CAMERA="$camera" TESTS="$tests" timeout 240 unshare -m sh -c '
  mount -t tmpfs -o size=16m inkra-camera "$CAMERA" || exit 77
  INKRA_CAMERA_FOLDER="$CAMERA" wine "$TESTS" --gtest_filter=BoardScan.RealCamera*
  code=$?
  wineserver -k 2>/dev/null
  exit $code'
