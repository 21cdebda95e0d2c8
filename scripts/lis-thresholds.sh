#!/usr/bin/env bash
# Moves each named threshold of the LIS step and layout rules one step either way, in a copy
# of the tree, and runs the LIS tests on each: a threshold whose move no test notices is
# either not needed or not tested. Prints one row a threshold: its value, the two moves, and
# for each the tests that failed ("-" where none did).
#   scripts/lis-thresholds.sh [work folder]        (default: /tmp/lis-thresholds)
# LIS_THRESHOLDS_ONLY="kName ..." runs those rows alone.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
source "$here/scripts/packages.sh"
ensure_packages rsync cmake ninja-build g++ libgtest-dev libgmock-dev
work=${1:-/tmp/lis-thresholds}
jobs=${CMAKE_BUILD_PARALLEL_LEVEL:-2}

# name (in src/lis/steps/Thresholds.h), then the value moved down and up: a share or count
# by one, a count of steps or records by half or double, a fraction by a little.
rows=(
  "kMostShare 1 3"
  "kExactShare 3 5"
  "kExactShareOnce 7 9"
  "kOddFloor 1 3"
  "kOddShare 15 17"
  "kRunPastShare 3 5"
  "kCutWordReach 1.125 1.375"
  "kDoubtShare 2.5 3.5"
  "kDriftShare 0.5e-3 2.0e-3"
  "kMostFollows 3 5"
  "kCountingSteps 32 128"
  "kMostMultiple 7 9"
  "kMultipleBroken 1 3"
  "kMultipleDistances 3 5"
  "kLongGap 125.0 500.0"
  "kMostSplits 2 4"
  "kCandidateRounding 2.25 2.75"
  "kLongestPiece 7 9"
  "kTurnsShare 15 17"
  "kCourseShare 9 11"
  "kFewTurns 1 3"
  "kFewTurnsRunOn 2 4"
  "kNearRecords 32.0 128.0"
  "kNearCourseShare 1 3"
  "kCountReach 0.2 0.3"
  "kFollowJump 1.5 2.5"
  "kMostTries 4 16"
  "kFirstAnchors 24 96"
  "kMostFirstCounts 256.0 1024.0"
  "kSampledDistances 2048 8192"
  "kFirstLook 32 128"
)
files=(src/lis/steps/Thresholds.h)

mkdir -p "$work"
# By content, and stamped now where copied: a file put back as it was must still be newer
# than what the build made of its moved value.
rsync -rlD --checksum --delete --exclude build --exclude .git "$here/" "$work/src/"
cmake -S "$work/src" -B "$work/build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DBRONTE_BUILD_BENCH=OFF \
      -DBRONTE_BUILD_QT=OFF >/dev/null
# The copy reads the public files and the logs of known truth beside this checkout.
export BRONTE_SHARED_DATA=${BRONTE_SHARED_DATA:-$(cd "$here/.." && pwd)/shared/data}
export BRONTE_LIS_TRUTH=${BRONTE_LIS_TRUTH:-$(cd "$here/.." && pwd)/shared/lis-truth}
# The step rules' own tests, the logs at their thresholds' edges, the layouts', the corpus of
# known truth and the sweep.
filter='LisDepthGrid*:LisFrameRules*:LisThresholdEdge*:LisSearchEdge*:LisTruthCorpus*:LisStepSweep*:LisToQtx*:LisRead*:LisScan*:LisSharedData*'

run_tests() {
    local out
    if ! cmake --build "$work/build" --target test_lis -j"$jobs" >"$work/build.log" 2>&1; then
        echo "build-failed"
        return
    fi
    out=$("$work/build/tests/test_lis" --gtest_filter="$filter" --gtest_brief=1 2>&1 || true)
    local failed
    failed=$(printf '%s\n' "$out" | sed -n 's/^\[  FAILED  \] \([A-Za-z0-9_]*\.[A-Za-z0-9_/]*\).*/\1/p' | sort -u |
             sed 's/^[A-Za-z0-9_]*\.//' | paste -sd, -)
    echo "${failed:--}"
}

# The value of `name` as the sources give it, and the file that holds it.
locate() {
    local name=$1 f
    for f in "${files[@]}"; do
        if grep -qE "\b$name = " "$work/src/$f"; then
            echo "$f $(grep -oE "\b$name = [^,;]*" "$work/src/$f" | head -1 | sed 's/.* = //')"
            return
        fi
    done
}

baseline=$(run_tests)
echo "baseline: $baseline"
# A move is judged only against a tree whose tests pass as it stands.
[[ $baseline == - ]] || { echo "the LIS tests fail before any move: mend them first" >&2; exit 1; }
printf '%-20s %-10s %-10s %-40s %-10s %s\n' name value down "failed (down)" up "failed (up)"
for row in "${rows[@]}"; do
    read -r name down up <<<"$row"
    [[ -n ${LIS_THRESHOLDS_ONLY:-} && " $LIS_THRESHOLDS_ONLY " != *" $name "* ]] && continue
    where=$(locate "$name")
    if [[ -z $where ]]; then
        printf '%-20s %s\n' "$name" "not found"
        continue
    fi
    read -r file value <<<"$where"
    results=()
    for moved in "$down" "$up"; do
        cp "$here/$file" "$work/src/$file"
        sed -i -E "s/\b$name = [^,;]*/$name = $moved/" "$work/src/$file"
        results+=("$(run_tests)")
        cp "$here/$file" "$work/src/$file"
    done
    printf '%-20s %-10s %-10s %-40s %-10s %s\n' "$name" "$value" "$down" "${results[0]}" "$up" "${results[1]}"
done
