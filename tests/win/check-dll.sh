#!/usr/bin/env bash
# The built DLL exports exactly the five server entry points (DllInstall for per-user
# registration) and imports only system DLLs, so it loads in Office with nothing else installed.
set -euo pipefail
dll=$1 objdump=$2
dump=$("$objdump" -p "$dll")
exports=$(sed -n '/\[Ordinal\/Name Pointer\] Table/,/^$/p' <<<"$dump" | grep -E '^\s+\[ *[0-9]+\]' | awk '{print $NF}' | sort | tr '\n' ' ')
expected="DllCanUnloadNow DllGetClassObject DllInstall DllRegisterServer DllUnregisterServer "
if [ "$exports" != "$expected" ]; then
  echo "exports: '$exports', expected '$expected'"; exit 1
fi
system='^(kernel32|user32|gdi32|advapi32|ole32|oleaut32|comctl32|comdlg32|shell32|shlwapi|msvcrt|windowscodecs|winspool\.drv|version)(\.dll)?$'
bad=$(grep -oE 'DLL Name: .*' <<<"$dump" | cut -c11- | tr 'A-Z' 'a-z' | grep -vE "$system" || true)
if [ -n "$bad" ]; then
  echo "imports beyond the system DLLs: $bad"; exit 1
fi
# Per-user registration registers the type library for the user: on Windows, RegisterTypeLib
# ignores the per-user redirection (Wine does not), so only the import tells the two apart here.
for f in RegisterTypeLibForUser UnRegisterTypeLibForUser; do
  grep -qE "^\s+[0-9a-f]+\s+[0-9]+\s+$f\$" <<<"$dump" || { echo "no import of $f"; exit 1; }
done
echo "exports and imports as expected"
