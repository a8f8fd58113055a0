#!/usr/bin/env bash
# Fuzzes the readers of everything the game takes from outside: the number,
# boolean and placement values of the settings store, the whole store file,
# the stored high-score rows and their cipher, the music files' MIDI reader,
# the help file's context table, and whole help files through the checks and
# the CHM library. libFuzzer with clang 14, AddressSanitizer and
# UndefinedBehaviorSanitizer, in a CMake build of its own (TANGRIX_FUZZ) over
# the same libraries the game links.
#
#   tools/fuzz.sh [--short] [--seconds N] [target ...]
#
# Default: 60 s per target; --short: 10 s (for CI). Targets: integer_text
# placement highscore_entry cipher store_reader midi_sequence help help_file
# (default: all). Each target grows its corpus in tests/fuzz/<target>/corpus/
# and leaves it minimised (help_file: in the build folder, seeded with the
# built help file). An input that breaks a property is saved in the build
# folder and named at the end; once the fault is fixed, copy it to
# tests/fuzz/<target>/regressions/, where the CTest test fuzz_replay_<target>
# replays it on every normal build.
set -euo pipefail

root="$(cd "$(dirname "$0")/.." && pwd)"
out="${FUZZ_BUILD_DIR:-$root/build-fuzz}"
seconds=60
targets=()
while [ $# -gt 0 ]; do
  case "$1" in
    --short) seconds=10 ;;
    --seconds) seconds="$2"; shift ;;
    -h|--help) sed -n '2,19p' "$0"; exit 0 ;;
    *) targets+=("$1") ;;
  esac
  shift
done
[ ${#targets[@]} -gt 0 ] || targets=(integer_text placement highscore_entry cipher store_reader midi_sequence help help_file)

mkdir -p "$out"
build="$out/cmake"
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DTANGRIX_FUZZ=ON \
  -DCMAKE_C_COMPILER=clang-14 -DCMAKE_CXX_COMPILER=clang++-14 -DCMAKE_CXX_FLAGS="-O1 -g" >"$out/configure.log"
cmake --build "$build" -j"$(nproc)" --target $(printf 'fuzz_%s ' "${targets[@]}") >"$out/build.log" \
  || { tail -n 60 "$out/build.log"; exit 1; }

# Table-sized inputs, except for whole help files.
max_len_of() { if [ "$1" = help_file ]; then echo 32768; else echo 8192; fi; }

summary=()
failed=()
for target in "${targets[@]}"; do
  log="$out/$target.log"
  binary="$build/bin/fuzz_$target"
  if [ "$target" = help_file ]; then
    corpus="$out/help_file-corpus"
    seed="${TANGRIX_HELP_FILE:-$(ls "$root"/build*/bin/tngx.chm 2>/dev/null | head -1)}"
    mkdir -p "$corpus"
    if [ -n "$seed" ] && [ -f "$seed" ]; then cp "$seed" "$corpus/seed-tngx"; else echo "no built tngx.chm to seed help_file; set TANGRIX_HELP_FILE" >&2; fi
  else
    corpus="$root/tests/fuzz/$target/corpus"
  fi
  mkdir -p "$corpus"
  # New inputs go into the first folder: the corpus itself for a real run,
  # a scratch folder for a short one, which leaves the checkout as it was.
  folders=("$corpus")
  if [ "$seconds" -le 10 ]; then
    mkdir -p "$out/$target-new"
    folders=("$out/$target-new" "$corpus")
  fi
  # A target with no fixed finding yet has no regressions folder.
  [ -d "$root/tests/fuzz/$target/regressions" ] && folders+=("$root/tests/fuzz/$target/regressions")
  status=ok
  (cd "$out" && QT_QPA_PLATFORM=offscreen "$binary" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
      -max_len="$(max_len_of "$target")" -artifact_prefix="$out/$target-" "${folders[@]}") \
      >"$log" 2>&1 || status=FAILED
  # Keep only the inputs that add coverage (not after a short run: those
  # only check, and leave the checked-out corpus as it was).
  if [ "$seconds" -gt 10 ]; then
    minimal="$out/$target-minimal"
    rm -rf "$minimal" && mkdir -p "$minimal"
    if (cd "$out" && QT_QPA_PLATFORM=offscreen "$binary" -merge=1 "$minimal" "$corpus" >/dev/null 2>&1); then
      find "$corpus" -type f -delete
      cp "$minimal"/* "$corpus"/ 2>/dev/null || true
    fi
  fi
  runs=$(grep -Eo 'Done [0-9]+ runs' "$log" | grep -Eo '[0-9]+' | tail -n 1 || true)
  summary+=("$(printf '%-16s %-7s %12s executions in %ss' "$target" "$status" "${runs:-?}" "$seconds")")
  if [ "$status" != ok ]; then
    inputs=$(ls "$out/$target"-crash-* "$out/$target"-leak-* "$out/$target"-timeout-* "$out/$target"-oom-* 2>/dev/null | tr '\n' ' ' || true)
    failed+=("$target: see $log; input: $inputs")
    # Where the log is not kept (CI), its end is the only account of the finding.
    echo "---- end of $log" && tail -n 25 "$log"
    for input in $inputs; do echo "$input as base64:" && base64 -w 0 "$input" | head -c 12000 && echo; done
    echo "----"
  fi
done

printf '%s\n' "${summary[@]}"
if [ ${#failed[@]} -gt 0 ]; then
  printf 'FINDING %s\n' "${failed[@]}"
  exit 1
fi
