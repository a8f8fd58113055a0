#!/usr/bin/env bash
# Builds the game and its drawing benchmark and prints the figures: start-up
# to the first painted frame (median of several starts under a private X
# server), peak memory after start-up, CPU time over 30 s of idle play, and
# the drawing figures at two large window sizes. Figures to watch, not tests.
# TANGRIX_BUILD_DIR picks another build directory (default: build).
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/setup-debian.sh
build=${TANGRIX_BUILD_DIR:-build}
starts=${TANGRIX_BENCH_STARTS:-7}
idle_seconds=${TANGRIX_BENCH_IDLE:-30}
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" --target tangrix tangrix_music bench_drawing -j"$(nproc)" >/dev/null

work=$(mktemp -d)
xvfb_pid=""
game_pid=""
cleanup() {
  [ -n "$game_pid" ] && kill "$game_pid" 2>/dev/null || true
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

# A private X server on a free display number (the server picks it).
Xvfb -displayfd 1 -screen 0 1920x1080x24 -nolisten tcp >"$work/display" 2>/dev/null &
xvfb_pid=$!
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
display=":$(head -n 1 "$work/display")"

# A store with the language chosen, so no question waits at the start.
store="$work/store"
mkdir -p "$store/Orvane"
printf '[common]\ntongue=0\n' >"$store/Orvane/Tangrix V2.conf"

# Starts the game; waits for its first frame; prints the milliseconds.
start_game() {
  : >"$work/err"
  DISPLAY=$display QT_QPA_PLATFORM=xcb XDG_CONFIG_HOME=$store XDG_RUNTIME_DIR=$work \
    TANGRIX_NO_SHOW_EFFECT=1 TANGRIX_REPORT_FIRST_FRAME=1 "$build/bin/tangrix" 2>"$work/err" >/dev/null &
  game_pid=$!
  for _ in $(seq 300); do
    if grep -q 'first frame after' "$work/err"; then
      sed -n 's/.*first frame after \([0-9]*\) ms.*/\1/p' "$work/err" | head -n 1
      return 0
    fi
    sleep 0.1
  done
  echo "no first frame reported" >&2
  return 1
}
stop_game() {
  kill "$game_pid" 2>/dev/null || true
  wait "$game_pid" 2>/dev/null || true
  game_pid=""
}
median() { sort -n | awk '{a[NR]=$1} END {print (NR % 2) ? a[(NR+1)/2] : (a[NR/2] + a[NR/2+1]) / 2}'; }

frames=()
for _ in $(seq "$starts"); do
  frames+=("$(start_game)")
  stop_game
done
first_frame=$(printf '%s\n' "${frames[@]}" | median)

start_game >/dev/null
sleep 2
peak_kb=$(awk '/VmHWM/ {print $2}' "/proc/$game_pid/status")
ticks() { awk '{print $14 + $15}' "/proc/$game_pid/stat"; }
before=$(ticks)
sleep "$idle_seconds"
after=$(ticks)
stop_game
hz=$(getconf CLK_TCK)
cpu_ms=$(( (after - before) * 1000 / hz ))

echo "Machine: $(lscpu | sed -n 's/^Model name: *//p' | head -n 1), $(nproc) cores"
echo
echo "| figure | value |"
echo "|---|---|"
echo "| start-up to first painted frame (median of $starts) | $first_frame ms |"
echo "| peak resident memory after start-up (VmHWM) | $((peak_kb / 1024)) MiB |"
echo "| CPU time over ${idle_seconds} s of idle play (clock ticking, music on) | $cpu_ms ms ($(awk -v c="$cpu_ms" -v s="$idle_seconds" 'BEGIN {printf "%.2f", c / (s * 10)}') %) |"
echo
"$build/bench/bench_drawing" 2>/dev/null
