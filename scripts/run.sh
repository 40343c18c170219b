#!/usr/bin/env bash
# The main job: installs what the tree needs and builds it.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
"$top/scripts/install-deps.sh"
"$top/scripts/build.sh"
echo "Built: $top/build (prnfeed, tpgdesk, tpgservice, testprinter)"
