#!/usr/bin/env bash
# The test command: installs what the tree needs, builds it and runs every test.
#   scripts/test.sh                         plain build in ./build
#   TP_SANITIZE=address\;undefined scripts/test.sh   the same under ASan/UBSan
#   TP_SANITIZE=thread scripts/test.sh               the same under TSan
# The plain build then makes the Debian packages and checks them
# (scripts/check-packages.sh: lintian, installing them and using them);
# TP_SKIP_PACKAGES=1 leaves that out.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
"$top/scripts/install-deps.sh"
"$top/scripts/build.sh"
san=${TP_SANITIZE:-}
case "$san" in "") dir=$top/build ;; thread) dir=$top/build-tsan ;; *) dir=$top/build-asan ;; esac
mkdir -p "$top/artifacts"
cd "$dir"
ctest --output-on-failure -j2 --timeout 600
# Packages are made from the plain build only: an instrumented library is
# not one to ship.
if [ -z "$san" ] && [ "${TP_SKIP_PACKAGES:-}" != 1 ]; then
    "$top/scripts/check-packages.sh" "$dir"
fi
