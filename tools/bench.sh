#!/usr/bin/env bash
# Builds the game and its benchmarks and prints the figures, under a private
# X server and a private PulseAudio server (a null sink), as on a desktop with
# sound:
#  - start-up to the first painted frame (median of several starts), peak
#    memory after start-up, CPU time over idle play with music on;
#  - side by side with GNOME Tetravex, a peer on the same display: time from
#    exec to a mapped window (median of several starts each) and their ratio,
#    and wake-ups per second and CPU time over idle play with music off;
#  - the longest silence in the music while the window is resized again and
#    again (the music is rendered off the GUI thread, so there should be none),
#    and while two processes keep both cores busy at normal priority;
#  - side by side with the peer: the Debian packages each package pulls onto
#    a minimal system and their installed size (tools/package-closure.py
#    says how they are counted), the shared libraries mapped at run time,
#    and the resident memory 5 s after the window appears, music on (with
#    each General MIDI font installed) and off;
#  - the drawing figures at two large window sizes.
# Figures to watch, not tests. Targets: start-up no more than 0.55 x the
# peer's, idle CPU no more than the peer's, no wake-ups above the game
# clock's 2 Hz when idle, no gap in the music (also under load), at most 130
# packages pulled, at most 80 MiB resident with music on.
# TANGRIX_BUILD_DIR picks another build directory (default: build);
# TANGRIX_BENCH_STARTS and TANGRIX_BENCH_IDLE the number of starts and the
# idle seconds. The game's package is made with cpack in the build directory.
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/setup-debian.sh
# The peer, and python3 for counting packages, are needed here only, not for
# building or testing the game.
if ! command -v /usr/games/gnome-tetravex >/dev/null || ! command -v python3 >/dev/null; then
  sudo_cmd=""
  [ "$(id -u)" -ne 0 ] && sudo_cmd="sudo"
  $sudo_cmd apt-get update
  DEBIAN_FRONTEND=noninteractive $sudo_cmd apt-get install -y --no-install-recommends gnome-tetravex python3
fi
build=${TANGRIX_BUILD_DIR:-build}
starts=${TANGRIX_BENCH_STARTS:-7}
idle_seconds=${TANGRIX_BENCH_IDLE:-30}
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" --target tangrix tangrix_music bench_drawing bench_sound_gap -j"$(nproc)" >/dev/null
game="$build/bin/tangrix"
peer=/usr/games/gnome-tetravex

