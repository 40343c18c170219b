#!/usr/bin/env bash
# Installs the Debian packages that the named parts of the tree need
# (scripts/packages/<part>.txt, one package a line, '#' starts a comment).
# Without arguments every part is covered. Packages already installed are
# skipped, so running it again costs a few dpkg look-ups and nothing else.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
parts=("$@")
if [ ${#parts[@]} -eq 0 ]; then
    for f in "$here"/packages/*.txt; do parts+=("$(basename "$f" .txt)"); done
fi

missing=()
for part in "${parts[@]}"; do
    list="$here/packages/$part.txt"
    [ -f "$list" ] || { echo "install-deps: no package list for '$part'" >&2; exit 2; }
    while read -r pkg _; do
        [ -z "$pkg" ] && continue
        case "$pkg" in \#*) continue ;; esac
        [[ $(dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null) == *"install ok installed"* ]] || missing+=("$pkg")
    done < "$list"
done

if [ ${#missing[@]} -gt 0 ]; then
    echo "install-deps: installing ${missing[*]}"
    sudo=""
    [ "$(id -u)" -eq 0 ] || sudo="sudo"
    export DEBIAN_FRONTEND=noninteractive
    $sudo apt-get update -qq
    $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi
