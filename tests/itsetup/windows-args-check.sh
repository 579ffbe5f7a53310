#!/usr/bin/env bash
# The Windows build's cache options reach cmake as typed, through make and the build script:
# blanks inside quotes, "$", ";", braces and ".dsn" kept, one word per option.
set -euo pipefail
src=$1
expected=(
  '-DBRENTOVAL_ODBC_DRIVER=ODBC Driver 18 for SQL Server'
  '-DBRENTOVAL_SERVER_HOST=sql.dsnet.local'
  '-DBRENTOVAL_ODBC_EXTRA=Encrypt=yes;TrustServerCertificate=yes;X={a $2026}'
  '-DBRENTOVAL_UID=ph$rma user'
)
args="-DBRENTOVAL_ODBC_DRIVER='ODBC Driver 18 for SQL Server' -DBRENTOVAL_SERVER_HOST=sql.dsnet.local"
args+=" \"-DBRENTOVAL_ODBC_EXTRA=Encrypt=yes;TrustServerCertificate=yes;X={a \$2026}\" -DBRENTOVAL_UID='ph\$rma user'"
for how in make env; do
  if [ $how = make ]; then
    mapfile -t got < <(make -s -C "$src" windows-args WIN_CMAKE_ARGS="$args")
  else
    mapfile -t got < <(WIN_CMAKE_ARGS="$args" make -s -C "$src" windows-args)
  fi
  if [ "${got[*]}" != "${expected[*]}" ] || [ ${#got[@]} -ne ${#expected[@]} ]; then
    echo "through $how: got" >&2; printf '  [%s]\n' "${got[@]}" >&2
    exit 1
  fi
done
echo "the Windows cache options arrive as typed"
