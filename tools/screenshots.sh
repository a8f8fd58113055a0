#!/usr/bin/env bash
# Takes the README's pictures of the game: the board at 100 % and at 200 %
# (QT_SCALE_FACTOR=2), each with a tile in hand, under a private X server with
# a fresh settings store, the game dealt from a fixed seed.
#   tools/screenshots.sh [out-dir]     (default: docs)
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
out="$(cd "${1:-$root/docs}" && pwd)"
build="${TANGRIX_BUILD_DIR:-$root/build}"
work="$(mktemp -d)"
xvfb_pid=""
cleanup() {
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

Xvfb -displayfd 1 -screen 0 1600x1200x24 -nolisten tcp >"$work/display" 2>/dev/null &
xvfb_pid=$!
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
export DISPLAY=":$(head -n 1 "$work/display")"

shot() { # name scale
  local name=$1 scale=$2 store="$work/store-$1"
  mkdir -p "$store/Orvane"
  printf '[common]\ntongue=0\n' >"$store/Orvane/Tangrix V2.conf"
  XDG_CONFIG_HOME="$store" TANGRIX_SEED=2024 TANGRIX_NO_SHOW_EFFECT=1 QT_SCALE_FACTOR="$scale" \
    QT_QPA_PLATFORM=xcb "$build/bin/tangrix" >/dev/null 2>&1 &
  local pid=$! id=""
  for _ in $(seq 100); do
    id=$(xdotool search --onlyvisible --name 'Tangrix V2.1' 2>/dev/null | head -n 1 || true)
    [ -n "$id" ] && break
    sleep 0.1
  done
  [ -n "$id" ] || { echo "the game shows no window" >&2; exit 1; }
  sleep 1
  local X Y WIDTH HEIGHT
  eval "$(xwininfo -id "$id" | awk '/Absolute upper-left X/ {print "X=" $NF} /Absolute upper-left Y/ {print "Y=" $NF}
                                   /Width:/ {print "WIDTH=" $NF} /Height:/ {print "HEIGHT=" $NF}')"
  # The board's place as the game computes it, in logical pixels; the tile
  # is taken from the preview box and carried over the board.
  local w=$(( WIDTH / scale )) h=$(( HEIGHT / scale - 57 )) c left top
  c=$(( w / 19 < h / 16 ? w / 19 : h / 16 ))
  left=$(( (w - 17 * c - 12) / 2 + 15 * c + 12 ))
  top=$(( 57 + (h - 14 * c - 12) / 2 ))
  xdotool mousemove $(( X + (left + c) * scale )) $(( Y + (top + c) * scale )) click 1
  xdotool mousemove $(( X + (left - 9 * c) * scale )) $(( Y + (top + 9 * c) * scale ))
  sleep 0.5
  import -window root -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage "$out/$name.png"
  kill "$pid"
  wait "$pid" 2>/dev/null || true
}
shot board 1
shot board-200 2
echo "pictures in $out"
