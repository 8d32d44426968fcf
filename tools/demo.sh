#!/usr/bin/env bash
# The demo: a generated memory card (made once, then reused), and what the tools show of it.
#   tools/demo.sh BUILD_DIR [--card-only]
set -euo pipefail
build=$(realpath "${1:?usage: tools/demo.sh BUILD_DIR [--card-only]}")
card="$build/demo-card"
blackbox="$build/cli/blackbox"

if [ ! -f "$card/.complete" ]; then
  rm -rf "$card"
  "$build/tools/samplecard/samplecard" "$card" --preset demo --seed 1
  touch "$card/.complete"
fi
[ "${2:-}" = --card-only ] && exit 0

section() { printf '\n== %s\n' "$*"; }
# The first N lines of a command's output. The whole output is read first: `cmd | head` would end
# the command with SIGPIPE, which pipefail takes for a failure.
first() {
  local n=$1 output
  shift
  output=$("$@")
  head -n "$n" <<<"$output"
}

section "The recordings of the card (blackbox list; stubs are named, not deleted)"
"$blackbox" list "$card"

recording=$("$blackbox" list "$card" 2>/dev/null | awk -F'\t' '$3 == "SENS" && !found { print $4; found = 1 }')
section "One recording (blackbox info)"
"$blackbox" info "$recording"

section "Its first GPS samples (blackbox gps --format csv)"
first 6 "$blackbox" gps --format csv "$recording"

section "Its first G-sensor samples (blackbox gsensor --format csv)"
first 4 "$blackbox" gsensor --format csv "$recording"

moment=$("$blackbox" list "$card" 2>/dev/null | awk -F'\t' '$3 == "SENS" && !found { print $1 " " $2; found = 1 }')
section "The recordings that show its first second (blackbox find, the camera's clock)"
"$blackbox" find "$card" --time "$moment"

frame="$build/demo-frame.jpg"
"$blackbox" frame "$recording" --at 1 -o "$frame"
section "A frame of it saved as JPEG (blackbox frame)"
echo "$frame: $(stat -c %s "$frame") bytes"

section "The impacts on the card, largest first (blackbox events --min-g 1)"
"$blackbox" events "$card" --min-g 1 2>/dev/null

impact=$("$blackbox" events "$card" --min-g 1 2>/dev/null | awk -F'\t' 'NR == 1 { sub(/ s$/, "", $2); print $2 "\t" $5 }')
incident="$build/demo-incident"
section "The incident of the largest impact, in one folder (blackbox incident; sha256sum -c checks it)"
if [ -n "$impact" ]; then
  "$blackbox" incident "${impact#*$'\t'}" --at "${impact%%$'\t'*}" --before 5 --after 5 -o "$incident" --force
  (cd "$incident" && sha256sum --quiet -c SHA256SUMS && echo "SHA256SUMS: every file and source recording checks")
fi

section "Days, drives and parking stops of the GPS logs (blackbox trips, time zone Seoul)"
first 15 "$blackbox" trips "$card/GPSLOG"
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

# The programs themselves: opened on a desktop, photographed without one. They keep their
# settings under build/demo, away from the user's own.
demo="$build/demo"
mkdir -p "$demo/config"
event=$("$blackbox" list "$card" 2>/dev/null | awk -F'\t' '$3 == "SENS" && !found { print NR - 1; found = 1 }')
screenshots() {
  section "The programs' screenshots"
  "$(dirname "$0")/screenshots.sh" "$build" "$card" "$demo"
}
if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ] && [ "${QT_QPA_PLATFORM:-}" != offscreen ]; then
  section "The programs, opened on this desktop"
  pids=()
  open_program() {
    local log="$demo/$(basename "$1").log"
    echo "$(basename "$1") ${*:2}    (its output: $log)"
    (cd "$demo" && exec env XDG_CONFIG_HOME="$demo/config" setsid "$@" >"$log" 2>&1) &
    pids+=($!)
  }
  open_program "$build/manager/app/kel2ch-manager" "$card" --row "$event"
  open_program "$build/tracker/app/kel-tracker" "$card/GPSLOG" --lang 0 --row 1
  # A display that is set but cannot be reached (ssh without X forwarding) ends them at once.
  sleep 3
  for pid in "${pids[@]}"; do
    if ! kill -0 "$pid" 2>/dev/null; then
      echo "A program could not open a window on this display; see its log above."
      screenshots
      break
    fi
  done
else
  echo
  echo "(No desktop here: DISPLAY and WAYLAND_DISPLAY are unset, so the programs are photographed.)"
  screenshots
fi
