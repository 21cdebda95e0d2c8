#!/usr/bin/env bash
# Builds the suites whose code runs on several threads (the row pool and the FFT, the
# views that render a page's rows on every core, the processing windows) with
# ThreadSanitizer in build/tsan and runs them; any data race fails the run.
#   ./tsan.sh [gtest filter]
set -euo pipefail
cd "$(dirname "$0")"
source scripts/packages.sh
ensure_packages cmake ninja-build g++ libgtest-dev libgmock-dev qt6-base-dev

build=build/tsan
suites=(test_common test_viewers test_processing)
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DBRONTE_TSAN=ON -DBRONTE_BUILD_BENCH=OFF \
      -DBRONTE_BUILD_QT=OFF -DCMAKE_CXX_FLAGS_DEBUG="-O1 -g" >/dev/null
cmake --build "$build" --target "${suites[@]}"
export TSAN_OPTIONS=${TSAN_OPTIONS:-halt_on_error=1:second_deadlock_stack=1}
# ThreadSanitizer cannot map its shadow memory beside a fully randomised address space
# (the kernels of recent years randomise more bits than it allows for).
norandom=()
if setarch "$(uname -m)" -R true 2>/dev/null; then norandom=(setarch "$(uname -m)" -R); fi
status=0
for suite in "${suites[@]}"; do
    echo "== $suite"
    "${norandom[@]}" "$build/tests/$suite" --gtest_brief=1 --gtest_filter="${1:-*}" || status=1
done
exit $status
