#!/usr/bin/env bash
# Fuzzes the reading of the help file with libFuzzer, for a bounded time:
#   fuzz_context_table  the context table reader and the decompressor
#                       parameter checks, over raw bytes
#                       (corpus tests/fuzz/help/corpus/, kept in git)
#   fuzz_help_file      whole files through the checks, the CHM library and
#                       the topic reads (corpus of whole files in the build
#                       folder, seeded with the help file a build made)
# Built with clang, apart from the normal g++ build. Each corpus grows as the
# fuzzer finds new paths and is then minimised to the inputs that add
# coverage; crashes land in the build folder.
#   tools/fuzz-help.sh [seconds per target]     (default 60)
set -euo pipefail

seconds="${1:-60}"
root="$(cd "$(dirname "$0")/.." && pwd)"
out="${FUZZ_BUILD_DIR:-$root/build-fuzz-help}"
mkdir -p "$out"
flags=(-std=c++20 -g -O1 -fPIC -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined -I"$root")

clang++-14 "${flags[@]}" \
  "$root/tests/fuzz/help/fuzz_context_table.cpp" "$root/help/ChmContextTable.cpp" "$root/help/ChmContainerCheck.cpp" \
  -o "$out/fuzz_context_table"
# shellcheck disable=SC2046
clang++-14 "${flags[@]}" $(pkg-config --cflags Qt6Core) \
  "$root/tests/fuzz/help/fuzz_help_file.cpp" "$root/help/ChmArchive.cpp" "$root/settings/BoundedFile.cpp" \
  "$root/help/ChmContextTable.cpp" "$root/help/ChmContainerCheck.cpp" \
  $(pkg-config --libs Qt6Core) -lchm -o "$out/fuzz_help_file"

run() {
  local target="$1" corpus="$2" max_len="$3"
  mkdir -p "$corpus"
  # A short run only checks: its new inputs go to a scratch folder and the
  # corpus is left as it is.
  if [ "$seconds" -le 10 ]; then
    mkdir -p "$out/$target-new"
    (cd "$out" && "./$target" -max_total_time="$seconds" -timeout=5 -rss_limit_mb=2048 -max_len="$max_len" \
      -artifact_prefix="$out/$target-" "$out/$target-new" "$corpus")
    return
  fi
  (cd "$out" && "./$target" -max_total_time="$seconds" -timeout=5 -rss_limit_mb=2048 -max_len="$max_len" \
    -artifact_prefix="$out/$target-" "$corpus")
  # Keep only the inputs that add coverage.
  local minimal="$out/$target-minimal"
  rm -rf "$minimal" && mkdir -p "$minimal"
  (cd "$out" && "./$target" -merge=1 "$minimal" "$corpus" 2>/dev/null)
  rm -f "$corpus"/* && cp "$minimal"/* "$corpus"/
  echo "$target: corpus of $(ls "$corpus" | wc -l) inputs"
}

# Table-sized inputs; whole files are the other target's.
run fuzz_context_table "$root/tests/fuzz/help/corpus" 1024

file_corpus="$out/corpus-file"
mkdir -p "$file_corpus"
seed="${TANGRIX_HELP_FILE:-$(ls "$root"/build*/bin/tngx.chm 2>/dev/null | head -1)}"
if [ -n "$seed" ] && [ -f "$seed" ]; then
  cp "$seed" "$file_corpus/seed-tngx"
else
  echo "no built tngx.chm found to seed fuzz_help_file; set TANGRIX_HELP_FILE" >&2
fi
run fuzz_help_file "$file_corpus" 32768
