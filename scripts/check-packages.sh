#!/usr/bin/env bash
# Makes the Debian packages from a built tree and checks them:
#   scripts/check-packages.sh [build-dir]        (default: build/)
# lintian without errors, the desktop entries valid, the manual pages render
# without warnings; then the packages are installed with dpkg, prnfeed from
# /usr/bin sends a script to the test printer, a C program built with
# pkg-config and a CMake project using find_package(dova) open DUMP through
# the installed library, and the packages are purged again, also when a step
# fails. Installing needs root; the build folder must hold a plain (not
# sanitized) build with the tools (tools/testprinter).
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
dir=$(cd "${1:-$top/build}" && pwd)
packages=(libdova1 libdova-dev prnfeed tpgdesk) # in dependency order
say() { echo "check-packages: $*"; }
fail() { echo "check-packages: FAILED: $*" >&2; exit 1; }

work=$(mktemp -d)
installed=()
printer_pid=
cleanup() {
    local rc=$?
    trap - EXIT
    # An if, not "&&": under set -e a failing last command of an && list (wait
    # returns the killed printer's status) would end the cleanup here.
    if [ -n "$printer_pid" ]; then
        kill "$printer_pid" 2>/dev/null || true
        wait "$printer_pid" 2>/dev/null || true
    fi
    if [ ${#installed[@]} -gt 0 ]; then
        # Dependents first; purge, so that /etc/libdova.conf goes as well.
        local reversed=()
        for ((i = ${#installed[@]} - 1; i >= 0; i--)); do reversed+=("${installed[i]}"); done
        say "removing ${reversed[*]}"
        DEBIAN_FRONTEND=noninteractive dpkg --purge "${reversed[@]}" >"$work/remove.log" 2>&1 ||
            { cat "$work/remove.log" >&2; say "could not remove the packages" >&2; rc=1; }
    fi
    rm -rf "$work"
    exit "$rc"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

# --- make -------------------------------------------------------------------
[ -f "$dir/CPackConfig.cmake" ] || fail "$dir is not a configured build folder"
cmake --build "$dir"
out=$dir/packages
rm -rf "$out"
say "making the packages in $out"
(cd "$dir" && timeout 600 cpack -G DEB >"$work/cpack.log" 2>&1) ||
    { cat "$work/cpack.log" >&2; fail "cpack"; }
debs=()
for p in "${packages[@]}"; do
    f=$(ls "$out/${p}_"*.deb 2>/dev/null | head -n1) || true
    [ -n "$f" ] || fail "no package $p in $out"
    debs+=("$f")
done

# --- lint -------------------------------------------------------------------
say "lintian"
# lintian warns on standard error when it runs as root; that is all it means.
lintian_rc=0
timeout 600 lintian --fail-on error --no-tag-display-limit "${debs[@]}" >"$work/lintian.log" 2>"$work/lintian.err" ||
    lintian_rc=$?
cat "$work/lintian.log"
if [ "$lintian_rc" -ne 0 ]; then
    grep -v 'running with root privileges' "$work/lintian.err" >&2 || true
    fail "lintian reports errors (exit $lintian_rc)"
fi

say "desktop-file-validate"
for entry in "$top/packaging/desktop/tpgdesk.desktop" "$top/packaging/desktop/tpgdesk-autostart.desktop"; do
    msgs=$(desktop-file-validate "$entry" 2>&1) || fail "desktop-file-validate $entry: $msgs"
    [ -z "$msgs" ] || fail "desktop-file-validate $entry: $msgs"
done

say "manual pages"
for page in "$dir"/packaging/doc/*.[15].gz; do
    msgs=$(LC_ALL=C.UTF-8 MANROFFSEQ='' MANWIDTH=80 man --warnings -l "$page" 2>&1 >/dev/null) || true
    [ -z "$msgs" ] || fail "man -l $(basename "$page"): $msgs"
done

# --- install and use ----------------------------------------------------------
if [ "$(id -u)" -ne 0 ]; then
    say "not root: the packages were made and checked, but not installed"
    exit 0
fi
for p in "${packages[@]}"; do
    if [[ $(dpkg-query -W -f='${Status}' "$p" 2>/dev/null) == *'ok installed'* ]]; then
        fail "$p is installed on this machine already; remove it first (this check leaves the machine as it found it)"
    fi
done
say "dpkg -i"
installed=("${packages[@]}") # from here on, whatever dpkg managed to install is removed again
DEBIAN_FRONTEND=noninteractive dpkg -i "${debs[@]}" >"$work/install.log" 2>&1 ||
    { cat "$work/install.log" >&2; fail "dpkg -i"; }

[ -x /usr/bin/prnfeed ] || fail "no /usr/bin/prnfeed"
[ -f /etc/libdova.conf ] || fail "no /etc/libdova.conf"
# Not "ldd | grep -q": grep leaving at the first match can end ldd by SIGPIPE,
# which pipefail then reports as a failure.
libs=$(ldd /usr/bin/prnfeed 2>&1) || fail "ldd /usr/bin/prnfeed failed: $libs"
grep -q 'libdova\.so\.1 => /usr/' <<<"$libs" || fail "prnfeed does not use the installed libdova: $libs"

say "prnfeed to the test printer"
printer=$dir/tools/testprinter/testprinter
[ -x "$printer" ] || fail "no test printer at $printer (build the tools)"
received=$work/received.bin
# The log exists before the printer starts, so the loop below never reads
# a file the background job has not opened yet.
: >"$work/printer.log"
"$printer" --port 0 --out "$received" >>"$work/printer.log" 2>&1 &
printer_pid=$!
address=
for _ in $(seq 1 100); do
    address=$(sed -n '/^listening: /{s///p;q}' "$work/printer.log")
    [ -n "$address" ] && break
    kill -0 "$printer_pid" 2>/dev/null || break
    sleep 0.1
done
[ -n "$address" ] || { cat "$work/printer.log" >&2; fail "the test printer did not start"; }
cat >"$work/job.txt" <<'EOF'
ESC "@"
"Table 12" LF
' a comment line sends nothing
ESC "a" 1 "Caf" 130 " ok" LF
GS "V" 66 0
EOF
printf '\033@Table 12\n\033a\001Caf\202 ok\n\035VB\000' >"$work/expected.bin"
rc=0
env -u LIBDOVA_CONF -u LD_LIBRARY_PATH timeout 60 /usr/bin/prnfeed "$work/job.txt" "$address" \
    >"$work/prnfeed.out" 2>&1 || rc=$?
[ "$rc" -eq 0 ] || { cat "$work/prnfeed.out" >&2; fail "prnfeed ended with exit code $rc"; }
want=$(stat -c %s "$work/expected.bin")
for _ in $(seq 1 100); do
    [ "$(stat -c %s "$received" 2>/dev/null || echo 0)" -ge "$want" ] && break
    sleep 0.1
done
cmp "$work/expected.bin" "$received" ||
    { od -An -tx1 "$received" >&2; fail "the test printer received other bytes than the script makes"; }

say "a C program built with pkg-config"
cat >"$work/open_dump.c" <<'EOF'
#include <dova/dova.h>
#include <stdio.h>

int main(void) {
    if (DovaStartup(NULL) > 0) return 2;
    DOVA_HANDLE h = DovaOpenByName("DUMP", 1);
    if (h == DOVA_INVALID_HANDLE) return 3;
    uint32_t written = 0;
    int rc = 0;
    if (DovaClaim(h, 0) > 0) rc = 4;
    else if (DovaWrite(h, "\x1b@OK\n", 5, &written, 0, 0, 0) > 0 || written != 5) rc = 5;
    if (DovaRelease(h, 5000) > 0 && rc == 0) rc = 6;
    if (DovaClose(h) > 0 && rc == 0) rc = 7;
    if (DovaCleanup() > 0 && rc == 0) rc = 8;
    fprintf(stderr, "version %08X, result %d\n", (unsigned)DovaVersion(), rc);
    return rc;
}
EOF
# shellcheck disable=SC2046 # pkg-config's output is a list of words
cc -Wall -Werror -o "$work/open_dump" "$work/open_dump.c" $(pkg-config --cflags --libs dova) ||
    fail "building against the installed library"
rc=0
env -u LIBDOVA_CONF -u LD_LIBRARY_PATH timeout 30 "$work/open_dump" >"$work/dump.out" 2>&1 || rc=$?
[ "$rc" -eq 0 ] || { cat "$work/dump.out" >&2; fail "the C program ended with exit code $rc"; }
grep -q ' 1Bh ' "$work/dump.out" || { cat "$work/dump.out" >&2; fail "DUMP showed no bytes"; }

say "a CMake project with find_package(dova)"
mkdir -p "$work/cmake"
cp "$work/open_dump.c" "$work/cmake/"
cat >"$work/cmake/CMakeLists.txt" <<'EOF'
cmake_minimum_required(VERSION 3.16)
project(open_dump C)
find_package(dova 1 REQUIRED)
add_executable(open_dump open_dump.c)
target_link_libraries(open_dump PRIVATE dova::dova)
EOF
(cmake -S "$work/cmake" -B "$work/cmake/build" -G Ninja >"$work/cmake.log" 2>&1 &&
    cmake --build "$work/cmake/build" >>"$work/cmake.log" 2>&1 &&
    env -u LIBDOVA_CONF -u LD_LIBRARY_PATH timeout 30 "$work/cmake/build/open_dump" >>"$work/cmake.log" 2>&1) ||
    { cat "$work/cmake.log" >&2; fail "find_package(dova)"; }

say "all packages good"
