#!/usr/bin/env bash
# prnfeed, the whole tool: a 2 MB script converted into a file, beside binary
# mode sending the same bytes, scripts that are one 10 MB comment or number
# (scanning alone: almost nothing is sent), and the scanner alone on 20 MB and
# on single 10 MB tokens.
#   tests/bench/sendtool_bench.sh [build-dir]
# The build folder needs -DTP_BENCHMARKS=ON (default build-sendtool-bench,
# configured here when missing, as a release build).
set -euo pipefail
top=$(cd "$(dirname "$0")/../.." && pwd)
dir=${1:-$top/build-sendtool-bench}
if [ ! -f "$dir/build.ninja" ]; then
    cmake -S "$top" -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=Release -DTP_WITH_DESK=OFF \
        -DTP_WITH_TOOLS=OFF -DTP_TESTS=ON -DTP_BENCHMARKS=ON >/dev/null
fi
cmake --build "$dir" -j 2 --target prnfeed sendtool_scanner_bench >/dev/null
prnfeed=$dir/sendtool/prnfeed
bench=$dir/tests/sendtool/sendtool_scanner_bench

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
"$bench" --generate job.txt 2

best() { # best wall time of 5 runs of the command, in seconds
    local best=999999 t
    for _ in 1 2 3 4 5; do
        local s e
        s=$(date +%s.%N)
        "$@" >/dev/null 2>&1 </dev/null
        e=$(date +%s.%N)
        t=$(echo "$e - $s" | bc -l)
        if (( $(echo "$t < $best" | bc -l) )); then best=$t; fi
    done
    echo "$best"
}

script_s=$(best "$prnfeed" job.txt out-script.prn)
cmp out-script.prn job.txt.bin
binary_s=$(best "$prnfeed" -o job.txt.bin out-binary.prn)
cmp out-binary.prn job.txt.bin
# One token of 10 MB, end to end: a comment line and a number.
{ printf "'"; head -c 10485760 /dev/zero | tr '\0' 'c'; printf '\r\n'; } >comment.txt
{ head -c 10485760 /dev/zero | tr '\0' '7'; printf '\r\n'; } >number.txt
comment_s=$(best "$prnfeed" comment.txt out-comment.prn)
number_s=$(best "$prnfeed" number.txt out-number.prn)
mb=$(echo "$(stat -c %s job.txt) / 1048576" | bc -l)
out_mb=$(echo "$(stat -c %s job.txt.bin) / 1048576" | bc -l)
printf 'script mode: %.2f MB script -> %.2f MB in %.3f s (%.1f MB of script/s)\n' "$mb" "$out_mb" "$script_s" "$(echo "$mb / $script_s" | bc -l)"
printf 'binary mode: %.2f MB in %.3f s (%.1f MB/s)\n' "$out_mb" "$binary_s" "$(echo "$out_mb / $binary_s" | bc -l)"
printf 'one 10 MB comment: %.3f s (%.1f MB/s)\n' "$comment_s" "$(echo "10 / $comment_s" | bc -l)"
printf 'one 10 MB number: %.3f s (%.1f MB/s)\n' "$number_s" "$(echo "10 / $number_s" | bc -l)"

"$bench" --benchmark_format=console
