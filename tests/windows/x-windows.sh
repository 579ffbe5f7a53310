# Shared by the Windows start checks (sourced): what is on the private X screen.
#   needs: pid (the started process), log (its wine output)

# Top-level windows as "title WIDTHxHEIGHT", one a line.
windows() {
  xwininfo -root -tree 2>/dev/null |
    sed -n 's/^ *0x[0-9a-f]* "\([^"]*\)": ([^)]*)  *\([0-9]*x[0-9]*\)+.*/\1 \2/p'
}
# Console windows: wine's conhost opens one for a console program started without a console.
consoles() { xwininfo -root -tree 2>/dev/null | grep '("conhost.exe"' | grep -v '"Default IME"' || true; }
noConsole() {
  local c
  c=$(consoles)
  [ -z "$c" ] || { echo "a console window opened: $c"; return 1; }
}
waitFor() { # description seconds condition-on-the-window-list
  for _ in $(seq $(( $2 * 10 ))); do
    noConsole || return 1
    windows | eval "$3" && return 0
    kill -0 "$pid" 2>/dev/null || { echo "the program ended early:"; cat "$log"; return 1; }
    sleep 0.05
  done
  echo "no $1 after $2 s; windows: $(windows | sort -u | tr '\n' ';')"
  return 1
}
shoot() { xwd -root -silent | xwdtopnm 2>/dev/null | pnmtopng >"$1"; }
# The main window is the large "Brentoval" (a message box has the same title), and the splash is gone.
mainShown() {
  local list
  list=$(cat)
  ! grep -q '^BRENTO' <<<"$list" &&
    awk '$1 == "Brentoval" { split($2, s, "x"); if (s[1] >= 600 && s[2] >= 400) found = 1 } END { exit !found }' <<<"$list"
}
