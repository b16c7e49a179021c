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
status=0
for target in $targets; do
    mkdir -p $build/corpus/$target $build/artifacts/$target
    echo "== fuzz_$target for ${seconds}s"
    nice $build/fuzz/fuzz_$target -max_total_time="$seconds" -timeout=20 -rss_limit_mb=4096 \
        -print_final_stats=1 -artifact_prefix=$build/artifacts/$target/ \
        $build/corpus/$target fuzz/corpus/$target || status=1
done
exit $status
