#!/usr/bin/env bash
# Runs a Windows test program under wine with the real windows platform on a private X server.
#   on-screen.sh PROGRAM.exe [test arguments...]     (WINEPREFIX etc. from the environment)
set -euo pipefail
if [ -z "${ON_SCREEN_DISPLAY:-}" ]; then
  exec xvfb-run -a -s "-screen 0 1280x1024x24" env ON_SCREEN_DISPLAY=1 bash "$0" "$@"
fi
# A wineserver left from the offscreen tests keeps its desktop on no display; wait until it ends.
timeout 60 wineserver -w || true
status=0
wine "$@" || status=$?
wineserver -k 2>/dev/null || true
exit $status
