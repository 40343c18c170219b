#!/usr/bin/env bash
# The fuzz targets (tests/fuzz): builds them with clang in a folder of their
# own (build-fuzz, or TP_FUZZ_BUILD) with only what they need, then
#   scripts/fuzz.sh [short] [SECONDS]   every target briefly over its kept corpus
#                                       (CI; 5 seconds each unless given); new
#                                       inputs are thrown away, a failing input
#                                       is kept in artifacts/fuzz/
#   scripts/fuzz.sh long NAME [RUNS]    one target by hand at low priority, to
#                                       RUNS executions (10 million unless given);
#                                       new inputs go to build-fuzz/found/NAME
#   scripts/fuzz.sh merge NAME          the kept corpus minimised, with what the
#                                       long runs found added where it covers more
#                                       (named inputs, the seeds, are always kept)
#   scripts/fuzz.sh list                the targets' names
# A target NAME is the program fuzz_NAME with the corpus tests/fuzz/corpus/NAME;
# an input that once failed is kept there as regress-<what it was>.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
dir=${TP_FUZZ_BUILD:-$top/build-fuzz}
corpora=$top/tests/fuzz/corpus
mode=${1:-short}

build() {
    if [ ! -f "$dir/build.ninja" ]; then
        local launcher=()
        if command -v ccache >/dev/null; then
            launcher=(-DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
        fi
        # The desk's parsers are built from their own sources with Qt Core, and
        # the receipt renderer from tools/receipt: neither the desk nor the
        # stand-ins are configured.
        CC=clang CXX=clang++ cmake -S "$top" -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
            -DTP_FUZZ=ON -DTP_TESTS=OFF -DTP_WITH_DESK=OFF -DTP_WITH_TOOLS=OFF "${launcher[@]}" >/dev/null
    fi
    cmake --build "$dir" --target fuzz
}

targets() {
    for d in "$corpora"/*/; do basename "$d"; done
}

program() {
    local p=$dir/tests/fuzz/fuzz_$1
    [ -x "$p" ] || { echo "fuzz: no program fuzz_$1 in $dir" >&2; exit 2; }
    echo "$p"
}

# Limits every run shares: an input that takes seconds is a fault, and so is
# one that needs gigabytes.
limits=(-timeout=10 -rss_limit_mb=2048 -max_len=4096)

case "$mode" in
short)
    secs=${2:-5}
    build
    mkdir -p "$top/artifacts/fuzz"
    work=$(mktemp -d)
    trap 'rm -rf "$work"' EXIT
    failed=0
    for name in $(targets); do
        # A copy, so that the pass neither grows nor changes the kept corpus.
        cp -r "$corpora/$name" "$work/$name"
        if "$(program "$name")" "${limits[@]}" -max_total_time="$secs" -print_final_stats=1 \
            -artifact_prefix="$top/artifacts/fuzz/$name-" "$work/$name" >"$work/$name.log" 2>&1; then
            runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$work/$name.log")
            echo "fuzz: $name ok, ${runs:-?} runs"
        else
            echo "fuzz: $name FAILED"
            tail -n 40 "$work/$name.log"
            failed=1
        fi
    done
    exit $failed
    ;;
long)
    name=${2:?name a target (scripts/fuzz.sh list)}
    runs=${3:-10000000}
    build
    found=$dir/found/$name
    mkdir -p "$found" "$dir/artifacts"
    exec nice -n 19 "$(program "$name")" "${limits[@]}" -runs="$runs" -print_final_stats=1 \
        -artifact_prefix="$dir/artifacts/$name-" "$found" "$corpora/$name"
    ;;
merge)
    name=${2:?name a target (scripts/fuzz.sh list)}
    build
    merged=$(mktemp -d)
    trap 'rm -rf "$merged"' EXIT
    found=$dir/found/$name
    mkdir -p "$found"
    nice -n 19 "$(program "$name")" "${limits[@]}" -merge=1 "$merged" "$corpora/$name" "$found"
    # Inputs with a name of their own (the seeds: real answers and scripts,
    # and regress-* inputs that once failed) stay whether or not they still
    # add coverage; the rest is what the merge kept, named by content.
    for f in "$corpora/$name"/*; do
        [[ $(basename "$f") =~ ^[0-9a-f]{40}$ ]] && continue
        rm -f "$merged/$(sha1sum "$f" | cut -d' ' -f1)"
        cp "$f" "$merged/"
    done
    rm -rf "${corpora:?}/$name"
    mkdir "$corpora/$name"
    cp "$merged"/* "$corpora/$name"/ 2>/dev/null || true
    echo "fuzz: $name corpus now $(ls "$corpora/$name" | wc -l) files"
    ;;
list)
    targets
    ;;
*)
    sed -n '2,17p' "$0" | sed 's/^# \{0,1\}//' >&2
    exit 2
    ;;
esac
