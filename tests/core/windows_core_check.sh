#!/usr/bin/env bash
# Builds the core and its tests for 64-bit Windows with MinGW-w64, runs them
# under wine, and compares the seeded games' fingerprint with the one the
# Linux build prints. Exit 77 (skipped) with the reason when the cross tools
# are missing; in CI that is a failure, except on a machine that cannot run
# x86-64 Windows programs at all.
#
#   windows_core_check.sh <source dir> <cross build dir> <native test_core_game>
set -euo pipefail
source_dir=$1
build_dir=$2
native_game=$3

missing() {
  if [ -n "${CI:-}" ] && [ "$(uname -m)" = x86_64 ]; then
    echo "FAILED: $* (run tools/setup-debian.sh)"
    exit 1
  fi
  echo "SKIPPED: $* (run tools/setup-debian.sh)"
  exit 77
}
command -v x86_64-w64-mingw32-g++-posix >/dev/null \
  || missing "the MinGW-w64 cross compiler x86_64-w64-mingw32-g++-posix is missing (Debian: g++-mingw-w64-x86-64-posix)"
wine=$(command -v wine64 || true)
[ -n "$wine" ] || { [ -x /usr/lib/wine/wine64 ] && wine=/usr/lib/wine/wine64; } || true
[ -n "$wine" ] || missing "wine64 is missing (Debian: wine64)"
wineserver=$(dirname "$wine")/wineserver
[ -x "$wineserver" ] || wineserver=$(command -v wineserver || echo true)

launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
cmake -S "$source_dir" -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_TOOLCHAIN_FILE="$source_dir/tools/cmake/mingw-w64-x86_64.cmake" -DTANGRIX_CORE_ONLY=ON "${launcher[@]}" >/dev/null
cmake --build "$build_dir" -j"$(nproc)"

# A prefix of its own, thrown away afterwards; wine's first start fills it
# (some fifteen seconds). No display is needed for console programs.
WINEPREFIX=$(mktemp -d "${TMPDIR:-/tmp}/tangrix-wine.XXXXXX")
export WINEPREFIX WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=d"
trap '"$wineserver" -k 2>/dev/null || true; rm -rf "$WINEPREFIX"' EXIT

status=0
for test in test_core_rules test_core_cipher test_core_game; do
  echo "--- $test.exe under wine"
  if ! "$wine" "$build_dir/bin/$test.exe" | tr -d '\r' | tee "$build_dir/$test.out"; then
    status=1
  fi
done

fingerprint() { grep '^fingerprint ' "$1" || true; }
"$native_game" > "$build_dir/native_game.out" || status=1
native=$(fingerprint "$build_dir/native_game.out")
windows=$(fingerprint "$build_dir/test_core_game.out")
echo "Linux:   $native"
echo "Windows: $windows"
if [ -z "$native" ] || [ "$native" != "$windows" ]; then
  echo "FAILED: the Windows build played the seeded games differently"
  status=1
fi
exit $status
