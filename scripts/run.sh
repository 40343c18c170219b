#!/usr/bin/env bash
# The main job: the whole system on this machine. Installs what it needs,
# builds, starts the stand-in web service and the test printer on loopback,
# registers a demo company the first time, and starts tpgdesk in the tray
# (under a virtual display when there is none). Ctrl-C stops everything.
#
# Everything it keeps lives in run/ (git-ignored): the service's data and
# certificate, the desk's settings and configuration, the printed bytes and
# the pictures of the tickets.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
# Only what runs here: no test frameworks, browser or package tools, and a
# build folder of its own without the tests, so that scripts/test.sh's
# build/ keeps its options.
"$top/scripts/install-deps.sh" build sendtool printing desk tpgservice testprinter demo
bin=${TP_BUILD_DIR:-$top/build-run}
"$top/scripts/build.sh" "$bin" -DTP_TESTS=OFF

state=$top/run
mkdir -p "$state/service" "$state/desk/tpgdesk" "$state/scripts"
printer_out=$state/printer.bin
demo_id=100001

pids=()
cleanup() {
    trap - INT TERM EXIT
    for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
    for pid in "${pids[@]}"; do wait "$pid" 2>/dev/null || true; done
    echo "run.sh: stopped."
}
trap cleanup EXIT
trap 'exit 130' INT TERM

# Starts a program whose first lines say where it listens; waits (bounded)
# for the line starting with $2 and leaves the rest of it in $reported.
reported=
start_reporting() {
    local log=$1 prefix=$2 line; shift 2
    "$@" >"$log" 2>&1 &
    pids+=($!)
    for _ in $(seq 1 300); do
        if line=$(grep -m1 "^$prefix" "$log"); then reported=${line#"$prefix"}; return 0; fi
        kill -0 "${pids[-1]}" 2>/dev/null || break
        sleep 0.1
    done
    echo "run.sh: $1 did not start:" >&2
    cat "$log" >&2
    return 1
}

start_reporting "$state/service.log" "listening: " \
    "$bin/tools/tpgservice/tpgservice" --data "$state/service" --host 127.0.0.1 --port 0
base=$reported
port=${base##*:}
cert=$state/service/cert.pem
receipts=$state/receipts
start_reporting "$state/printer.log" "listening: " \
    "$bin/tools/testprinter/testprinter" --out "$printer_out" --receipts "$receipts" --port 0
printer=$reported
# The printer says "receipt: PATH" for each job it draws; tell the person.
# tail ends with the printer, sed with tail.
tail -n +1 -s 0.2 -F --pid="${pids[-1]}" "$state/printer.log" 2>/dev/null |
    sed -u -n 's|^receipt: \(.*\)|run.sh: ticket printed, see its picture \1|p' &
pids+=($!)

# A display for the desk's windows: the person's own, or a virtual one.
if [ -z "${DISPLAY:-}" ]; then
    n=90
    while [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ]; do n=$((n + 1)); done
    Xvfb ":$n" -screen 0 1280x800x24 -nolisten tcp >"$state/xvfb.log" 2>&1 &
    pids+=($!)
    export DISPLAY=":$n"
    for _ in $(seq 1 100); do [ -e "/tmp/.X11-unix/X$n" ] && break; sleep 0.1; done
    headless=1
else
    headless=0
fi

# The desk trusts the service's own certificate and checks its port (the
# internet check's usual port 21 has nobody listening here).
export XDG_CONFIG_HOME=$state/desk
export TPGDESK_CONFIG=$state/desk/tpgdesk/tpgdesk.ini
cat >"$TPGDESK_CONFIG" <<INI
[service]
base=$base
ca_file=$cert
check_port=$port
footer=WWW.TABLEPING.SK
[printing]
script_folder=$state/scripts
prnfeed=$bin/sendtool/prnfeed
INI

post() { curl -sS --fail --cacert "$cert" "$base/writesql.php" "$@" >/dev/null; }
store=$XDG_CONFIG_HOME/tpg.conf
if ! grep -q '^ID=.' "$store" 2>/dev/null; then
    post --data-urlencode "id=$demo_id" --data-urlencode "token=MarwenoDelsip" \
        --data-urlencode "date_created=$(date +%F)" --data-urlencode "name=Demo Bistro" \
        --data-urlencode "lang=EN" --data-urlencode "email=demo@example.com" \
        --data-urlencode "text1=CALL the waiter" --data-urlencode "text2=PAY in CASH" \
        --data-urlencode "text3=PAY by CARD" --data-urlencode "completed=1"
    printf '[General]\nID=%s\nLANG=EN\nEMAIL=demo@example.com\n' "$demo_id" >"$store"
    echo "run.sh: registered the demo company $demo_id"
fi
id=$(sed -n 's/^ID=//p' "$store" | head -n1)
# The printer's port is new every run. On a virtual display nobody can close
# an alert box, so the calls only print there (output 3); else box + ticket.
output=$([ "$headless" = 1 ] && echo 3 || echo 2)
post --data-urlencode "id=$id" --data-urlencode "token=MarwenoDelsip" \
    --data-urlencode "ip=$printer" --data-urlencode "output=$output"

"$bin/desk/app/tpgdesk" >"$state/desk.log" 2>&1 &
pids+=($!)
desk=$!

cat <<TXT

  TablePing is running (Ctrl-C stops it all).
    web service   $base   (certificate $cert)
    test printer  $printer
    tpgdesk       in the tray$([ "$headless" = 1 ] && echo " of the virtual display $DISPLAY")

  Make a guest call: open the guest page of table 1 in a browser (accept the
  certificate warning once) and tap an option:
    $base/options.php?id=$id&qr=1
  or from a shell:
    curl --cacert $cert '$base/options.php?id=$id&qr=1&option=1'

  At the next second 0, 20 or 40 the desk fetches the call$([ "$headless" = 1 ] || echo ", shows the alert box")
  and prints the ticket. The test printer draws each ticket as a picture,
  NNNN.png with what it printed as text in NNNN.txt, in
    $receipts/
  (the path is shown here as each ticket arrives), and appends its bytes
  (ESC/POS) to
    $printer_out
TXT

wait "$desk" || true
echo "run.sh: tpgdesk ended (see $state/desk.log)."
