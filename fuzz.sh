#!/usr/bin/env bash
# Builds the libFuzzer harnesses with clang and runs each for a while.
#   ./fuzz.sh [seconds-per-harness] [harness...]     (default: 60 s, every harness)
# Seeds come from each harness's seed program and, read in place, the shared public
# files of the harness's format (../shared/data); what the fuzzer learns is kept in
# build/fuzz/corpus/<harness>/ between runs. A finding stops the script with its
# reproducer in build/fuzz/findings/.
set -euo pipefail
cd "$(dirname "$0")"
source scripts/packages.sh
ensure_packages cmake ninja-build clang libclang-rt-14-dev libgtest-dev libgmock-dev

seconds=${1:-60}
shift || true
build=build/fuzz
CC=clang CXX=clang++ cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DBRONTE_FUZZ=ON \
      -DBRONTE_BUILD_TESTS=OFF -DBRONTE_BUILD_BENCH=OFF -DBRONTE_BUILD_QT=OFF \
      -DCMAKE_CXX_FLAGS_DEBUG="-O1 -g" >/dev/null

harnesses=("$@")
if ((${#harnesses[@]} == 0)); then
    for f in fuzz/*.cpp; do
        name=$(basename "$f" .cpp)
        [[ $name == *_seeds ]] || harnesses+=("$name")
    done
fi
# Only what the harnesses need: the program's other libraries stay unbuilt.
targets=()
for h in "${harnesses[@]}"; do
    targets+=("fuzz_$h")
    [[ -f fuzz/${h}_seeds.cpp ]] && targets+=("seeds_$h")
done
cmake --build "$build" --target "${targets[@]}"
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
mkdir -p "$build/findings"
shared=$(cd .. && pwd)/shared/data
# The public files of a harness's format: libFuzzer only reads folders after the first.
public_files() {
    case $1 in
        lis_*) echo "$shared/lis" ;;
        las) echo "$shared/las" ;;
        segy) echo "$shared/segy" ;;
    esac
}
for h in "${harnesses[@]}"; do
    corpus=$build/corpus/$h
    seeds=$build/seeds/$h
    mkdir -p "$corpus" "$seeds"
    [[ -x $build/fuzz/seeds_$h ]] && "$build/fuzz/seeds_$h" "$seeds"
    inputs=("$corpus" "$seeds")
    public=$(public_files "$h")
    [[ -n $public && -d $public ]] && inputs+=("$public")
    echo "== $h: ${seconds} s"
    "$build/fuzz/fuzz_$h" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
        -artifact_prefix="$build/findings/$h-" "${inputs[@]}" 2>&1 | tail -n 12
done
