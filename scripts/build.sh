#!/usr/bin/env bash
# Configures (once) and builds the tree into a build folder.
#   scripts/build.sh [build-dir] [extra cmake options...]
# TP_SANITIZE=address\;undefined or TP_SANITIZE=thread in the environment
# selects an instrumented build (default folder build-asan / build-tsan).
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
san=${TP_SANITIZE:-}
default=build
case "$san" in
    "") ;;
    thread) default=build-tsan ;;
    *) default=build-asan ;;
esac
dir=${1:-$top/$default}
shift || true
if [ ! -f "$dir/build.ninja" ]; then
    cmake -S "$top" -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "-DTP_SANITIZE=$san" "$@"
fi
cmake --build "$dir"
