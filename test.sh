#!/usr/bin/env bash
# Builds the test suite with AddressSanitizer and UndefinedBehaviorSanitizer and runs
# every test through CTest. On a fresh Debian 12 machine it first installs what is missing.
set -euo pipefail
cd "$(dirname "$0")"
source scripts/packages.sh
ensure_packages cmake ninja-build g++ libgtest-dev libgmock-dev libbenchmark-dev qt6-base-dev fonts-liberation \
                xvfb

build=build/test
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DBRONTE_SANITIZE=ON \
      -DCMAKE_CXX_FLAGS_DEBUG="-O1 -g" >/dev/null
cmake --build "$build"
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=0}
# Leaks inside third-party system libraries (each named in the file) are suppressed;
# every other leak fails its test. The path is quoted for the sanitizer's own option parser,
# which otherwise ends a value at the first blank of a checkout path such as "My Projects".
export LSAN_OPTIONS=${LSAN_OPTIONS:-suppressions=\"$PWD/scripts/lsan.supp\":print_suppressions=0}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
results=$PWD/$build/ctest-results.xml
rm -f "$results"
status=0
ctest --test-dir "$build" --output-on-failure -j"$(nproc)" --timeout 300 --output-junit "$results" || status=$?
# The tests that read the public files of ../shared/data say so in their output (a line
# "[ PUBLIC   ]"); without the folder they skip, and CTest's summary alone would not show it.
if [[ -f "$results" ]]; then
    awk 'BEGIN { RS = "<testcase " } NR > 1 && /\[ PUBLIC   \]/ { if (/status="notrun"/) skipped++; else ran++ }
         END { printf "Public-file tests (../shared/data, ../shared/lis-truth): %d ran, %d skipped\n", ran, skipped }' "$results"
fi
exit "$status"
