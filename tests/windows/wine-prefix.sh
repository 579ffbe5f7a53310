#!/usr/bin/env bash
# Makes the private wine prefix the Windows test programs run in: Windows 10 (Qt 6 needs it), no
# Mono or Gecko offers. Kept between runs; a prefix that finished once is reused as it is.
set -euo pipefail
prefix=$1
export WINEPREFIX=$prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
if [ -f "$prefix/.brentoval-ready" ]; then
  exit 0
fi
rm -rf "$prefix"
mkdir -p "$prefix"
wineboot -i >/dev/null 2>&1
wine reg add 'HKCU\Software\Wine' /v Version /d win10 /f >/dev/null 2>&1
wineserver -w
touch "$prefix/.brentoval-ready"
echo "wine prefix ready: $prefix ($(wine --version))"
