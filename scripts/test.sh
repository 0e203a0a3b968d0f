#!/usr/bin/env bash
# Installs what is missing, builds and runs every test through ctest.
# --sanitize builds and runs the suite with AddressSanitizer and UBSan.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh
# The floors first: no source includes a header of a higher floor (src/floors.txt).
cmake -DSOURCE="$PWD/src" -P scripts/check-floors.cmake
dir=$(scripts/build.sh "$@" | tail -n 1)
export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=0:halt_on_error=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-halt_on_error=1:print_stacktrace=1}
cd "$dir"
ctest --output-on-failure -j "$(nproc)"
