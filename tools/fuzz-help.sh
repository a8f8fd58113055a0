#!/usr/bin/env bash
# Fuzzes the reader of the help file's context table (and its container
# header check) with libFuzzer for a bounded time. Builds with clang, apart
# from the normal g++ build. The corpus lives in tests/fuzz/help/corpus/ and
# grows as the fuzzer finds new paths and is then minimised, so that only
# inputs that add coverage are kept; crashes land in the build folder.
#   tools/fuzz-help.sh [seconds]     (default 60)
set -euo pipefail

seconds="${1:-60}"
root="$(cd "$(dirname "$0")/.." && pwd)"
out="${FUZZ_BUILD_DIR:-$root/build-fuzz-help}"
corpus="$root/tests/fuzz/help/corpus"
mkdir -p "$out" "$corpus"

clang++-14 -std=c++20 -g -O1 -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined \
  -I"$root" \
  "$root/tests/fuzz/help/fuzz_context_table.cpp" "$root/help/ChmContextTable.cpp" "$root/help/ChmContainerCheck.cpp" \
  -o "$out/fuzz_context_table"

cd "$out"
./fuzz_context_table -max_total_time="$seconds" -timeout=5 -rss_limit_mb=1024 \
  -artifact_prefix="$out/" "$corpus"

# Keep only the inputs that add coverage.
minimal="$out/corpus-minimal"
rm -rf "$minimal" && mkdir -p "$minimal"
./fuzz_context_table -merge=1 "$minimal" "$corpus" 2>/dev/null
rm -f "$corpus"/* && cp "$minimal"/* "$corpus"/
echo "corpus: $(ls "$corpus" | wc -l) inputs"
