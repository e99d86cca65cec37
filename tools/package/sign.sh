#!/usr/bin/env bash
# Signs one file (a DLL or an MSI) in place with Authenticode, SHA-256, when a certificate is given:
#   INKRA_SIGN_PFX            the code-signing certificate and its key, a PKCS#12 (.pfx) file
#   INKRA_SIGN_PASSWORD       its password
#   INKRA_SIGN_TIMESTAMP_URL  optional: an RFC 3161 time-stamp server, so the signature stays
#                             valid after the certificate expires
#   INKRA_HELP_URL            optional: the publisher's web page, shown in the signature's details
# Without INKRA_SIGN_PFX the file stays unsigned, and the script says so.
#   sign.sh FILE
set -euo pipefail
[ $# -eq 1 ] || { echo "usage: sign.sh FILE" >&2; exit 2; }
file=$1
if [ -z "${INKRA_SIGN_PFX:-}" ]; then
  echo "sign.sh: $(basename "$file") left unsigned (INKRA_SIGN_PFX is not set)"
  exit 0
fi
[ -r "$INKRA_SIGN_PFX" ] || { echo "sign.sh: cannot read the certificate $INKRA_SIGN_PFX" >&2; exit 1; }
extra=()
[ -n "${INKRA_SIGN_TIMESTAMP_URL:-}" ] && extra+=(-ts "$INKRA_SIGN_TIMESTAMP_URL")
[ -n "${INKRA_HELP_URL:-}" ] && extra+=(-i "$INKRA_HELP_URL")
signed="$file.signing"
rm -f "$signed"
# The password goes through a pipe, never on a command line that other users can list.
printf '%s' "${INKRA_SIGN_PASSWORD:-}" |
  osslsigncode sign -pkcs12 "$INKRA_SIGN_PFX" -readpass - -h sha256 \
    -n "InkraSign" "${extra[@]}" -in "$file" -out "$signed" >/dev/null
mv -f "$signed" "$file"
echo "sign.sh: $(basename "$file") signed"
