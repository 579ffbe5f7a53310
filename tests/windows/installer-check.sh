#!/usr/bin/env bash
# The installer as an IT person and a pharmacy use it, under wine on a private X server:
#  1. silent install (/S): the program in %LOCALAPPDATA%\Programs\Brentoval, Arabic-named shortcuts
#     in the Start menu and on the desktop, the uninstall entry;
#  2. the program started from its Start-menu shortcut: the main window, data made beside it;
#  3. an upgrade (/S again) over that copy: program files restored, the data byte for byte the same;
#  4. silent uninstall: the program, shortcuts and entry gone, the data kept;
#  5. install and uninstall with /REMOVEDATA: nothing left.
#   installer-check.sh SETUP.exe WORK_DIR SCREENSHOT.png  (WINEPREFIX, SHELLOPEN from the environment)
set -euo pipefail
setup=$1 work=$2 shot=$3
if [ -z "${INSTALLER_CHECK_DISPLAY:-}" ]; then
  exec xvfb-run -a -s "-screen 0 1024x768x24" env INSTALLER_CHECK_DISPLAY=1 bash "$0" "$@"
fi
[ -f "$setup" ] || { echo "no $setup: make windows makes it"; exit 1; }
here=$(cd "$(dirname "$0")" && pwd)
unset WINEPATH WINEQT_QPA_PLATFORM WINEQT_QPA_FONTDIR
rm -rf "$work"
mkdir -p "$work"
log=$work/wine.log
fail() { echo "FAIL: $*"; exit 1; }
timeout 60 wineserver -w || true
trap 'wineserver -k 2>/dev/null || true' EXIT

unixPath() { winepath -u "$(wine cmd /c echo "$1" | tr -d '\r"')" 2>/dev/null; }
dir=$(unixPath '%LOCALAPPDATA%\Programs\Brentoval')
menu=$(unixPath '%APPDATA%\Microsoft\Windows\Start Menu\Programs')
desktop=$(unixPath '%USERPROFILE%\Desktop')
key='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Brentoval'
shortcut="برنتوفال.lnk"
rm -rf "$dir"
wine reg delete "$key" /f >/dev/null 2>&1 || true
# Waits until the wine processes of a step have ended (an uninstaller runs on from a copy in %TEMP%).
settle() { timeout 120 wineserver -w || fail "wine did not settle"; }
install() { wine "$setup" /S >>"$log" 2>&1 || fail "the installer failed"; settle; }

# 1. Silent install.
install
for f in brentoval.exe uninstall.exe Qt6Core.dll platforms/qwindows.dll licenses/Qt/LGPL-3.txt \
         licenses/MinGW-runtime/gcc-runtime-libraries.txt licenses/libxlsxwriter/License.txt; do
  [ -f "$dir/$f" ] || fail "installed copy lacks $f"
done
[ -f "$menu/$shortcut" ] || fail "no Start-menu shortcut $shortcut in $menu: $(ls "$menu")"
[ -f "$desktop/$shortcut" ] || fail "no desktop shortcut $shortcut"
entry=$(wine reg query "$key" 2>/dev/null | tr -d '\r')
for want in "DisplayVersion.*9.00" "Publisher.*Brentoval" "UninstallString.*uninstall.exe" "QuietUninstallString.*/S"; do
  grep -q "$want" <<<"$entry" || fail "uninstall entry lacks $want: $entry"
done
echo "installed silently in $dir, shortcuts and uninstall entry there"

# 2. Started from the Start-menu shortcut, as a click on it does.
# The shell follows the link and starts the program itself, so the helper ends at once (0 when the
# shell took it); the main window must then come.
wine "$SHELLOPEN" "$(winepath -w "$menu/$shortcut")" >"$log" 2>&1 || fail "the shell did not open the shortcut"
sleep 600 &
pid=$!
# shellcheck source=tests/windows/x-windows.sh
source "$here/x-windows.sh"
waitFor "main window" 90 mainShown
echo "main window shown from the shortcut"
sleep 2
shoot "$shot"
wineserver -k 2>/dev/null || true
kill $pid
[ -s "$dir/brentoval.db" ] && [ -e "$dir/bvamil.mdb" ] || fail "no data beside the installed program"

# 3. Upgrade over a copy with data, the database's journal files included.
head -c 4096 /dev/urandom >"$dir/brentoval.db-wal"
head -c 32768 /dev/urandom >"$dir/brentoval.db-shm"
head -c 1280 /dev/urandom >"$dir/bvamil.mdb"
data=(brentoval.db brentoval.db-wal brentoval.db-shm bvamil.mdb)
(cd "$dir" && sha256sum "${data[@]}") >"$work/data.sha256"
: >"$dir/Qt6Core.dll" # a damaged program file, which the upgrade must put right
install
(cd "$dir" && sha256sum -c --quiet "$work/data.sha256") || fail "the upgrade changed the data"
[ -s "$dir/Qt6Core.dll" ] || fail "the upgrade did not renew the program files"
echo "upgraded: program files renewed, data byte for byte the same"

# 4. Silent uninstall keeps the data.
wine "$dir/uninstall.exe" /S >>"$log" 2>&1 || fail "the uninstaller failed"
settle
for f in brentoval.exe uninstall.exe Qt6Core.dll platforms licenses; do
  [ ! -e "$dir/$f" ] || fail "$f is still there after uninstalling"
done
[ ! -e "$menu/$shortcut" ] && [ ! -e "$desktop/$shortcut" ] || fail "a shortcut is left"
! wine reg query "$key" >/dev/null 2>&1 || fail "the uninstall entry is left"
(cd "$dir" && sha256sum -c --quiet "$work/data.sha256") || fail "uninstalling changed the data"
echo "uninstalled: program, shortcuts and entry gone; left: $(cd "$dir" && ls | tr '\n' ' ')"

# 5. Asked to, the uninstaller removes the data and the folder too.
install
wine "$dir/uninstall.exe" /S /REMOVEDATA >>"$log" 2>&1 || fail "the uninstaller failed"
settle
[ ! -e "$dir" ] || fail "left after uninstalling with /REMOVEDATA: $(ls -A "$dir")"
echo "uninstalled with /REMOVEDATA: the folder is gone"
