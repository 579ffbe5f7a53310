#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need, and nothing when all are there.
set -euo pipefail
PKGS=(cmake g++ make ninja-build pkg-config
      qt6-base-dev qt6-base-private-dev qt6-base-dev-tools libqt6sql6-sqlite libqt6sql6-odbc qt6-translations-l10n qt6-qpa-plugins libgl-dev
      unixodbc unixodbc-dev odbc-postgresql tdsodbc
      postgresql postgresql-client
      fonts-noto-core fonts-dejavu-core
      xvfb xauth poppler-utils
      clang-14 libclang-rt-14-dev
      libbenchmark-dev libxlsxwriter-dev zlib1g-dev xlsx2csv
      cups-daemon cups-client printer-driver-cups-pdf
      g++-mingw-w64-x86-64-posix wine wine64 fonts-wine x11-apps x11-utils netpbm unzip ccache nsis osslsigncode openssl
      sqlfluff)
missing=()
for p in "${PKGS[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "installing: ${missing[*]}"
  SUDO=""; [ "$(id -u)" -ne 0 ] && SUDO="sudo"
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi
