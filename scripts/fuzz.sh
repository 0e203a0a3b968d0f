#!/usr/bin/env bash
# Runs one fuzz entry for a number of seconds: scripts/fuzz.sh NAME SECONDS [libFuzzer options...]
# (for example -runs=10000000 to stop after that many executions).
# NAME is NameTable, ZipDirectory, Registry, Ini or Unzip. Findings land in build-fuzz/findings/NAME/.
# Unzip writes what it extracts below $TMPDIR: point it at a tmpfs (TMPDIR=/dev/shm) for long runs.
set -euo pipefail
cd "$(dirname "$0")/.."
name=${1:?usage: scripts/fuzz.sh NAME SECONDS}
seconds=${2:-60}
shift $(( $# < 2 ? $# : 2 ))
GLYVANTA_EXTRA_PACKAGES="clang libclang-rt-14-dev" scripts/deps.sh
dir=build-fuzz
[ -f "$dir/CMakeCache.txt" ] || CC=clang CXX=clang++ cmake -S . -B "$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DGLYVANTA_FUZZ=ON -DBUILD_TESTING=OFF -DGLYVANTA_BENCH=OFF >&2
cmake --build "$dir" -j "$(nproc)" --target "fuzz_$name" >&2
corpus=$(echo "$name" | tr '[:upper:]' '[:lower:]')
work="$dir/corpus/$name"
mkdir -p "$work" "$dir/findings/$name"
cp -n tests/fuzz/corpus/"$corpus"/* "$work"/ 2>/dev/null || true
export QT_QPA_PLATFORM=offscreen
# No allocation stacks, a smaller quarantine and no returning of memory to the system keep long
# runs fast: with the defaults the stack depot and madvise calls grow until they take most of the
# time. Replay a finding with the binary alone (default options) to see where its memory came from.
export ASAN_OPTIONS=detect_leaks=1:halt_on_error=1:malloc_context_size=0:quarantine_size_mb=32:allocator_release_to_os_interval_ms=-1
export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
"$dir/bin/fuzz_$name" -max_total_time="$seconds" -artifact_prefix="$dir/findings/$name/" -print_final_stats=1 \
    -rss_limit_mb=2048 "$@" "$work"
