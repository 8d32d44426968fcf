#!/usr/bin/env bash
# The demo: a generated memory card, and what the tools show of it.
set -euo pipefail
build=${1:?usage: tools/demo.sh BUILD_DIR}
root=$(cd "$(dirname "$0")/.." && pwd)
card="$root/demo-card"
blackbox="$build/cli/blackbox"

rm -rf "$card"
"$build/tools/blackbox-demo-card" "$card"

section() { printf '\n== %s\n' "$*"; }

section "blackbox list $card   (the stub is named, not deleted)"
"$blackbox" list "$card"

first=$("$blackbox" list "$card" 2>/dev/null | awk -F'\t' '$3 == "SENS" { print $4; exit }')
section "blackbox info --json $first"
"$blackbox" info --json "$first"

section "blackbox gps --format csv $first"
"$blackbox" gps --format csv "$first" | head -n 6

section "blackbox gsensor --format csv $first   (first rows)"
"$blackbox" gsensor --format csv "$first" | head -n 4

section "blackbox list --clean $card   (the manager deletes the stub)"
"$blackbox" list --clean "$card" >/dev/null
"$blackbox" list "$card" | wc -l | xargs printf '%s recordings listed, no stub left\n'
