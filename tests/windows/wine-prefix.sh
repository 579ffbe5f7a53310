#!/usr/bin/env bash
# Makes the private wine prefix the Windows test programs run in: Windows 10 (Qt 6 needs it), no
# Mono or Gecko offers, Tahoma installed as on Windows, and the user's Desktop and document folders as folders of the prefix (wine
# links them to the host's home, where an installer's shortcuts do not belong). Kept between runs;
# a prefix that finished once is reused as it is.
set -euo pipefail
prefix=$1
export WINEPREFIX=$prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
if [ -f "$prefix/.brentoval-ready-3" ]; then
  exit 0
fi
rm -rf "$prefix"
mkdir -p "$prefix"
wineboot -i >/dev/null 2>&1
wine reg add 'HKCU\Software\Wine' /v Version /d win10 /f >/dev/null 2>&1
# Tahoma in the Windows font folder, where every Windows 10/11 has it: without it wine's GDI lists
# no Tahoma and the windows platform falls back to some host face.
cp /usr/share/wine/fonts/tahoma.ttf /usr/share/wine/fonts/tahomabd.ttf "$prefix/drive_c/windows/Fonts/"
for link in "$prefix"/drive_c/users/*/*; do
  if [ -L "$link" ]; then rm "$link" && mkdir "$link"; fi
done
wineserver -w
touch "$prefix/.brentoval-ready-3"
echo "wine prefix ready: $prefix ($(wine --version))"
