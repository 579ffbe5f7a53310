#!/usr/bin/env bash
# The shipped zip as a pharmacy gets it: unpacked into a fresh folder, brentoval.exe started under
# wine with the real windows platform on a private X server; the splash shows, then the main
# window, and brentoval.db and bvamil.mdb appear beside the program. Leaves a screenshot.
#   start-check.sh ZIP WORK_DIR SCREENSHOT.png     (WINEPREFIX from the environment)
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
# A wineserver left from the tests keeps its desktop on no display (or on an X server now gone);
# the program's windows must go to this one.
timeout 60 wineserver -w || true
wine brentoval.exe >"$work/wine.log" 2>&1 &
pid=$!
trap 'wineserver -k 2>/dev/null || true; wait $pid 2>/dev/null || true' EXIT

# Top-level windows as "title WIDTHxHEIGHT", one a line.
windows() {
  xwininfo -root -tree 2>/dev/null |
    sed -n 's/^ *0x[0-9a-f]* "\([^"]*\)": ([^)]*)  *\([0-9]*x[0-9]*\)+.*/\1 \2/p'
}
waitFor() { # description seconds condition-on-the-window-list
  for _ in $(seq $(( $2 * 10 ))); do
    windows | eval "$3" && return 0
    kill -0 $pid 2>/dev/null || { echo "brentoval.exe ended early:"; cat "$work/wine.log"; return 1; }
    sleep 0.05
  done
  echo "no $1 after $2 s; windows: $(windows | sort -u | tr '\n' ';')"
  return 1
}
shoot() { xwd -root -silent | xwdtopnm 2>/dev/null | pnmtopng >"$1"; }
# Its caption turns to "BRENTO VAL  9.00" just before the main window comes.
waitFor splash 60 "grep -q '^BRENTO'"
echo "splash shown"
# Until the splash has painted, the screen is one colour and its PNG tiny.
for _ in $(seq 15); do
  shoot "${shot%.png}-splash.png"
  [ "$(stat -c %s "${shot%.png}-splash.png")" -gt 2000 ] && break
done
# The main window is the large "Brentoval" (a message box has the same title), and the splash is gone.
mainShown() {
  local list
  list=$(cat)
  ! grep -q '^BRENTO' <<<"$list" &&
    awk '$1 == "Brentoval" { split($2, s, "x"); if (s[1] >= 600 && s[2] >= 400) found = 1 } END { exit !found }' <<<"$list"
}
waitFor "main window" 30 mainShown
echo "main window shown"
for f in brentoval.db bvamil.mdb; do
  [ -s "$dir/$f" ] || [ "$f" = bvamil.mdb -a -e "$dir/$f" ] || { echo "no $f beside the program"; exit 1; }
done
echo "brentoval.db and bvamil.mdb created beside brentoval.exe"
sleep 2
shoot "$shot"
echo "screenshot: $shot"
