#!/usr/bin/env bash
# Builds the program in Release and starts it.
set -euo pipefail
cd "$(dirname "$0")"
source scripts/packages.sh
ensure_packages cmake ninja-build g++ libgtest-dev libgmock-dev libbenchmark-dev

cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release -DBRONTE_BUILD_TESTS=OFF >/dev/null
cmake --build build/release
if [[ ! -x build/release/bronteluxviewer ]]; then
    echo "The desktop program is not part of this build yet: only its libraries and benchmarks are built." >&2
    exit 1
fi
exec build/release/bronteluxviewer "$@"
