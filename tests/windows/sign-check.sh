#!/usr/bin/env bash
# Signing as IT plugs in the group's certificate: a throw-away certificate made here, the program
# packed again with it into WORK (never into dist), and every signature checked against it: the
# exe, each DLL and plug-in, the setup and the uninstaller it carries.
#   sign-check.sh BUILD_DIR KIT_DIR WORK_DIR
set -euo pipefail
build=$1 kit=$2 work=$3
case $work in /*) ;; *) work=$PWD/$work ;; esac
cd "$(dirname "$0")/../.."
rm -rf "$work"
mkdir -p "$work/kept"
fail() { echo "FAIL: $*"; exit 1; }
head -c 24 /dev/urandom | base64 >"$work/pass.txt"
openssl req -x509 -newkey rsa:2048 -nodes -keyout "$work/key.pem" -out "$work/cert.pem" -days 2 \
  -subj "/CN=Brentoval throw-away test signer" -addext "extendedKeyUsage=codeSigning" 2>/dev/null
openssl pkcs12 -export -out "$work/test.pfx" -inkey "$work/key.pem" -in "$work/cert.pem" \
  -passout "file:$work/pass.txt"
# The signing script keeps a copy of what it signed when asked (the uninstaller exists only inside
# the setup once made).
cat >"$work/keep.sh" <<KEEP
#!/usr/bin/env bash
bash "$PWD/scripts/sign-windows.sh" "\$@" && for f in "\$@"; do cp "\$f" "$work/kept/\$(date +%s%N)-\$(basename "\$f")"; done
KEEP
PACK_ROOT=$work/package SIGN_PFX=$work/test.pfx SIGN_PASS_FILE=$work/pass.txt \
  bash scripts/pack-windows.sh "$build" "$kit" "$work/signed.zip" "$work/signed-setup.exe" >/dev/null
verify() { osslsigncode verify -CAfile "$work/cert.pem" -in "$1" >"$work/verify.log" 2>&1 || { cat "$work/verify.log"; fail "$1 is not signed by the test certificate"; }; }
n=0
while IFS= read -r -d '' f; do verify "$f"; n=$((n + 1)); done < <(find "$work/package/Brentoval" -type f \( -name '*.exe' -o -name '*.dll' \) -print0)
[ $n -ge 10 ] || fail "only $n programs and DLLs packed"
verify "$work/signed-setup.exe"
# The uninstaller: made again through the keeping script to see the bytes the setup carries.
SIGN_PFX=$work/test.pfx SIGN_PASS_FILE=$work/pass.txt makensis -V1 -DSTAGE="$work/package/Brentoval" -DFILES="$work/package/uninstall-files.nsh" \
  -DOUTFILE="$work/kept-setup.exe" -DSIGN="$work/keep.sh" packaging/windows/installer.nsi >/dev/null
kept=("$work"/kept/*)
[ ${#kept[@]} -eq 2 ] || fail "makensis had ${#kept[@]} files signed, not the uninstaller and the setup"
for f in "${kept[@]}"; do verify "$f"; done
# The shipped files were not touched.
if [ -f dist/brentoval-windows.zip ]; then
  unzip -p dist/brentoval-windows.zip Brentoval/brentoval.exe >"$work/shipped.exe"
  ! osslsigncode verify -CAfile "$work/cert.pem" -in "$work/shipped.exe" >/dev/null 2>&1 || fail "dist holds a test-signed program"
fi
echo "signed with a throw-away certificate and verified: $n programs and DLLs, the setup, the uninstaller"
