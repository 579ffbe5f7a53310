#!/usr/bin/env bash
# Signs Windows files in place with osslsigncode (Authenticode, SHA-256) when a certificate is
# given, and does nothing otherwise:
#   SIGN_PFX=group.pfx SIGN_PASS_FILE=pass.txt               a PKCS#12 file and its password's file
#   SIGN_PKCS11_MODULE=/usr/lib/.../opensc-pkcs11.so SIGN_PKCS11_KEY='pkcs11:…' SIGN_CERT=cert.pem
#                                                            a key on a token, its certificate
#   SIGN_TIMESTAMP=http://timestamp.example                  an RFC 3161 time-stamp server (optional)
#   sign-windows.sh FILE...
set -euo pipefail
if [ -z "${SIGN_PFX:-}" ] && [ -z "${SIGN_PKCS11_MODULE:-}" ]; then
  exit 0
fi
args=(-h sha256 -n "Brentoval")
if [ -n "${SIGN_PFX:-}" ]; then
  args+=(-pkcs12 "$SIGN_PFX")
  # The password from a file, never on a command line others can read.
  [ -z "${SIGN_PASS_FILE:-}" ] || args+=(-readpass "$SIGN_PASS_FILE")
else
  args+=(-pkcs11module "$SIGN_PKCS11_MODULE" -key "${SIGN_PKCS11_KEY:?the key on the token}" -certs "${SIGN_CERT:?the certificate}")
  [ -z "${SIGN_PKCS11_ENGINE:-}" ] || args+=(-pkcs11engine "$SIGN_PKCS11_ENGINE")
  [ -z "${SIGN_PASS_FILE:-}" ] || args+=(-readpass "$SIGN_PASS_FILE")
fi
[ -z "${SIGN_TIMESTAMP:-}" ] || args+=(-ts "$SIGN_TIMESTAMP")
for f in "$@"; do
  osslsigncode sign "${args[@]}" -in "$f" -out "$f.signed" >/dev/null
  mv -f "$f.signed" "$f"
done
echo "signed $# file(s)"
