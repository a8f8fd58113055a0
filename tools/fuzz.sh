#!/usr/bin/env bash
# Fuzzes the readers of everything the game takes from outside: the number,
# boolean and placement values of the settings store, the whole store file,
# the stored high-score rows and their cipher, the music files' MIDI reader,
# and the help file's context table (built and run by tools/fuzz-help.sh).
# libFuzzer with clang 14, AddressSanitizer and UndefinedBehaviorSanitizer, apart from the g++ build.
#
#   tools/fuzz.sh [--short] [--seconds N] [target ...]
#
# Default: 60 s per target; --short: 10 s (for CI). Targets: integer_text
# placement highscore_entry cipher store_reader midi_sequence help (default: all).
# Each target grows its corpus in tests/fuzz/<target>/corpus/ and leaves it
# minimised. An input that breaks a property is saved in the build folder and
# named at the end; once the fault is fixed, copy it to
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
    -h|--help) sed -n '2,17p' "$0"; exit 0 ;;
    *) targets+=("$1") ;;
  esac
  shift
done
[ ${#targets[@]} -gt 0 ] || targets=(integer_text placement highscore_entry cipher store_reader midi_sequence help)

mkdir -p "$out"
qt_flags=$(pkg-config --cflags Qt6Core Qt6Widgets)
qt_libs=$(pkg-config --libs Qt6Core Qt6Widgets)
# -fPIC: Qt's headers insist on it. The cipher's arithmetic must not be fused.
cxx=(clang++-14 -std=c++20 -g -O1 -fPIC -ffp-contract=off -fno-fast-math
     -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined -I"$root" $qt_flags)

sources_of() {
  case "$1" in
    integer_text) echo settings/IntegerText.cpp ;;
    placement) echo settings/IntegerText.cpp settings/WindowPlacement.cpp ;;
    highscore_entry) echo cipher/Chiffre.cpp cipher/ChiffreQString.cpp cipher/X87Precision.cpp ui/HighscoreTable.cpp ;;
    cipher) echo cipher/Chiffre.cpp cipher/ChiffreQString.cpp cipher/X87Precision.cpp ;;
    store_reader) echo settings/IntegerText.cpp settings/WindowPlacement.cpp settings/TIniCtrl.cpp settings/IniValueScan.cpp settings/BoundedFile.cpp \
                       settings/ProgramSettings.cpp settings/Globals.cpp settings/ErrorReport.cpp cipher/Chiffre.cpp cipher/ChiffreQString.cpp cipher/X87Precision.cpp \
                       ui/HighscoreTable.cpp ;;
    midi_sequence) echo media/MidiSequence.cpp ;;
  esac
}

summary=()
failed=()
for target in "${targets[@]}"; do
  log="$out/$target.log"
  if [ "$target" = help ]; then
    # The help file's reader has its own script; it keeps its corpus itself.
    if FUZZ_BUILD_DIR="$out/help" bash "$root/tools/fuzz-help.sh" "$seconds" >"$log" 2>&1; then status=ok; else status=FAILED; fi
  else
    harness="$root/tests/fuzz/$target/fuzz_$target.cpp"
    corpus="$root/tests/fuzz/$target/corpus"
    binary="$out/fuzz_$target"
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
    srcs=()
    for s in $(sources_of "$target"); do srcs+=("$root/$s"); done
    echo "building $target"
    "${cxx[@]}" "$harness" "${srcs[@]}" -o "$binary" $qt_libs
    status=ok
    (cd "$out" && QT_QPA_PLATFORM=offscreen "$binary" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
        -max_len=8192 -artifact_prefix="$out/$target-" "${folders[@]}") \
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
  fi
  # (The help script runs more than one fuzzer: their runs are added up.)
  runs=$(grep -Eo 'Done [0-9]+ runs' "$log" | grep -Eo '[0-9]+' | awk '{n += $1} END {if (NR) print n}' || true)
  summary+=("$(printf '%-16s %-7s %12s executions in %ss' "$target" "$status" "${runs:-?}" "$seconds")")
  if [ "$status" != ok ]; then
    inputs=$(ls "$out/$target"-crash-* "$out/$target"-leak-* "$out/$target"-timeout-* "$out/$target"-oom-* \
                "$out/help"/crash-* 2>/dev/null | tr '\n' ' ' || true)
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
