#!/usr/bin/env bash
# Builds one installer package from the DLL and the Registry table that msi_registry wrote.
#   build-msi.sh ARCH(x86|x64) VERSION DLL REGISTRY.idt OUTPUT.msi
set -euo pipefail
[ $# -eq 5 ] || { echo "usage: build-msi.sh x86|x64 VERSION DLL REGISTRY.idt OUTPUT.msi" >&2; exit 2; }
arch=$1 version=$2 dll=$3 idt=$4 out=$5
here=$(cd "$(dirname "$0")" && pwd)
case "$arch" in
  x86) win64=no  programFiles=ProgramFilesFolder   guid=7E9A51C4-1578-4D85-842A-B8FE841C1974 ;;
  x64) win64=yes programFiles=ProgramFiles64Folder guid=B9339F5F-3CCC-4C4E-BC3C-516E99756BF8 ;;
  *) echo "build-msi.sh: unknown architecture $arch" >&2; exit 2 ;;
esac
mkdir -p "$(dirname "$out")"
rm -f "$out"
out=$(cd "$(dirname "$out")" && pwd)/$(basename "$out")
# wixl finds a source file only by a path relative to where it runs.
(cd "$(dirname "$dll")" &&
  wixl -a "$arch" -D Version="$version" -D Win64=$win64 -D ProgramFiles=$programFiles \
    -D ComponentGuid=$guid -D Dll="$(basename "$dll")" -o "$out" "$here/InkraSign.wxs")
# The package has no registry element of its own, so the two registry actions are added with the
# table, at their standard places in the sequence.
msibuild "$out" -i "$idt" \
  -q "INSERT INTO InstallExecuteSequence (Action, Sequence) VALUES ('RemoveRegistryValues', 2600)" \
  -q "INSERT INTO InstallExecuteSequence (Action, Sequence) VALUES ('WriteRegistryValues', 5000)"
