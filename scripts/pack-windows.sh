#!/usr/bin/env bash
# Packs the Windows program with what it needs beside it into one zip: a folder Brentoval with
# brentoval.exe, the Qt and MinGW DLLs, the plug-ins, Qt's Arabic translations and the two readmes.
set -euo pipefail
build=$1 kit=$2 zip=$3
root=$build/package
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
mkdir -p "$(dirname "$zip")"
rm -f "$zip"
zip_abs=$(cd "$(dirname "$zip")" && pwd)/$(basename "$zip")
# Under a UTF-8 locale the Arabic file name goes in as UTF-8 with the flag Windows' unzipper reads
# (Info-ZIP's zip leaves that flag off).
(cd "$root" && LC_ALL=C.UTF-8 cmake -E tar cf "$zip_abs" --format=zip Brentoval)
echo "packed $zip ($(du -k "$zip" | cut -f1) KB)"
