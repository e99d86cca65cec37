#!/usr/bin/env bash
# Signing as a release build does it, with a throwaway code-signing certificate: the DLL inside
# the package and the package itself verify with osslsigncode, a byte changed afterwards breaks
# each signature, and without a certificate the package still builds, unsigned, and says so.
#   package-signing.sh BUILD-MSI DLL REGISTRY.idt FILE-VERSION ICON
set -euo pipefail
build_msi=$1 dll=$2 idt=$3 file_version=$4 icon=$5
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
fail() { echo "FAIL: $*"; exit 1; }

openssl req -x509 -newkey rsa:2048 -nodes -keyout key.pem -out cert.pem -days 2 -subj "/CN=InkraSign Test/O=InkraSoft" \
  -addext "keyUsage=critical,digitalSignature" -addext "extendedKeyUsage=codeSigning" 2>/dev/null
openssl pkcs12 -export -inkey key.pem -in cert.pem -out cert.pfx -passout pass:'s3cret pass'

verify() { osslsigncode verify -CAfile cert.pem -in "$1" >"$1.verify" 2>&1; }

# Unsigned: no certificate given.
out=$(env -u INKRA_SIGN_PFX "$build_msi" x86 1.0 "$dll" "$idt" unsigned.msi "$file_version" "$icon")
[ -f unsigned.msi ] || fail "no package built without a certificate"
grep -q "unsigned.msi left unsigned" <<<"$out" || fail "the unsigned build does not say so: $out"
verify unsigned.msi && fail "an unsigned package verifies"

# Signed with the certificate.
INKRA_SIGN_PFX=$work/cert.pfx INKRA_SIGN_PASSWORD='s3cret pass' \
  "$build_msi" x86 1.0 "$dll" "$idt" signed.msi "$file_version" "$icon" >/dev/null
verify signed.msi || { cat signed.msi.verify; fail "the signed package does not verify"; }
grep -q "SHA256" signed.msi.verify || fail "the package's digest is not SHA-256"
mkdir shipped
msiextract -C shipped signed.msi >/dev/null
shipped_dll=$(find shipped -iname MSOAddIn.dll)
[ -n "$shipped_dll" ] || fail "no DLL in the package"
verify "$shipped_dll" || { cat "$shipped_dll.verify"; fail "the DLL in the package does not verify"; }
grep -q "SHA256" "$shipped_dll.verify" || fail "the DLL's digest is not SHA-256"
# The signature was added to the file built, nothing else changed: unsigned, it is the same file.
osslsigncode remove-signature -in "$shipped_dll" -out stripped.dll >/dev/null
cmp -s stripped.dll "$dll" || fail "the signed DLL differs from the built one beyond its signature"

# One byte changed in the code of the DLL, one property of the package changed: both fail.
cp "$shipped_dll" tampered.dll
printf '\x90' | dd of=tampered.dll bs=1 seek=$((0x1100)) conv=notrunc status=none
cmp -s tampered.dll "$shipped_dll" && printf '\xcc' | dd of=tampered.dll bs=1 seek=$((0x1100)) conv=notrunc status=none
verify tampered.dll && fail "a DLL changed after signing still verifies"
cp signed.msi tampered.msi
msibuild tampered.msi -q "UPDATE Property SET Value = '9.9' WHERE Property = 'ProductVersion'"
verify tampered.msi && fail "a package changed after signing still verifies"

# A wrong password stops the build rather than shipping unsigned files.
INKRA_SIGN_PFX=$work/cert.pfx INKRA_SIGN_PASSWORD=wrong \
  "$build_msi" x86 1.0 "$dll" "$idt" wrong.msi "$file_version" "$icon" >/dev/null 2>&1 &&
  fail "a wrong password still built a package"
echo "signed DLL and package verify; tampered copies fail; the unsigned build packages"
