#!/usr/bin/env bash
# The test command: installs what the tree needs, builds it and runs every test.
#   scripts/test.sh                         plain build in ./build
#   TP_SANITIZE=address\;undefined scripts/test.sh   the same under ASan/UBSan
#   TP_SANITIZE=thread scripts/test.sh               the same under TSan
# The plain build then makes the Debian packages and checks them
# (scripts/check-packages.sh: lintian, installing them and using them);
# TP_SKIP_PACKAGES=1 leaves that out. The plain build also runs the short
# pass of the fuzz targets.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
"$top/scripts/install-deps.sh"
"$top/scripts/build.sh"
san=${TP_SANITIZE:-}
case "$san" in "") dir=$top/build ;; thread) dir=$top/build-tsan ;; *) dir=$top/build-asan ;; esac
mkdir -p "$top/artifacts"
cd "$dir"
ctest --output-on-failure -j2 --timeout 600
# A few seconds of every fuzz target over its kept corpus, in a small build
# folder of its own (scripts/fuzz.sh): a parser change that fails on a known
# input fails here. TP_SKIP_FUZZ=1 leaves it out.
if [ -z "$san" ] && [ "${TP_SKIP_FUZZ:-}" != 1 ]; then
    "$top/scripts/fuzz.sh" short
fi
# Packages are made from the plain build only: an instrumented library is
# not one to ship.
if [ -z "$san" ] && [ "${TP_SKIP_PACKAGES:-}" != 1 ]; then
    "$top/scripts/check-packages.sh" "$dir"
fi
