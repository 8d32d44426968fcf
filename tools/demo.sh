#!/usr/bin/env bash
# The demo: a generated memory card (made once, then reused), and what the tools show of it.
set -euo pipefail
build=${1:?usage: tools/demo.sh BUILD_DIR}
card="$build/demo-card"
blackbox="$build/cli/blackbox"

if [ ! -f "$card/.complete" ]; then
  rm -rf "$card"
  "$build/tools/samplecard/samplecard" "$card" --preset demo --seed 1
  touch "$card/.complete"
fi

section() { printf '\n== %s\n' "$*"; }

section "The recordings of the card (blackbox list; stubs are named, not deleted)"
"$blackbox" list "$card"

recording=$("$blackbox" list "$card" 2>/dev/null | awk -F'\t' '$3 == "SENS" { print $4; exit }')
section "One recording (blackbox info)"
"$blackbox" info "$recording"

section "Its first GPS samples (blackbox gps --format csv)"
"$blackbox" gps --format csv "$recording" | head -n 6

section "Its first G-sensor samples (blackbox gsensor --format csv)"
"$blackbox" gsensor --format csv "$recording" | head -n 4

frame="$build/demo-frame.jpg"
"$blackbox" frame "$recording" --at 1 -o "$frame"
section "A frame of it saved as JPEG (blackbox frame)"
echo "$frame: $(stat -c %s "$frame") bytes"

section "Days, drives and parking stops of the GPS logs (blackbox trips, time zone Seoul)"
"$blackbox" trips "$card/GPSLOG" | head -n 15
echo "..."

gpx="$build/demo-trips.gpx"
"$blackbox" export "$card/GPSLOG" --format gpx -o "$gpx"
section "GPX export of every drive (blackbox export)"
echo "$gpx: $(grep -c '<trk>' "$gpx") drives, $(grep -c '<trkpt' "$gpx") points"

database="$build/demo-trips.KEL"
"$blackbox" save "$card/GPSLOG" "$database"
section "Trip database (blackbox save)"
echo "$database: $(stat -c %s "$database") bytes"

section "The camera's settings on the card (blackbox setup show)"
"$blackbox" setup show "$card"

manager="$build/manager/app/kel2ch-manager"
if [ -x "$manager" ]; then
  shot="$build/demo-manager.png"
  QT_QPA_PLATFORM=offscreen "$manager" "$card" --row 0 --at 5 --screenshot "$shot" 2>/dev/null || true
  section "The manager playing the first recording (kel2ch-manager --screenshot)"
  echo "$shot"
  if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
    "$manager" "$card" --row 0 &
  fi
fi
