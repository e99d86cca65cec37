#!/usr/bin/env bash
# Builds one installer package from the DLL and the Registry table that msi_registry wrote. The
# DLL, then the package, are signed when a certificate is given (sign.sh says how).
#   build-msi.sh ARCH(x86|x64) VERSION DLL REGISTRY.idt OUTPUT.msi FILE-VERSION ICON
# FILE-VERSION is the DLL's own four-part version, for the installer's file comparison.
# INKRA_HELP_URL, when set, is the support link that Programs and Features shows.
set -euo pipefail
[ $# -eq 7 ] || { echo "usage: build-msi.sh x86|x64 VERSION DLL REGISTRY.idt OUTPUT.msi FILE-VERSION ICON" >&2; exit 2; }
arch=$1 version=$2 dll=$3 idt=$4 out=$5 fileVersion=$6 icon=$7
here=$(cd "$(dirname "$0")" && pwd)
# Each architecture is its own product: its own upgrade code, and the other's to refuse.
x86Upgrade=9EF41448-D1AE-43CB-84A4-2BA98A32E374
x64Upgrade=4A0C3E55-7B41-4F0B-9C59-2E8D6A1F3B07
case "$arch" in
  x86) win64=no  programFiles=ProgramFilesFolder   guid=7E9A51C4-1578-4D85-842A-B8FE841C1974
       upgrade=$x86Upgrade other=$x64Upgrade otherName=64-bit view=0 ;;
  x64) win64=yes programFiles=ProgramFiles64Folder guid=B9339F5F-3CCC-4C4E-BC3C-516E99756BF8
       upgrade=$x64Upgrade other=$x86Upgrade otherName=32-bit view=16 ;;
  *) echo "build-msi.sh: unknown architecture $arch" >&2; exit 2 ;;
esac
mkdir -p "$(dirname "$out")"
rm -f "$out"
out=$(cd "$(dirname "$out")" && pwd)/$(basename "$out")
stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
# The DLL is signed before it goes into the package, so the file installed is the file signed.
cp "$dll" "$stage/MSOAddIn.dll"
cp "$icon" "$stage/InkraSign.ico"
"$here/sign.sh" "$stage/MSOAddIn.dll"
# wixl finds a source file only by a path relative to where it runs.
(cd "$stage" &&
  wixl -a "$arch" -D Version="$version" -D UpgradeCode=$upgrade -D Win64=$win64 -D ProgramFiles=$programFiles \
    -D ComponentGuid=$guid -D Dll=MSOAddIn.dll -D Icon=InkraSign.ico -o "$out" "$here/InkraSign.wxs")

perMachine='(ALLUSERS=1 OR (ALLUSERS=2 AND NOT MSIINSTALLPERUSER))'
wordServer='Software\Classes\CLSID\{811CC9C8-001E-407A-90B4-6B16A017C5BB}\InprocServer32'
queries=(
  # The package has no registry element of its own, so the two registry actions are added with
  # the table, at their standard places in the sequence; so are the searches below.
  "INSERT INTO InstallExecuteSequence (Action, Sequence) VALUES ('RemoveRegistryValues', 2600)"
  "INSERT INTO InstallExecuteSequence (Action, Sequence) VALUES ('WriteRegistryValues', 5000)"
  "INSERT INTO InstallExecuteSequence (Action, Sequence) VALUES ('AppSearch', 50)"
  "INSERT INTO InstallUISequence (Action, Sequence) VALUES ('AppSearch', 50)"
  # Dual purpose: per user by default, with no elevation; ALLUSERS=1 (or MSIINSTALLPERUSER="")
  # installs for the machine, and Windows asks for elevation.
  "DELETE FROM Property WHERE Property = 'ALLUSERS'"
  "INSERT INTO Property (Property, Value) VALUES ('ALLUSERS', '2')"
  "INSERT INTO Property (Property, Value) VALUES ('MSIINSTALLPERUSER', '1')"
  # A rebuilt package of the same version replaces the installed one instead of going beside it.
  "DELETE FROM Upgrade WHERE ActionProperty = 'WIX_UPGRADE_DETECTED'"
  "INSERT INTO Upgrade (UpgradeCode, VersionMax, Attributes, ActionProperty) VALUES ('{$upgrade}', '$version', 513, 'WIX_UPGRADE_DETECTED')"
  # The installer compares the DLL by its version resource.
  "UPDATE File SET Version = '$fileVersion' WHERE File = 'MSOAddIn.dll'"
  # The other architecture's package, any version, in this install's context: refused. The two
  # share the user's Office keys, so removing one would take the add-in away from the other.
  "INSERT INTO Upgrade (UpgradeCode, VersionMin, Attributes, ActionProperty) VALUES ('{$other}', '0.0.0', 258, 'INKRAOTHERARCH')"
  "INSERT INTO LaunchCondition (Condition, Description) VALUES ('Installed OR NOT INKRAOTHERARCH', 'The $otherName InkraSign is installed. Remove it in Settings > Apps first: install the one that matches the bitness of Office.')"
  # A copy registered in the other scope: the user's classes win over the machine's, so a second
  # copy of another version could leave the wrong DLL loading. The second install says so.
  "INSERT INTO RegLocator (Signature_, Root, \`Key\`, Type) VALUES ('UserCopy', 1, '$wordServer', $((2 + view)))"
  "INSERT INTO RegLocator (Signature_, Root, \`Key\`, Type) VALUES ('MachineCopy', 2, '$wordServer', $((2 + view)))"
  "INSERT INTO AppSearch (Property, Signature_) VALUES ('INKRAUSERCOPY', 'UserCopy')"
  "INSERT INTO AppSearch (Property, Signature_) VALUES ('INKRAMACHINECOPY', 'MachineCopy')"
  # The other architecture's machine-wide copy, in its own registry view: the user's classes and
  # Office keys, which both architectures read, would hide it.
  "INSERT INTO RegLocator (Signature_, Root, \`Key\`, Type) VALUES ('OtherMachineCopy', 2, '$wordServer', $((2 + 16 - view)))"
  "INSERT INTO AppSearch (Property, Signature_) VALUES ('INKRAMACHINECOPY', 'OtherMachineCopy')"
  "INSERT INTO LaunchCondition (Condition, Description) VALUES ('Installed OR NOT ($perMachine AND INKRAUSERCOPY)', 'InkraSign is installed for your user account. Remove it in Settings > Apps first, then install it for every user.')"
  "INSERT INTO LaunchCondition (Condition, Description) VALUES ('Installed OR $perMachine OR NOT INKRAMACHINECOPY', 'InkraSign is installed for every user of this computer. Ask the administrator to update that copy.')"
)
secure=(INKRAOTHERARCH INKRAUSERCOPY INKRAMACHINECOPY)

