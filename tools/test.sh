#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test.
# In CI (CI set) every fuzz target also runs for a few seconds first.
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/setup-debian.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build -j"$(nproc)"
if [ -n "${CI:-}" ]; then
  FUZZ_BUILD_DIR="$PWD/build/fuzz" bash tools/fuzz.sh --short
fi
export QT_QPA_PLATFORM=offscreen
ctest --test-dir build --output-on-failure -j"$(nproc)" "$@"
