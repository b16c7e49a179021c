#!/bin/sh
# Builds the libFuzzer targets with clang in build-asan/ (the "asan" preset) and runs each of them in turn for
# the given number of seconds (default 60), niced, one at a time.
#   scripts/fuzz.sh [SECONDS] [TARGET...]
# New inputs collect in build-asan/corpus/<target>/; a crashing input is saved as
# build-asan/artifacts/<target>/crash-* and the script ends with a failure. Copy such an
# input into fuzz/corpus/<target>/ once the fault is fixed, so every later run replays it.
set -e
cd "$(dirname "$0")/.."
seconds=${1:-60}
[ $# -gt 0 ] && shift
targets=${*:-"project compilerconfig syntax makefile outputparser handoff"}
build=build-asan

# The sanitizer preset builds the fuzz targets too.
[ -f $build/CMakeCache.txt ] || cmake --preset asan
cmake --build $build --target fuzzers

export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
export LSAN_OPTIONS=suppressions=$PWD/scripts/lsan.supp:print_suppressions=0
# Recording where every allocation came from took half of each run's time (AddressSanitizer's
# stack store fills up over a long run); faults are still caught, only their report names no
# allocating call. Replay a saved input without these options for the whole story:
#   build-asan/fuzz/fuzz_<target> build-asan/artifacts/<target>/crash-...
export ASAN_OPTIONS="${ASAN_OPTIONS-malloc_context_size=0:quarantine_size_mb=64}"
# libFuzzer's own leak check after every input that leaves more allocations than it frees
# rescans the whole heap, and nearly every input here keeps something for later (Qt's caches
# among it): that cost two thirds of the time. Leaks are still reported when each run ends
# (LeakSanitizer's check at exit); replay the run's new inputs one by one to find the one.
status=0
for target in $targets; do
    mkdir -p $build/corpus/$target $build/artifacts/$target
    echo "== fuzz_$target for ${seconds}s"
    nice $build/fuzz/fuzz_$target -max_total_time="$seconds" -timeout=20 -rss_limit_mb=4096 -detect_leaks=0 \
        -print_final_stats=1 -artifact_prefix=$build/artifacts/$target/ \
        $build/corpus/$target fuzz/corpus/$target || status=1
done
exit $status
