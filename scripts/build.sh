#!/usr/bin/env bash
# Configures (once) and builds into build/ (or build-sanitize/ with --sanitize).
# Build output goes to stderr; the build folder is printed on stdout.
set -euo pipefail
cd "$(dirname "$0")/.."

dir=build
args=(-DCMAKE_BUILD_TYPE=Release)
if [ "${1:-}" = "--sanitize" ]; then
    dir=build-sanitize
    args=(-DCMAKE_BUILD_TYPE=RelWithDebInfo -DGLYVANTA_SANITIZE=ON -DGLYVANTA_BENCH=OFF)
fi
[ -f "$dir/CMakeCache.txt" ] || cmake -S . -B "$dir" "${args[@]}" >&2
cmake --build "$dir" -j "$(nproc)" >&2
echo "$dir"
