#!/usr/bin/env bash
# Builds the program in Release and starts it on the desktop.
set -euo pipefail
cd "$(dirname "$0")"
source scripts/packages.sh
ensure_packages cmake ninja-build g++ libgtest-dev libgmock-dev libbenchmark-dev qt6-base-dev fonts-liberation

cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release -DBRONTE_BUILD_TESTS=OFF -DBRONTE_BUILD_BENCH=OFF >/dev/null
cmake --build build/release --target bronteluxviewer
if [[ -z "${DISPLAY:-}" && -z "${WAYLAND_DISPLAY:-}" && -z "${QT_QPA_PLATFORM:-}" ]]; then
    echo "run.sh: no graphical display (DISPLAY is not set); start it from a desktop session or under Xvfb." >&2
    exit 1
fi
exec build/release/bronteluxviewer "$@"
