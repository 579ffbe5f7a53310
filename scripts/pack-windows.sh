#!/usr/bin/env bash
# Packs the Windows program with what it needs beside it into one zip: a folder Brentoval with
# brentoval.exe, the Qt and MinGW DLLs, the plug-ins, Qt's Arabic translations, the licences of what
# ships and the two readmes; then the same folder as a per-user installer (SETUP, default
# brentoval-<version>-setup.exe beside the zip, the version the installer script names).
set -euo pipefail
build=$1 kit=$2 zip=$3
# PACK_ROOT: where the folder is put together (default BUILD/package); the signing check packs
# test-signed copies elsewhere.
version=$(sed -n 's/^!define VERSION "\(.*\)"/\1/p' packaging/windows/installer.nsi)
setup=${4:-$(dirname "$zip")/brentoval-$version-setup.exe}
root=${PACK_ROOT:-$build/package}
stage=$root/Brentoval
rm -rf "$root"
mkdir -p "$stage/translations"
x86_64-w64-mingw32-strip -o "$stage/brentoval.exe" "$build/src/brentoval.exe"
bash "$kit/share/mingw-kit/mingw-deploy.sh" -k "$kit" -p "platforms sqldrivers styles" \
     "$stage/brentoval.exe" >/dev/null
# The test platforms are of no use to a pharmacy; Debian's MinGW run-time DLLs carry symbols.
rm -f "$stage/platforms/qoffscreen.dll" "$stage/platforms/qminimal.dll"
x86_64-w64-mingw32-strip --strip-unneeded "$stage"/lib*.dll
cp /usr/share/qt6/translations/qtbase_ar.qm "$stage/translations/"
# Notepad on older Windows wants CR LF; the Arabic readme carries a BOM so it opens as UTF-8.
for f in packaging/windows/*.txt; do
  out=$stage/$(basename "$f")
  case $f in *README.txt) : > "$out" ;; *) printf '\xef\xbb\xbf' > "$out" ;; esac
  sed 's/$/\r/' "$f" >> "$out"
done
# The licences of everything shipped beside the program, as Debian has them.
lic=$stage/licenses
mkdir -p "$lic/Qt" "$lic/MinGW-runtime" "$lic/SQLite" "$lic/libxlsxwriter" "$lic/zlib"
crlf() { sed 's/$/\r/' "$1" > "$2"; }
crlf /usr/share/common-licenses/LGPL-3 "$lic/Qt/LGPL-3.txt"
crlf /usr/share/common-licenses/GPL-3 "$lic/Qt/GPL-3.txt"
crlf /usr/share/doc/libqt6core6/copyright "$lic/Qt/copyright.txt"
crlf /usr/share/doc/gcc-mingw-w64-base/copyright "$lic/MinGW-runtime/gcc-runtime-libraries.txt"
crlf /usr/share/doc/mingw-w64-common/copyright "$lic/MinGW-runtime/mingw-w64-winpthreads.txt"
crlf /usr/share/doc/libsqlite3-0/copyright "$lic/SQLite/copyright.txt"
crlf "$kit/share/licenses/libxlsxwriter/License.txt" "$lic/libxlsxwriter/License.txt"
crlf "$kit/share/licenses/zlib/copyright" "$lic/zlib/copyright.txt"
crlf packaging/windows/licenses/README.txt "$lic/README.txt"
# The two changes the kit made to Qt's source, as the LGPL asks of a modified library.
mkdir -p "$lic/Qt/patches"
for p in "$kit"/share/mingw-kit/patches/*.patch; do crlf "$p" "$lic/Qt/patches/$(basename "$p")"; done
# Signed when a certificate is given (scripts/sign-windows.sh): the program, every DLL and plug-in.
mapfile -t binaries < <(find "$stage" -type f \( -name '*.exe' -o -name '*.dll' \) | sort)
bash scripts/sign-windows.sh "${binaries[@]}"
mkdir -p "$(dirname "$zip")"
rm -f "$zip"
zip_abs=$(cd "$(dirname "$zip")" && pwd)/$(basename "$zip")
# Under a UTF-8 locale the Arabic file name goes in as UTF-8 with the flag Windows' unzipper reads
# (Info-ZIP's zip leaves that flag off).
(cd "$root" && LC_ALL=C.UTF-8 cmake -E tar cf "$zip_abs" --format=zip Brentoval)
echo "packed $zip ($(du -k "$zip" | cut -f1) KB)"

# The uninstaller removes exactly the files packed here, then the folders they leave empty.
list=$root/uninstall-files.nsh
{
  printf '\xef\xbb\xbf'
  (cd "$stage" && find . -type f | sort | sed 's|^\./||; s|/|\\|g; s|.*|  Delete "$INSTDIR\\&"|')
  (cd "$stage" && find . -mindepth 1 -type d | sort -r | sed 's|^\./||; s|/|\\|g; s|.*|  RMDir "$INSTDIR\\&"|')
} > "$list"
abs() { echo "$(cd "$(dirname "$1")" && pwd)/$(basename "$1")"; }
mkdir -p "$(dirname "$setup")"
rm -f "$setup"
sign=()
if [ -n "${SIGN_PFX:-}${SIGN_PKCS11_MODULE:-}" ]; then
  sign=(-DSIGN="$(abs scripts/sign-windows.sh)")
fi
makensis -V2 -DSTAGE="$(abs "$stage")" -DFILES="$(abs "$list")" -DOUTFILE="$(abs "$setup")" "${sign[@]}" \
         packaging/windows/installer.nsi >"$root/makensis.log" 2>&1 || { cat "$root/makensis.log"; exit 1; }
echo "packed $setup ($(du -k "$setup" | cut -f1) KB)"
