#!/usr/bin/env bash
# Spooler throughput, run by hand (not a test):
#   tests/bench/spooler_throughput.sh [BUILD_DIR]
# prnfeed -o of a 10 MB file to the default queue of a private cupsd (target
# SPOOLER), against lp -o raw of the same file to the same queue, as whole
# processes timed by hyperfine (RUNS runs each, default 15; the median
# counts). Both end when the scheduler has taken the whole job; the raw queue
# then sends it to the test printer, which throws it away.
set -euo pipefail
build=${1:-$(cd "$(dirname "$0")/../.." && pwd)/build}
prnfeed=$build/sendtool/prnfeed
testprinter=$build/tools/testprinter/testprinter
for tool in "$prnfeed" "$testprinter" /usr/sbin/cupsd /usr/bin/lp /usr/sbin/lpadmin; do
    [ -x "$tool" ] || { echo "missing $tool (build prnfeed and testprinter; scripts/install-deps.sh spooler)" >&2; exit 2; }
done
command -v hyperfine >/dev/null || { echo "hyperfine is needed (scripts/install-deps.sh spooler)" >&2; exit 2; }

work=$(mktemp -d /tmp/tp-spooler-bench-XXXXXX)
chmod 755 "$work" # the backends run as lp when cupsd runs as root
printer_pid= cupsd_pid=
cleanup() {
    [ -n "$cupsd_pid" ] && kill "$cupsd_pid" 2>/dev/null && wait "$cupsd_pid" 2>/dev/null
    [ -n "$printer_pid" ] && kill "$printer_pid" 2>/dev/null && wait "$printer_pid" 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT

"$testprinter" --out /dev/null --port 0 >"$work/printer.txt" &
printer_pid=$!
for _ in $(seq 50); do grep -q listening "$work/printer.txt" && break; sleep 0.1; done
port=$(sed -n 's/^listening: 127\.0\.0\.1://p' "$work/printer.txt")

mkdir -p "$work"/{root,state,cache,spool/tmp,log,client,home}
cat >"$work/root/cups-files.conf" <<CONF
ServerRoot $work/root
StateDir $work/state
CacheDir $work/cache
RequestRoot $work/spool
TempDir $work/spool/tmp
ErrorLog $work/log/error_log
AccessLog $work/log/access_log
PageLog $work/log/page_log
Printcap $work/printcap
ServerKeychain $work/ssl
CreateSelfSignedCerts no
Sandboxing Relaxed
CONF
cat >"$work/root/cupsd.conf" <<CONF
Listen $work/cups.sock
LogLevel warn
Browsing No
WebInterface No
DefaultAuthType None
<Location />
  Order allow,deny
  Allow all
</Location>
<Policy default>
  <Limit All>
    Order deny,allow
  </Limit>
</Policy>
CONF
/usr/sbin/cupsd -f -c "$work/root/cupsd.conf" -s "$work/root/cups-files.conf" &
cupsd_pid=$!
export CUPS_SERVER=$work/cups.sock CUPS_SERVERROOT=$work/client HOME=$work/home
unset LPDEST PRINTER
for _ in $(seq 100); do lpstat -r >/dev/null 2>&1 && break; sleep 0.1; done
lpadmin -p Receipt -E -v "socket://127.0.0.1:$port"
lpadmin -d Receipt

head -c $((10 * 1024 * 1024)) /dev/urandom >"$work/job.bin"
hyperfine -N --warmup 2 --runs "${RUNS:-15}" --export-json "$work/times.json" \
    "$prnfeed -o $work/job.bin SPOOLER" "lp -d Receipt -o raw $work/job.bin"
python3 - "$work/times.json" <<'PY'
import json, sys
r = json.load(open(sys.argv[1]))["results"]
p, l = r[0]["median"], r[1]["median"]
print(f"median prnfeed {p*1000:.1f} ms, lp {l*1000:.1f} ms: prnfeed runs at {l/p:.2f} of lp's speed")
PY
