#!/usr/bin/env bash
# Compares what two builds make of every LIS input beside the project: the converter
# (bench_lis_outputs) built at REV against the working tree's (uncommitted changes
# included), or against REV2's. Inputs: every public LIS file and record part alone
# (../shared/data/lis); every public join (each DFSR part of records/curves with all the
# data parts, with the depth parts and with each group of data parts by name, in name
# order and reversed, between the header and trailer parts of records/); every log of
# known truth (../shared/lis-truth/*/). Prints each input whose outputs differ (what its
# summary.txt says on each side), each log of known truth read right by one build and
# wrong by the other (judged by bench_lis_judge, the corpus test's judge), and a summary.
#   scripts/lis-compare.sh REV [REV2]
# LIS_COMPARE_WORK: the work folder (default /tmp/lis-compare; builds are kept there by
# commit, so a second run rebuilds nothing); LIS_COMPARE_JOBS: conversions at once
# (default: the cores); LIS_COMPARE_TIMEOUT: seconds one conversion may take (300).
set -euo pipefail
# Read whole before it runs: the tree may change while it converts.
{
here=$(cd "$(dirname "$0")/.." && pwd)
source "$here/scripts/packages.sh"
ensure_packages git cmake ninja-build g++ libbenchmark-dev

if (($# < 1 || $# > 2)); then
    echo "usage: $0 REV [REV2]" >&2
    exit 2
fi
work=${LIS_COMPARE_WORK:-/tmp/lis-compare}
jobs=${LIS_COMPARE_JOBS:-$(nproc)}
export CMAKE_BUILD_PARALLEL_LEVEL=${CMAKE_BUILD_PARALLEL_LEVEL:-$jobs}
shared=$(cd "$here/.." && pwd)/shared
data=$shared/data/lis
truth=$shared/lis-truth
[[ -d $data ]] || { echo "no public LIS files at $data" >&2; exit 1; }
configure=(-G Ninja -DCMAKE_BUILD_TYPE=Release -DBRONTE_BUILD_QT=OFF -DBRONTE_BUILD_TESTS=OFF)

# The converter of commit $1, built once in $work/builds/<hash>; its path on stdout. A
# commit without the converter gets the working tree's, where it compiles there.
build_rev() {
    local hash dir
    hash=$(git -C "$here" rev-parse --verify --quiet "$1^{commit}") || { echo "no commit $1" >&2; return 1; }
    dir=$work/builds/$hash
    if [[ ! -x $dir/build/bench/bench_lis_outputs ]]; then
        echo "building $1 ($hash) in $dir" >&2
        rm -rf "$dir"
        mkdir -p "$dir/src"
        git -C "$here" archive "$hash" | tar -x -C "$dir/src" || { echo "cannot unpack $1" >&2; return 1; }
        if [[ ! -f $dir/src/bench/LisOutputs.cpp ]]; then
            echo "$1 has no bench/LisOutputs.cpp: trying the working tree's" >&2
            cp "$here/bench/LisOutputs.cpp" "$dir/src/bench/"
            cat >>"$dir/src/bench/CMakeLists.txt" <<'EOF'
add_executable(bench_lis_outputs LisOutputs.cpp ${PROJECT_SOURCE_DIR}/tests/support/LisDictionaryBuilder.cpp
               ${PROJECT_SOURCE_DIR}/tests/support/QtxBuilder.cpp)
target_include_directories(bench_lis_outputs PRIVATE ${PROJECT_SOURCE_DIR}/tests)
target_link_libraries(bench_lis_outputs PRIVATE bronte_lis bronte_dataset bronte_platform_testing)
EOF
        fi
        if ! { cmake -S "$dir/src" -B "$dir/build" "${configure[@]}" &&
               cmake --build "$dir/build" --target bench_lis_outputs; } >"$dir/build.log" 2>&1; then
            echo "the converter of $1 does not build (see $dir/build.log); nothing compared" >&2
            return 1
        fi
    fi
    echo "$dir/build/bench/bench_lis_outputs"
}

# The working tree's converter and judge, built in its own build/lis-compare.
build_work() {
    local dir=$here/build/lis-compare
    mkdir -p "$dir"
    echo "building the working tree in $dir" >&2
    if ! { cmake -S "$here" -B "$dir" "${configure[@]}" &&
           cmake --build "$dir" --target bench_lis_outputs bench_lis_judge; } >"$dir.log" 2>&1; then
        echo "the working tree does not build (see $dir.log)" >&2
        return 1
    fi
    echo "$dir/bench"
}

mkdir -p "$work"
work_bench=$(build_work)
label_a=$1
bin_a=$(build_rev "$1")
if (($# == 2)); then
    label_b=$2
    bin_b=$(build_rev "$2")
else
    label_b=work
    bin_b=$work_bench/bench_lis_outputs
fi
judge=$work_bench/bench_lis_judge

run=$work/runs/$(echo "$label_a-vs-$label_b" | tr -c 'A-Za-z0-9._\n-' '_')
rm -rf "$run"
mkdir -p "$run/joins" "$run/results"
list=$run/inputs.tsv
: >"$list"

# Every LIS file and record part alone.
while IFS= read -r f; do
    printf 'file/%s\t%s\t\n' "${f#"$data"/}" "$f" >>"$list"
done < <(find "$data" -type f \( -name '*.lis' -o -name '*.lis.part' \) | LC_ALL=C sort)

# The joins: the record parts' own reel, tape and file headers, one DFSR part, data parts,
# and the trailers.
records=$data/records
curves=$records/curves
head_parts=("$records/RHLR-1.lis.part" "$records/THLR-1.lis.part" "$records/FHLR-1.lis.part")
tail_parts=("$records/FTLR-1.lis.part" "$records/TTLR-1.lis.part" "$records/RTLR-1.lis.part")
mapfile -t all_data < <(find "$curves" -maxdepth 1 -name 'fdata-*.lis.part' | LC_ALL=C sort)
mapfile -t depth_data < <(find "$curves" -maxdepth 1 -name 'fdata-depth-*.lis.part' | LC_ALL=C sort)
# A group: the data parts whose names differ only by a closing number (fdata-fast-index1,
# fdata-fast-index-2, fdata-depth-down-PR1, ...).
group_of() { basename "$1" .lis.part | sed -E 's/(-PR)?-?[0-9]+$//'; }
mapfile -t group_of_part < <(for p in "${all_data[@]}"; do group_of "$p"; done)
mapfile -t groups < <(printf '%s\n' "${group_of_part[@]}" | LC_ALL=C sort -u)
reversed() { local k; for ((k = $# ; k > 0; k--)); do echo "${!k}"; done; }
join_one() { # id, DFSR part, data parts...
    local id=$1 dfsr=$2 file
    shift 2
    file=$run/joins/$id.lis
    cat "${head_parts[@]}" "$dfsr" "$@" "${tail_parts[@]}" >"$file"
    printf 'join/%s\t%s\t\n' "$id" "$file" >>"$list"
}
while IFS= read -r dfsr; do
    name=$(basename "$dfsr" .lis.part)
    join_one "$name+all" "$dfsr" "${all_data[@]}"
    mapfile -t parts < <(reversed "${all_data[@]}")
    join_one "$name+all-reversed" "$dfsr" "${parts[@]}"
    join_one "$name+depth" "$dfsr" "${depth_data[@]}"
    mapfile -t parts < <(reversed "${depth_data[@]}")
    join_one "$name+depth-reversed" "$dfsr" "${parts[@]}"
    for g in "${groups[@]}"; do
        parts=()
        for k in "${!all_data[@]}"; do [[ ${group_of_part[k]} == "$g" ]] && parts+=("${all_data[k]}"); done
        join_one "$name+$g" "$dfsr" "${parts[@]}"
        if ((${#parts[@]} > 1)); then
            mapfile -t parts < <(reversed "${parts[@]}")
            join_one "$name+$g-reversed" "$dfsr" "${parts[@]}"
        fi
    done
done < <(find "$curves" -maxdepth 1 -name 'dfsr-*.lis.part' | LC_ALL=C sort)

# Every log of known truth, judged against its folder's meta.json.
if [[ -d $truth ]]; then
    while IFS= read -r meta; do
        folder=$(dirname "$meta")
        while IFS= read -r f; do
            printf 'truth/%s/%s\t%s\t%s\n' "$(basename "$folder")" "$(basename "$f" .lis)" "$f" "$meta" >>"$list"
        done < <(find "$folder" -maxdepth 1 -name '*.lis' | LC_ALL=C sort)
    done < <(find "$truth" -mindepth 2 -maxdepth 2 -name meta.json | LC_ALL=C sort)
fi

# One input: both converters write into the same scratch folder in turn (so that the
# paths their outputs name are the same), each kept as a/<id> and b/<id>; outputs alike
# are then removed. Writes "<id> same|differ <verdict a> <verdict b>" (tab-separated,
# verdicts for logs of known truth only) to results/<line number>.
one_input() {
    local number=$1 line=$2 id input meta scratch side bin verdict_a="" verdict_b="" alike=same
    IFS=$'\t' read -r id input meta <<<"$line"
    scratch=$RUN/scratch/$number
    for side in a b; do
        bin=$BIN_A
        [[ $side == b ]] && bin=$BIN_B
        rm -rf "$scratch"
        mkdir -p "$scratch" "$RUN/$side/$(dirname "$id")"
        local rc=0
        timeout "$TIMEOUT" "$bin" "$input" "$scratch/out" >/dev/null 2>"$scratch/stderr" || rc=$?
        mkdir -p "$scratch/out"
        echo "exit $rc" >"$scratch/out/exit.txt"
        mv "$scratch/out" "$RUN/$side/$id"
    done
    rm -rf "$scratch"
    diff -rq "$RUN/a/$id" "$RUN/b/$id" >/dev/null 2>&1 || alike=differ
    if [[ -n $meta ]]; then
        local name=${id##*/}
        verdict_a=$(judged "$RUN/a/$id/ds01.qtx" "$meta" "$name")
        if [[ $alike == same ]]; then verdict_b=$verdict_a
        else
            verdict_b=$(judged "$RUN/b/$id/ds01.qtx" "$meta" "$name")
        fi
    fi
    [[ $alike == same ]] && rm -rf "${RUN:?}/a/$id" "${RUN:?}/b/$id"
    printf '%s\t%s\t%s\t%s\n' "$id" "$alike" "$verdict_a" "$verdict_b" >"$RUN/results/$number"
}
# The judge's verdict on one line, cut short; a judge that cannot judge fails the log.
judged() {
    local verdict
    verdict=$("$JUDGE" "$@" 2>&1) || verdict="FAIL the judge could not judge: $verdict"
    verdict=${verdict//[$'\t\n']/ }
    echo "${verdict:0:400}"
}
export -f one_input judged
export RUN=$run BIN_A=$bin_a BIN_B=$bin_b JUDGE=$judge TIMEOUT=${LIS_COMPARE_TIMEOUT:-300}

inputs=$(wc -l <"$list")
echo "converting $inputs inputs with $label_a and $label_b ($jobs at once) in $run" >&2
started=$SECONDS
nl -ba -w1 -s$'\t' "$list" | xargs -d '\n' -P "$jobs" -I{} bash -c 'IFS=$'"'"'\t'"'"' read -r n rest <<<"$1"; one_input "$n" "$rest"' _ {}
results=$run/results.tsv
for ((k = 1; k <= inputs; k++)); do
    [[ -f $run/results/$k ]] && cat "$run/results/$k"
done >"$results"
done_count=$(wc -l <"$results")
((done_count == inputs)) || echo "warning: $((inputs - done_count)) inputs left no result" >&2

# Each input whose outputs differ: the files that differ and what summary.txt says on each side.
echo
echo "== Outputs that differ ($label_a <, $label_b >)"
while IFS=$'\t' read -r id alike _; do
    [[ $alike == differ ]] || continue
    a=$run/a/$id
    b=$run/b/$id
    files=()
    for f in $( (cd "$a" && find . -type f; cd "$b" && find . -type f) | sed 's|^\./||' | LC_ALL=C sort -u); do
        if [[ ! -f $a/$f ]]; then files+=("$f(only $label_b)")
        elif [[ ! -f $b/$f ]]; then files+=("$f(only $label_a)")
        elif ! cmp -s "$a/$f" "$b/$f"; then files+=("$f"); fi
    done
    echo "-- $id: ${files[*]}"
    diff "$a/summary.txt" "$b/summary.txt" 2>/dev/null | grep -E '^[<>]' | head -12 | sed 's/^/   /' || true
    if cmp -s "$a/summary.txt" "$b/summary.txt"; then
        for f in "$a"/*.frames; do
            [[ -f $f ]] || continue
            g=$b/$(basename "$f")
            cmp -s "$f" "$g" || { diff "$f" "$g" | grep -E '^[<>]' | head -4 | cut -c1-120 |
                                   sed "s/^/   $(basename "$f") /" || true; }
        done
    fi
done <"$results"

# Each log of known truth read right by one and wrong by the other, then the totals.
echo
echo "== Logs of known truth read right by one build only"
awk -F'\t' -v A="$label_a" -v B="$label_b" '
    $3 != "" && ($3 == "PASS") != ($4 == "PASS") {
        if ($4 == "PASS") printf "better %s (%s: %s)\n", $1, A, $3
        else printf "worse  %s (%s: %s)\n", $1, B, $4
    }' "$results"

echo
echo "== Summary: $label_a against $label_b, $((SECONDS - started)) s"
awk -F'\t' -v A="$label_a" -v B="$label_b" '
    { kind = substr($1, 1, index($1, "/") - 1); n[kind]++; all++
      if ($2 == "differ") { d[kind]++; differ++ } }
    $3 != "" { split($1, part, "/"); f = part[2]
               if (!(f in logs)) order[++folders] = f
               logs[f]++; ra[f] += ($3 == "PASS"); rb[f] += ($4 == "PASS")
               better += ($3 != "PASS" && $4 == "PASS"); worse += ($3 == "PASS" && $4 != "PASS") }
    END {
        printf "inputs compared: %d (%d files, %d joins, %d logs of known truth)\n", all, n["file"], n["join"], n["truth"]
        printf "outputs differing: %d (%d files, %d joins, %d logs of known truth)\n", differ, d["file"], d["join"], d["truth"]
        for (k = 1; k <= folders; k++) { f = order[k]
            printf "%s: %s %d/%d, %s %d/%d\n", f, A, ra[f], logs[f], B, rb[f], logs[f] }
        printf "logs read right by %s only (better): %d; by %s only (worse): %d\n", B, better, A, worse
    }' "$results"
echo "outputs that differ are kept in $run/a and $run/b"
exit
}
