#!/usr/bin/env bash
# The Windows build: cross-compiled with the Qt/MinGW kit that lies beside the project
# (../shared/windows-kit), its tests run under wine.
#   windows.sh build BUILD_DIR ZIP   configure, build the program and the tests, pack the zip
#   windows.sh test BUILD_DIR ZIP    the same, then run the Windows tests under wine; without the
#                                    kit it says so in one line and succeeds
# The kit's tarball is unpacked into BUILD_DIR/kit once and again only when it changes.
# WIN_CMAKE_ARGS passes further cache options (the default connection values) to the configure
# step, split as a shell splits words (quotes group, "$" stays as it is, nothing is run):
#   windows.sh args                  prints them one a line, as cmake receives them
set -euo pipefail
cd "$(dirname "$0")/.."
cmd=$1
build=${2:-}
kit_src=${WINDOWS_KIT:-../shared/windows-kit}
tarball=$kit_src/qt6.4.2-mingw64.tar.xz
kit=$build/kit
jobs=${JOBS:-2}

# The words of WIN_CMAKE_ARGS, by xargs' quoting rules (which expand nothing).
extra_args=()
if [ -n "${WIN_CMAKE_ARGS:-}" ]; then
  mapfile -t extra_args < <(printf '%s' "$WIN_CMAKE_ARGS" | xargs -n1 printf '%s\n')
fi
if [ "$cmd" = args ]; then
  [ ${#extra_args[@]} -eq 0 ] || printf '%s\n' "${extra_args[@]}"
  exit 0
fi

if [ ! -f "$tarball" ]; then
  if [ "$cmd" = test ]; then
    echo "Windows tests not run: no Windows kit at $kit_src (only the Linux suites ran)"
    exit 0
  fi
  echo "no Windows kit at $kit_src: the Windows build needs it" >&2
  exit 1
fi

zip=${3:?usage: windows.sh build|test BUILD_DIR ZIP}
build() {
  mkdir -p "$build"
  stamp=$kit/.unpacked
  if [ ! -f "$stamp" ] || [ "$tarball" -nt "$stamp" ]; then
    rm -rf "$kit"
    mkdir -p "$kit"
    tar -C "$kit" --strip-components=2 -xJf "$tarball"
    touch "$stamp"
  fi
  local kit_abs zip_abs launcher=()
  kit_abs=$(cd "$kit" && pwd)
  mkdir -p "$(dirname "$zip")"
  zip_abs=$(cd "$(dirname "$zip")" && pwd)/$(basename "$zip")
  # Paths below the project count as relative, so a fresh clone elsewhere reuses the cache.
  if command -v ccache >/dev/null; then
    launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
    export CCACHE_BASEDIR=$PWD
  fi
  cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_TOOLCHAIN_FILE="$kit_abs/share/mingw-kit/toolchain-x86_64-w64-mingw32.cmake" \
        -DBRENTOVAL_WINDOWS_ZIP="$zip_abs" "${launcher[@]}" "${extra_args[@]}" >/dev/null
  cmake --build "$build" -j "$jobs"
  bash scripts/pack-windows.sh "$build" "$kit" "$zip"
}

case $cmd in
build)
  build
  ;;
test)
  build
  cd "$build"
  start=$(date +%s)
  set +e
  ctest --output-on-failure --no-tests=error -j "$jobs" --timeout 900 2>&1 |
    sed -e 's/^\(100% tests passed\|[0-9]*% tests passed\)/Windows (wine): &/'
  rc=${PIPESTATUS[0]}
  set -e
  grep -h " not run under wine: " Testing/Temporary/LastTest*.log 2>/dev/null | sort -u || true
  echo "Windows tests under wine took $(( $(date +%s) - start )) s"
  exit "$rc"
  ;;
*)
  echo "usage: windows.sh build|test BUILD_DIR ZIP" >&2
  exit 2
  ;;
esac