work=$(mktemp -d)
xvfb_pid=""
pulse_pid=""
app_pid=""
rec_pid=""
load_pids=()
cleanup() {
  for pid in "${load_pids[@]}" "$rec_pid" "$app_pid" "$pulse_pid" "$xvfb_pid"; do
    [ -n "$pid" ] && kill "$pid" 2>/dev/null || true
  done
  wait 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

# A private X server on a free display number (the server picks it).
Xvfb -displayfd 1 -screen 0 1920x1080x24 -nolisten tcp >"$work/display" 2>/dev/null &
xvfb_pid=$!
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
export DISPLAY=":$(head -n 1 "$work/display")"

# A private sound server: a null sink, reached by its own socket, with none
# of the user's configuration.
mkdir -m 700 "$work/pulse"
HOME="$work/pulse" XDG_RUNTIME_DIR="$work/pulse" XDG_CONFIG_HOME="$work/pulse" \
  pulseaudio --daemonize=no -n --use-pid-file=no --exit-idle-time=-1 \
  -L "module-null-sink sink_name=bench_null" \
  -L "module-native-protocol-unix auth-anonymous=1 socket=$work/pulse/native" >"$work/pulse.log" 2>&1 &
pulse_pid=$!
export PULSE_SERVER="unix:$work/pulse/native"
for _ in $(seq 100); do pactl info >/dev/null 2>&1 && break; sleep 0.1; done

# Stores with the language chosen, so no question waits at the start.
store_with() { # name music
  mkdir -p "$work/$1/Orvane"
  printf '[common]\ntongue=0\nmusic=%s\n' "$2" >"$work/$1/Orvane/Tangrix V2.conf"
}
store_with store-music 1
store_with store-quiet 0
export XDG_RUNTIME_DIR="$work" TANGRIX_NO_SHOW_EFFECT=1 QT_QPA_PLATFORM=xcb

median() { sort -n | awk '{a[NR]=$1} END {print (NR % 2) ? a[(NR+1)/2] : (a[NR/2] + a[NR/2+1]) / 2}'; }
stop_app() {
  [ -n "$app_pid" ] && kill "$app_pid" 2>/dev/null || true
  wait "$app_pid" 2>/dev/null || true
  app_pid=""
}

# Each starter leaves the program running as app_pid and its figure in
# result (not printed: a command substitution would lose the pid).
result=""

# Starts the game; waits for its own report of the first frame, in ms.
first_frame() {
  : >"$work/err"
  XDG_CONFIG_HOME="$work/store-music" TANGRIX_REPORT_FIRST_FRAME=1 "$game" 2>"$work/err" >/dev/null &
  app_pid=$!
  for _ in $(seq 300); do
    if grep -q 'first frame after' "$work/err"; then
      result=$(sed -n 's/.*first frame after \([0-9]*\) ms.*/\1/p' "$work/err" | head -n 1)
      return 0
    fi
    sleep 0.1
  done
  echo "no first frame reported" >&2
  return 1
}

# Starts a program; the ms from exec until a window with the name is mapped,
# seen from outside the same way for both programs.
mapped() { # name command...
  local name=$1
  shift
  local t0 t1
  t0=$(date +%s%N)
  "$@" >"$work/$name.log" 2>&1 &
  app_pid=$!
  t1=$t0
  # At most 60 s; a program that shows no window by then gets no figure.
  while [ $((t1 - t0)) -lt 60000000000 ]; do
    if xdotool search --onlyvisible --name "$name" >/dev/null 2>&1; then
      t1=$(date +%s%N)
      result=$(((t1 - t0) / 1000000))
      return 0
    fi
    sleep 0.002
    t1=$(date +%s%N)
  done
  echo "no window named $name after 60 s" >&2
  result="-"
}

# Context switches per thread of the running program ("tid count" lines):
# each one is the thread waking (or being woken), whatever woke it.
thread_switches() {
  for status in /proc/"$app_pid"/task/*/status; do
    awk '/^Pid:/ {tid = $2} /^(non)?voluntary_ctxt_switches/ {s += $2} END {print tid, s}' "$status" 2>/dev/null || true
  done | sort
}
# 0 when the program has ended (it is then seen in the figures, not a failure).
cpu_ticks() { awk '{print $14 + $15}' /proc/"$app_pid"/stat 2>/dev/null || echo 0; }
hz=$(getconf CLK_TCK)

# Idle play: wake-ups per second (all threads, and the main thread) and CPU
# ms. A thread that ends meanwhile is left out; one that starts counts whole.
idle_figures() { # seconds
  sleep 3
  local c0 c1
  thread_switches >"$work/switches-0"; c0=$(cpu_ticks)
  sleep "$1"
  thread_switches >"$work/switches-1"; c1=$(cpu_ticks)
  join -a 2 -e 0 -o 0,1.2,2.2 "$work/switches-0" "$work/switches-1" |
    awk -v t="$1" -v main="$app_pid" '{d = $3 - $2; all += d; if ($1 == main) gui = d}
      END {printf "%.1f %.1f ", all / t, gui / t}'
  echo "$(((c1 - c0) * 1000 / hz))"
}

# --- the game alone -------------------------------------------------------------
frames=()
for _ in $(seq "$starts"); do
  first_frame
  frames+=("$result")
  stop_app
done
first_frame_ms=$(printf '%s\n' "${frames[@]}" | median)

first_frame
sleep 2
peak_kb=$(awk '/VmHWM/ {print $2}' "/proc/$app_pid/status")
before=$(cpu_ticks)
sleep "$idle_seconds"
after=$(cpu_ticks)
stop_app
music_cpu_ms=$(((after - before) * 1000 / hz))

# --- side by side with the peer ----------------------------------------------------
game_maps=()
peer_maps=()
for _ in $(seq "$starts"); do
  XDG_CONFIG_HOME="$work/store-music" mapped 'Tangrix V2.1' "$game"
  game_maps+=("$result")
  stop_app
  HOME="$work/peer-home" XDG_CONFIG_HOME="$work/peer-config" mapped 'Tetravex' "$peer"
  peer_maps+=("$result")
  stop_app
done
game_map=$(printf '%s\n' "${game_maps[@]}" | median)
peer_map=$(printf '%s\n' "${peer_maps[@]}" | median)

XDG_CONFIG_HOME="$work/store-quiet" mapped 'Tangrix V2.1' "$game"
read -r game_wakeups game_gui_wakeups game_idle_cpu < <(idle_figures "$idle_seconds")
game_streams=$(pactl list short sink-inputs | wc -l)
stop_app
HOME="$work/peer-home" XDG_CONFIG_HOME="$work/peer-config" mapped 'Tetravex' "$peer"
read -r peer_wakeups peer_gui_wakeups peer_idle_cpu < <(idle_figures "$idle_seconds")
stop_app

# --- the music through a resize storm ----------------------------------------------------
parec -d bench_null.monitor --raw --format=s16le --channels=2 --rate=44100 --latency-msec=10 >"$work/music.raw" &
rec_pid=$!
XDG_CONFIG_HOME="$work/store-music" mapped 'Tangrix V2.1' "$game"
window=$(xdotool search --onlyvisible --name 'Tangrix V2.1' | head -n 1)
# Until the music is heard, then one more second into the piece.
for _ in $(seq 300); do [ "$("$build/bench/bench_sound_gap" "$work/music.raw")" != none ] && break; sleep 0.1; done
sleep 1
storm_from=$(stat -c %s "$work/music.raw")
for i in $(seq 60); do
  if [ $((i % 2)) -eq 0 ]; then xdotool windowsize "$window" 1900 1060; else xdotool windowsize "$window" $((700 + 10 * i)) $((540 + 5 * i)); fi
  sleep 0.1
done
storm_to=$(stat -c %s "$work/music.raw")
kill "$rec_pid" 2>/dev/null || true
wait "$rec_pid" 2>/dev/null || true
rec_pid=""
stop_app
tail -c +"$((storm_from + 1))" "$work/music.raw" | head -c "$((storm_to - storm_from))" >"$work/storm.raw"
storm_gap=$("$build/bench/bench_sound_gap" "$work/storm.raw")

# --- the music with both cores kept busy ---------------------------------------------
parec -d bench_null.monitor --raw --format=s16le --channels=2 --rate=44100 --latency-msec=10 >"$work/load.raw" &
rec_pid=$!
XDG_CONFIG_HOME="$work/store-music" mapped 'Tangrix V2.1' "$game"
for _ in $(seq 300); do [ "$("$build/bench/bench_sound_gap" "$work/load.raw")" != none ] && break; sleep 0.1; done
sleep 1
for _ in $(seq "$(nproc)"); do
  yes >/dev/null &
  load_pids+=($!)
done
load_from=$(stat -c %s "$work/load.raw")
sleep 20
load_to=$(stat -c %s "$work/load.raw")
kill "${load_pids[@]}" 2>/dev/null || true
wait "${load_pids[@]}" 2>/dev/null || true
load_pids=()
kill "$rec_pid" 2>/dev/null || true
wait "$rec_pid" 2>/dev/null || true
rec_pid=""
stop_app
tail -c +"$((load_from + 1))" "$work/load.raw" | head -c "$((load_to - load_from))" >"$work/busy.raw"
load_gap=$("$build/bench/bench_sound_gap" "$work/busy.raw")

# --- memory and libraries, side by side ----------------------------------------------
# Resident memory 5 s after the window is mapped, and the shared objects the
# process has mapped then (the music has started by then, with its synthesiser).
resident_after() { # name command...
  mapped "$@"
  sleep 5
  rss_kb=$(awk '/VmRSS/ {print $2}' "/proc/$app_pid/status" 2>/dev/null || echo 0)
  libraries=$(awk '$6 ~ /\.so/ {print $6}' "/proc/$app_pid/maps" 2>/dev/null | sort -u | wc -l)
  stop_app
}
fonts=()
for font in /usr/share/sounds/sf2/default-GM.sf2 /usr/share/sounds/sf2/FluidR3_GM.sf2 /usr/share/sounds/sf2/TimGM6mb.sf2; do
  [ -e "$font" ] && fonts+=("$(readlink -f "$font")")
done
declare -A font_rss=()
for font in $(printf '%s\n' "${fonts[@]}" | sort -u); do
  TANGRIX_SOUND_FONT="$font" XDG_CONFIG_HOME="$work/store-music" resident_after 'Tangrix V2.1' "$game"
  font_rss[$font]=$((rss_kb / 1024))
done
XDG_CONFIG_HOME="$work/store-music" resident_after 'Tangrix V2.1' "$game"
game_rss_music=$((rss_kb / 1024))
game_libraries=$libraries
XDG_CONFIG_HOME="$work/store-quiet" resident_after 'Tangrix V2.1' "$game"
game_rss_quiet=$((rss_kb / 1024))
HOME="$work/peer-home" XDG_CONFIG_HOME="$work/peer-config" resident_after 'Tetravex' "$peer"
peer_rss=$((rss_kb / 1024))
peer_libraries=$libraries

# --- packages pulled ---------------------------------------------------------------
(cd "$build" && cpack -G DEB >/dev/null)
deb=$(ls -t "$build"/tangrix_*.deb | head -n 1)
read -r game_pkgs game_pkg_mib < <(python3 tools/package-closure.py "$deb")
read -r game_pkgs_rec game_pkg_rec_mib < <(python3 tools/package-closure.py --recommends "$deb")
read -r peer_pkgs peer_pkg_mib < <(python3 tools/package-closure.py gnome-tetravex)
read -r peer_pkgs_rec peer_pkg_rec_mib < <(python3 tools/package-closure.py --recommends gnome-tetravex)

ratio() { awk -v a="$1" -v b="$2" 'BEGIN {if (b > 0) printf "%.2f", a / b; else print "-"}'; }
echo "Machine: $(lscpu | sed -n 's/^Model name: *//p' | head -n 1), $(nproc) cores"
echo
echo "| figure | value |"
echo "|---|---|"
echo "| start-up to first painted frame (median of $starts) | $first_frame_ms ms |"
echo "| peak resident memory after start-up, music on (VmHWM) | $((peak_kb / 1024)) MiB |"
echo "| CPU time over ${idle_seconds} s of idle play (clock ticking, music on) | $music_cpu_ms ms ($(awk -v c="$music_cpu_ms" -v s="$idle_seconds" 'BEGIN {printf "%.2f", c / (s * 10)}') %) |"
echo "| longest silence in the music during a resize storm (6 s, 60 sizes) | ${storm_gap} ms |"
echo "| longest silence in the music with $(nproc) busy processes (20 s) | ${load_gap} ms |"
for font in "${!font_rss[@]}"; do
  echo "| resident memory 5 s after the window, music on, $(basename "$font") | ${font_rss[$font]} MiB |"
done
echo
echo "| beside GNOME Tetravex (same display and sound server) | Tangrix | Tetravex | ratio |"
echo "|---|---|---|---|"
echo "| exec to mapped window (median of $starts) | $game_map ms | $peer_map ms | $(ratio "$game_map" "$peer_map") |"
echo "| wake-ups per second idle, music off, all threads | $game_wakeups | $peer_wakeups | $(ratio "$game_wakeups" "$peer_wakeups") |"
echo "| wake-ups per second idle, music off, main thread | $game_gui_wakeups | $peer_gui_wakeups | $(ratio "$game_gui_wakeups" "$peer_gui_wakeups") |"
echo "| CPU time over ${idle_seconds} s idle, music off | $game_idle_cpu ms | $peer_idle_cpu ms | $(ratio "$game_idle_cpu" "$peer_idle_cpu") |"
echo "| audio streams open while idle with music off | $game_streams | | |"
echo "| resident memory 5 s after the window, music on (default font) | $game_rss_music MiB | $peer_rss MiB | $(ratio "$game_rss_music" "$peer_rss") |"
echo "| resident memory 5 s after the window, music off | $game_rss_quiet MiB | $peer_rss MiB | $(ratio "$game_rss_quiet" "$peer_rss") |"
echo "| shared libraries mapped 5 s after the window (music on) | $game_libraries | $peer_libraries | $(ratio "$game_libraries" "$peer_libraries") |"
echo "| Debian packages pulled onto a minimal system (Depends) | $game_pkgs, $game_pkg_mib MiB | $peer_pkgs, $peer_pkg_mib MiB | $(ratio "$game_pkgs" "$peer_pkgs") |"
echo "| the same with Recommends | $game_pkgs_rec, $game_pkg_rec_mib MiB | $peer_pkgs_rec, $peer_pkg_rec_mib MiB | $(ratio "$game_pkgs_rec" "$peer_pkgs_rec") |"
echo
"$build/bench/bench_drawing" 2>/dev/null
