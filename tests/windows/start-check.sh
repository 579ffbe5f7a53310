#!/usr/bin/env bash
# The shipped zip as a pharmacy gets it: unpacked into a fresh folder, brentoval.exe started under
# wine with the real windows platform on a private X server, the way Explorer starts it
# (ShellExecute from a process without a console); no console window opens, the splash shows, then
# the main window, and brentoval.db and bvamil.mdb appear beside the program. The exe is a GUI
# program and Windows reads its version resource. Leaves screenshots.
#   start-check.sh ZIP WORK_DIR SCREENSHOT.png
#   (WINEPREFIX, SHELLOPEN and VERSIONINFO, the helper programs, from the environment)
set -euo pipefail
zip=$1 work=$2 shot=$3
if [ -z "${START_CHECK_DISPLAY:-}" ]; then
  exec xvfb-run -a -s "-screen 0 1024x768x24" env START_CHECK_DISPLAY=1 bash "$0" "$@"
fi
[ -f "$zip" ] || { echo "no $zip: make windows packs it"; exit 1; }
rm -rf "$work"
mkdir -p "$work"
unzip -q "$zip" -d "$work"
dir=$work/Brentoval
# Nothing from the build machine: the zip brings every DLL, plug-in and translation itself.
unset WINEPATH WINEQT_QPA_PLATFORM WINEQT_QPA_FONTDIR
cd "$dir"
subsystem=$(x86_64-w64-mingw32-objdump -p brentoval.exe | sed -n 's/^Subsystem[[:space:]]*//p')
[[ $subsystem == *"Windows GUI"* ]] || { echo "brentoval.exe is not a GUI program: $subsystem"; exit 1; }
echo "brentoval.exe: $subsystem"
# A wineserver left from the tests keeps its desktop on no display (or on an X server now gone);
# the program's windows must go to this one.
timeout 60 wineserver -w || true
version=$(wine "$VERSIONINFO" "$(winepath -w "$dir/brentoval.exe")" | tr -d '\r')
for want in CompanyName=Brentoval ProductName=Brentoval ProductVersion=9.00 FileVersion=9.00 \
            FixedProductVersion=9.0.0.0; do
  grep -qx "$want" <<<"$version" || { echo "version resource lacks $want: $version"; exit 1; }
done
echo "version resource: $(tr '\n' ' ' <<<"$version")"
log=$work/wine.log
wine "$SHELLOPEN" "$(winepath -w "$dir/brentoval.exe")" >"$log" 2>&1 &
pid=$!
trap 'wineserver -k 2>/dev/null || true; wait $pid 2>/dev/null || true' EXIT
# shellcheck source=tests/windows/x-windows.sh
source "$(dirname "$0")/x-windows.sh"

# Its caption turns to "BRENTO VAL  9.00" just before the main window comes.
waitFor splash 60 "grep -q '^BRENTO'"
echo "splash shown"
# Until the splash has painted, the screen is one colour and its PNG tiny.
for _ in $(seq 15); do
  shoot "${shot%.png}-splash.png"
  [ "$(stat -c %s "${shot%.png}-splash.png")" -gt 2000 ] && break
done
waitFor "main window" 30 mainShown
noConsole
echo "main window shown, no console window"
for f in brentoval.db bvamil.mdb; do
  [ -s "$dir/$f" ] || [ "$f" = bvamil.mdb -a -e "$dir/$f" ] || { echo "no $f beside the program"; exit 1; }
done
echo "brentoval.db and bvamil.mdb created beside brentoval.exe"
sleep 2
shoot "$shot"
echo "screenshot: $shot"
