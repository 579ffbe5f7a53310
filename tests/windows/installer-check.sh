#!/usr/bin/env bash
# The installer as an IT person and a pharmacy use it, under wine on a private X server:
#  1. silent install (/S) with connection flags: the program in %LOCALAPPDATA%\Programs\Brentoval,
#     Arabic-named shortcuts in the Start menu and on the desktop (none there with /NODESKTOP), the
#     uninstall entry, the connection values stored by the program with the password sealed, a log
#     without the password;
#  2. the program started from its Start-menu shortcut: the main window, data made beside it; while
#     it runs, a silent upgrade and a silent uninstall end with exit code 3 and change nothing;
#  3. an upgrade (/S again) over that copy: program files restored, the data byte for byte the same;
#  4. silent uninstall: the program, shortcuts and entry gone, the data kept;
#  5. install and uninstall with /REMOVEDATA, waited on (_?=): nothing left but the uninstaller,
#     which goes at the next start of Windows;
#  6. /ALLUSERS: Program Files, the entry and shortcuts for all users, the user's data in
#     %LOCALAPPDATA%\Brentoval, the connection values in the machine's settings; then removed.
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
install() { wine "$setup" /S "$@" >>"$log" 2>&1 || fail "the installer failed"; settle; }
setuplog=$(unixPath '%TEMP%')/brentoval-setup.log
settings=$(unixPath '%LOCALAPPDATA%')/Brentoval/connection.ini
rm -f "$settings"

# 1. Silent install, first without a desktop shortcut and with connection values, as IT gives them
# on a command line (through a batch file, so that wine passes the line as typed).
pwd='Ph@rma$2026 a;b}{ .dsn/x'
printf '@"%s" /S /NODESKTOP /SERVER=sql.dsnet.local /DATABASE="ph db" /PWD="%s" /EXTRA=Encrypt=yes;ServerSPN=MSSQLSvc/x\r\n@exit %%ERRORLEVEL%%\r\n' \
  "$(winepath -w "$setup")" "$pwd" >"$work/install.bat"
wine cmd /c "$(winepath -w "$work/install.bat")" >>"$log" 2>&1 || fail "the installer with connection flags failed"
settle
[ -f "$menu/$shortcut" ] && [ ! -e "$desktop/$shortcut" ] || fail "/NODESKTOP: shortcuts $(ls "$menu" "$desktop")"
[ -f "$settings" ] || fail "no connection settings at $settings"
grep -q '^server=sql.dsnet.local' "$settings" && grep -q '^database=ph db' "$settings" &&
  grep -q '^extra="Encrypt=yes;ServerSPN=MSSQLSvc/x"' "$settings" || fail "connection settings: $(cat "$settings")"
grep -q '^password="\?dpapi:' "$settings" || fail "the password is not sealed: $(cat "$settings")"
for f in "$settings" "$setuplog"; do
  ! iconv -f utf-16 -t utf-8 "$f" 2>/dev/null | grep -qF 'Ph@rma' && ! grep -qF 'Ph@rma' "$f" ||
    fail "the password in plain text in $f"
done
iconv -f utf-16 -t utf-8 "$setuplog" | grep -q '^done' || fail "install log: $(iconv -f utf-16 -t utf-8 "$setuplog")"
# The settings were made for the embedded build's test: the rest of the check runs without them.
rm -f "$settings"
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
# While the program runs, neither an upgrade nor an uninstall may change a file.
(cd "$dir" && find . -type f -exec sha256sum {} +) >"$work/running.sha256"
rc=0; wine "$setup" /S >>"$log" 2>&1 || rc=$?
[ $rc -eq 3 ] || fail "a silent upgrade over the running program ended with $rc, not 3"
rc=0; wine "$dir/uninstall.exe" /S "_?=$(winepath -w "$dir")" >>"$log" 2>&1 || rc=$?
[ $rc -eq 3 ] || fail "a silent uninstall of the running program ended with $rc, not 3"
(cd "$dir" && sha256sum -c --quiet "$work/running.sha256") || fail "files changed while the program ran"
echo "while the program ran: upgrade and uninstall refused with exit code 3, nothing changed"
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
# Waited on: when wine returns, all is done but the uninstaller itself, which a restart removes.
wine "$dir/uninstall.exe" /S /REMOVEDATA "_?=$(winepath -w "$dir")" >>"$log" 2>&1 || fail "the uninstaller failed"
[ "$(ls -A "$dir")" = uninstall.exe ] || fail "left after a waited uninstall with /REMOVEDATA: $(ls -A "$dir")"
wineboot -r >>"$log" 2>&1
settle
[ ! -e "$dir" ] || fail "left after the restart: $(ls -A "$dir")"
echo "uninstalled with /REMOVEDATA, waited on: the folder is gone after a restart"

# 6. For all users (wine's user is an administrator).
all=$(unixPath '%ProgramFiles%')/Brentoval
userdata=$(unixPath '%LOCALAPPDATA%')/Brentoval
machine=$(unixPath '%ProgramData%')/Brentoval/connection.ini
allkey='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Brentoval'
commonmenu=$(unixPath '%ProgramData%\Microsoft\Windows\Start Menu\Programs')
rm -rf "$all" "$userdata/brentoval.db" "$machine"
wine "$setup" /S /ALLUSERS /SERVER=sql.group.local >>"$log" 2>&1 || fail "the all-users install failed"
settle
[ -f "$all/brentoval.exe" ] && [ -f "$all/all-users.txt" ] || fail "nothing in $all"
[ ! -e "$dir/brentoval.exe" ] || fail "the all-users install went to the user's folder"
wine reg query "$allkey" >/dev/null 2>&1 || fail "no all-users uninstall entry"
[ -f "$commonmenu/$shortcut" ] || fail "no Start-menu shortcut for all users in $commonmenu"
grep -q '^server=sql.group.local' "$machine" || fail "the connection values are not in the machine's settings"
rm -f "$machine" # the program is to start on its embedded database
wine "$SHELLOPEN" "$(winepath -w "$commonmenu/$shortcut")" >"$log" 2>&1 || fail "the shell did not open the shortcut"
sleep 600 &
pid=$!
waitFor "main window" 90 mainShown
wineserver -k 2>/dev/null || true
kill $pid
[ -s "$userdata/brentoval.db" ] && [ -e "$userdata/bvamil.mdb" ] || fail "no data in the user's folder $userdata: $(ls "$userdata")"
[ ! -e "$all/brentoval.db" ] || fail "data made in Program Files"
# _?= takes the rest of the line unquoted (the folder has a blank): typed through a batch file.
printf '@"%s" /S _?=%s\r\n@exit %%ERRORLEVEL%%\r\n' "$(winepath -w "$all/uninstall.exe")" "$(winepath -w "$all")" >"$work/uninstall.bat"
wine cmd /c "$(winepath -w "$work/uninstall.bat")" >>"$log" 2>&1 || fail "the all-users uninstall failed"
[ "$(ls -A "$all")" = uninstall.exe ] || fail "left after the all-users uninstall: $(ls -A "$all")"
! wine reg query "$allkey" >/dev/null 2>&1 || fail "the all-users entry is left"
[ ! -e "$commonmenu/$shortcut" ] || fail "the all-users shortcut is left"
echo "for all users: Program Files, the user's data in $userdata, removed again"
