#!/usr/bin/env bash
# Pictures of the programs at work on a sample card, made headless through their --screenshot
# options: the README's (./dev.sh screenshots) and the headless demo's.
#   tools/screenshots.sh BUILD_DIR CARD OUT_DIR
# Prints the path of every picture it writes; exits 1 when one could not be made.
set -euo pipefail
build=$(realpath "${1:?usage: tools/screenshots.sh BUILD_DIR CARD OUT_DIR}")
card=$(realpath "${2:?usage: tools/screenshots.sh BUILD_DIR CARD OUT_DIR}")
out=${3:?usage: tools/screenshots.sh BUILD_DIR CARD OUT_DIR}
mkdir -p "$out"
out=$(realpath "$out")

# A screen of a common laptop's size, and settings of their own: the user's chosen folders,
# languages and time zones stay out of the pictures, and the pictures out of the user's settings.
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
cat >"$scratch/screens.json" <<'JSON'
{"screens":[{"name":"s1","x":0,"y":0,"width":1280,"height":800,"logicalDpi":96,"logicalBaseDpi":96,"dpr":1}]}
JSON
export QT_QPA_PLATFORM="offscreen:configfile=$scratch/screens.json" QTWEBENGINE_DISABLE_SANDBOX=1
export XDG_CONFIG_HOME=$scratch/config HOME=$scratch/home
mkdir -p "$HOME"
cd "$scratch"

failed=0
# shot NAME PROGRAM ARGS...: runs the program until its picture is taken.
shot() {
  local name=$1 program=$2
  shift 2
  if "$program" "$@" --screenshot "$out/$name.png" >"$scratch/$name.log" 2>&1 && [ -s "$out/$name.png" ]; then
    echo "$out/$name.png"
  else
    echo "screenshots: $name failed: $(basename "$program") $*" >&2
    sed 's/^/  /' "$scratch/$name.log" >&2
    failed=1
  fi
}

# The first event recording of the card (the list's order: by start time).
blackbox="$build/cli/blackbox"
event=$("$blackbox" list "$card" 2>/dev/null | awk -F'\t' '$3 == "SENS" && !found { print NR - 1 "\t" $4; found = 1 }')
event_row=${event%%$'\t'*}
event_file=${event#*$'\t'}

# The managers on the card's first event recording, paused at its fourth second.
managers="$build/manager/app"
shot kel2ch-manager "$managers/kel2ch-manager" "$card" --row "$event_row" --at 4 --pause
shot kel2ch-manager-fullscreen "$managers/kel2ch-manager" "$card" --row "$event_row" --at 4 --pause --fullscreen
shot kel-manager "$managers/kel-manager" "$card" --row "$event_row" --at 4 --pause
shot ryn-manager "$managers/ryn-manager" "$card" --row "$event_row" --at 4 --pause
# The setup dialog on the card, once the window offers it on the command line.
if "$managers/kel2ch-manager" --help 2>/dev/null | grep -q -- --open-setup; then
  shot kel2ch-manager-setup "$managers/kel2ch-manager" --open-setup "$card"
else
  echo "screenshots: kel2ch-manager has no --open-setup yet: no picture of the setup dialog" >&2
fi

# The tracker in English, on the day's first drive (row 0 is the day, row 1 its first drive).
trackers="$build/tracker/app"
shot kel-tracker "$trackers/kel-tracker" "$card/GPSLOG" --lang 0 --row 1
shot lumaro-tracker "$trackers/lumaro-tracker" "$card/GPSLOG" --lang 0 --row 1

# The page an insurer gets for the event's fourth second, as printed (A4, PDF), shown at 100 dpi.
if "$blackbox" print "$event_file" --at 4 -o "$scratch/page.pdf" >"$scratch/print.log" 2>&1 &&
  pdftoppm -r 100 -png -singlefile "$scratch/page.pdf" "$out/print-page"; then
  echo "$out/print-page.png"
else
  echo "screenshots: the printed page failed" >&2
  sed 's/^/  /' "$scratch/print.log" >&2
  failed=1
fi
exit $failed