# The user's LoadBehavior survives an upgrade: each Office key's value is read before the older
# package goes, and written back instead of the registration's default. A repair of the installed
# package (msiexec /fum) still writes the default: that is how a disabled add-in is switched on.
while IFS=$'\t' read -r id key value; do
  app=$(sed -E 's/^Software\\Microsoft\\Office\\([A-Za-z]+)\\.*/\1/' <<<"$key" | tr a-z A-Z)
  prop="${app}LOADBEHAVIOR"
  for scope in USER:1 MACHINE:2; do
    where=${scope%:*} hive=${scope#*:}
    condition="NOT Installed AND NOT $perMachine"
    [ "$where" = MACHINE ] && condition="NOT Installed AND $perMachine"
    queries+=(
      "INSERT INTO RegLocator (Signature_, Root, \`Key\`, Name, Type) VALUES ('${prop}$where', $hive, '$key', 'LoadBehavior', $((2 + view)))"
      "INSERT INTO AppSearch (Property, Signature_) VALUES ('${prop}$where', '${prop}$where')"
      "INSERT INTO CustomAction (Action, Type, Source, Target) VALUES ('Keep${prop}$where', 51, '$prop', '[${prop}$where]')"
      "INSERT INTO InstallExecuteSequence (Action, Condition, Sequence) VALUES ('Keep${prop}$where', '$condition AND ${prop}$where', 60)"
      "INSERT INTO InstallUISequence (Action, Condition, Sequence) VALUES ('Keep${prop}$where', '$condition AND ${prop}$where', 60)"
    )
    secure+=("${prop}$where")
  done
  queries+=(
    "INSERT INTO Property (Property, Value) VALUES ('$prop', '$value')"
    "UPDATE Registry SET Value = '[$prop]' WHERE Registry = '$id'"
  )
  secure+=("$prop")
done < <(tr -d '\r' <"$idt" | awk -F'\t' 'NR > 3 && $4 == "LoadBehavior" {print $1 "\t" $3 "\t" $5}')

# Programs and Features: the support link, when there is one.
if [ -n "${INKRA_HELP_URL:-}" ]; then
  queries+=("INSERT INTO Property (Property, Value) VALUES ('ARPHELPLINK', '$INKRA_HELP_URL')")
fi
# Properties set in the user's part of a per-machine install reach the part that runs elevated.
current=$(msiinfo export "$out" Property | awk -F'\t' '$1 == "SecureCustomProperties" {print $2}')
queries+=("UPDATE Property SET Value = '$current;$(IFS=';'; echo "${secure[*]}")' WHERE Property = 'SecureCustomProperties'")

msibuild "$out" -i "$idt"
for q in "${queries[@]}"; do
  msibuild "$out" -q "$q" >/dev/null 2>&1 || { echo "build-msi.sh: failed: $q" >&2; exit 1; }
done
"$here/sign.sh" "$out"
