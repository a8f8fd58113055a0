#!/usr/bin/env bash
# The long soak: self-play of many whole games through the main window under
# AddressSanitizer and UndefinedBehaviorSanitizer, checking the game's
# invariants after every event, then the kill test with many more kills.
#   tools/soak.sh [games] [kills]     (default 20 games, 200 kills)
# TANGRIX_SOAK_SEED picks the random sequence (default: from the clock; the
# seed is printed, so a failing soak can be replayed).
set -euo pipefail

games="${1:-20}"
kills="${2:-200}"
root="$(cd "$(dirname "$0")/.." && pwd)"
out="${SOAK_BUILD_DIR:-$root/build-soak}"
seed="${TANGRIX_SOAK_SEED:-$(date +%s)}"

cmake -S "$root" -B "$out" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTANGRIX_SANITIZE=ON >/dev/null
cmake --build "$out" --target test_soak test_kill_store store_writer -j"${SOAK_JOBS:-2}"

# Any report of either sanitizer ends the run with a failure. Leaks are not
# looked for: the window system's libraries keep caches until exit.
export ASAN_OPTIONS="detect_leaks=0:abort_on_error=1:${ASAN_OPTIONS:-}"
export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1:${UBSAN_OPTIONS:-}"
export QT_QPA_PLATFORM=offscreen
export QTEST_FUNCTION_TIMEOUT=$((games * 600 * 1000))

store="$(mktemp -d)"
trap 'rm -rf "$store"' EXIT
echo "soak: $games games, seed $seed"
XDG_CONFIG_HOME="$store/soak" TANGRIX_SOAK_GAMES="$games" TANGRIX_SOAK_SEED="$seed" "$out/bin/test_soak"
echo "kills: $kills"
XDG_CONFIG_HOME="$store/kill" TANGRIX_KILLS="$kills" "$out/bin/test_kill_store"
