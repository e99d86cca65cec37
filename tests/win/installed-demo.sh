#!/usr/bin/env bash
# The package installed for every user, then the Word stand-in started as Word starts: it must
# find the add-in under the machine's Office key, load it from the installed file, and the scripted
# signature must land in its document. The package is removed again whatever happened.
#   installed-demo.sh PACKAGE.msi DEMO.exe
set -uo pipefail
top=$(cd "$(dirname "$0")/../.." && pwd)
eval "$("$top/scripts/wine-prefix" env)"
package=$(winepath -w "$1")
demo=$(winepath -w "$2")
out=$(mktemp -d)
trap 'wine msiexec /x "$package" /qn ALLUSERS=1; rm -rf "$out"' EXIT
wine msiexec /i "$package" /qn ALLUSERS=1 || { echo "installed-demo: the install failed"; exit 1; }
log=$(wine "$demo" --script --out "$(winepath -w "$out")" 2>&1)
echo "$log"
# The tests' null graphics driver captures no screenshot; the insertion is what is checked.
grep -q '^demo: connected MSOAddIn.WordAddIn' <<<"$log" && grep -q '^demo: inserted' <<<"$log"
