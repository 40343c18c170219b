#!/usr/bin/env bash
# Network printing throughput, run by hand (not a test):
#   tests/bench/net_throughput.sh [BUILD_DIR]
# 1. binary mode: prnfeed -o of a 200 MB file to the test printer, against
#    socat copying the same file into the same sink; prints the ratio.
# 2. script mode: prnfeed sending 20 MB of text from a script, in MB/s.
# The sink is the test printer recording to /dev/null on loopback. Each figure
# is the best of RUNS runs (default 5), which evens out a busy machine.
set -euo pipefail
build=${1:-$(cd "$(dirname "$0")/../.." && pwd)/build-net}
prnfeed=$build/sendtool/prnfeed
testprinter=$build/tools/testprinter/testprinter
for tool in "$prnfeed" "$testprinter"; do
    [ -x "$tool" ] || { echo "missing $tool (build prnfeed and testprinter)" >&2; exit 2; }
done
command -v socat >/dev/null || { echo "socat is needed for the comparison" >&2; exit 2; }

work=$(mktemp -d)
printer_pid=
cleanup() {
    [ -n "$printer_pid" ] && kill "$printer_pid" 2>/dev/null && wait "$printer_pid" 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT

"$testprinter" --out /dev/null --port 0 >"$work/printer.txt" &
printer_pid=$!
for _ in $(seq 50); do grep -q listening "$work/printer.txt" && break; sleep 0.1; done
port=$(sed -n 's/^listening: 127\.0\.0\.1://p' "$work/printer.txt")
target=127.0.0.1:$port

runs=${RUNS:-5}
seconds() { # runs the command $runs times, prints the best elapsed seconds
    local start end t best=
    for _ in $(seq "$runs"); do
        start=$(date +%s.%N)
        "$@" >/dev/null 2>&1
        end=$(date +%s.%N)
        t=$(echo "$end - $start" | bc -l)
        if [ -z "$best" ] || [ "$(echo "$t < $best" | bc -l)" = 1 ]; then best=$t; fi
    done
    echo "$best"
}

head -c $((200 * 1024 * 1024)) /dev/urandom >"$work/job.bin"
t_prnfeed=$(seconds "$prnfeed" -o "$work/job.bin" "$target")
t_socat=$(seconds socat -u "FILE:$work/job.bin" "TCP:$target")
printf 'binary 200 MB: prnfeed %.2f s (%.0f MB/s), socat %.2f s (%.0f MB/s), ratio prnfeed/socat speed %.2f\n' \
    "$t_prnfeed" "$(echo "200 / $t_prnfeed" | bc -l)" "$t_socat" "$(echo "200 / $t_socat" | bc -l)" \
    "$(echo "$t_socat / $t_prnfeed" | bc -l)"

# 20 MB of text: 64-byte lines, each a quoted string and CR LF.
line='"Table 12 calls the waiter: option 1, cash payment, thank you!!" CR LF'
count=$((20 * 1024 * 1024 / 64))
awk -v n="$count" -v l="$line" 'BEGIN { for (i = 0; i < n; i++) print l }' >"$work/job.txt"
t_script=$(seconds "$prnfeed" "$work/job.txt" "$target")
printf 'script 20 MB of text: %.2f s, %.1f MB/s\n' "$t_script" "$(echo "20 / $t_script" | bc -l)"
