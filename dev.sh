#!/usr/bin/env bash
# One entry point for newcomers and CI: installs what is missing, builds, tests, runs the demo.
#   ./dev.sh setup                 install the Debian packages the project needs
#   ./dev.sh build [--sanitize]    configure and build (build/ or build-sanitize/)
#   ./dev.sh test  [--sanitize]    build and run every test
#   ./dev.sh demo                  build and show the programs on a generated sample card
#   ./dev.sh screenshots           build and remake the README's pictures (docs/screenshots)
#   ./dev.sh bench                 build optimised, run every benchmark, print its headline figures
#   ./dev.sh format [--check]      format the C++ sources with clang-format (--check: list the
#                                  files that are not formatted, and fail if there are any)
#   ./dev.sh tidy                  run clang-tidy (.clang-tidy) over the core libraries
#   ./dev.sh fuzz [TARGET] [--seconds N]
#                                  fuzz every parser (or one) for N seconds each (default 60) under
#                                  ASan and UBSan; build-fuzz/, findings in build-fuzz/findings/
#   ./dev.sh package               build Release and make the Debian package (build-release/*.deb)
set -euo pipefail
cd "$(dirname "$0")"
ROOT=$PWD

PACKAGES=(
  # build tools
  cmake ninja-build g++ pkg-config git ccache
  # Qt 6
  qt6-base-dev qt6-base-dev-tools qt6-svg-dev qt6-webengine-dev libgl-dev
  # GStreamer 1.22
  libgstreamer1.0-dev libgstreamer-plugins-base1.0-dev gstreamer1.0-tools
  gstreamer1.0-plugins-base gstreamer1.0-plugins-good gstreamer1.0-plugins-bad
  gstreamer1.0-plugins-ugly gstreamer1.0-libav
  # codecs, maps, fonts
  liblzo2-dev libturbojpeg0-dev libjs-leaflet fonts-noto-cjk fonts-dejavu-core fonts-liberation2 nlohmann-json3-dev
  # tests and benchmarks
  libgtest-dev libgmock-dev libbenchmark-dev ffmpeg gpsbabel poppler-utils
  # the card format (mkfs.fat, fsck.fat) and the tests' look at the formatted images
  dosfstools file
  # the parsers' fuzz targets
  clang-14 libfuzzer-14-dev
  # one format and the static checks
  clang-format clang-tidy
  # the Debian package, its manual pages, and the checks of what it installs
  dpkg-dev fakeroot lintian help2man xz-utils desktop-file-utils appstream shared-mime-info
)

as_root() {
  if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi
}

setup() {
  local missing=()
  for p in "${PACKAGES[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
      missing+=("$p")
    fi
  done
  if [ ${#missing[@]} -eq 0 ]; then
    return 0
  fi
  echo "dev.sh: installing ${missing[*]}" >&2
  as_root apt-get -o DPkg::Lock::Timeout=600 update -q
  as_root env DEBIAN_FRONTEND=noninteractive apt-get -o DPkg::Lock::Timeout=600 install -y -q --no-install-recommends "${missing[@]}"
}

jobs() { nproc 2>/dev/null || echo 2; }

configure_and_build() {
  local dir=$1; shift
  # Reuse compiled objects across checkouts when ccache is there (it is optional).
  if command -v ccache >/dev/null 2>&1; then
    export CCACHE_BASEDIR=$ROOT CCACHE_NOHASHDIR=1
    set -- "$@" -DCMAKE_CXX_COMPILER_LAUNCHER=ccache
  fi
  cmake -S "$ROOT" -B "$ROOT/$dir" -G Ninja "$@" >/dev/null
  cmake --build "$ROOT/$dir" -j "$(jobs)"
}

# Extra configure options of the build/ and build-sanitize/ trees; `./dev.sh test` (the CI path)
# makes the warnings errors there.
BUILD_OPTIONS=()

build() {
  if [ "${1:-}" = "--sanitize" ]; then
    configure_and_build build-sanitize -DCMAKE_BUILD_TYPE=Debug -DBLACKBOX_SANITIZE=ON ${BUILD_OPTIONS[@]+"${BUILD_OPTIONS[@]}"}
  else
    configure_and_build build -DCMAKE_BUILD_TYPE=RelWithDebInfo ${BUILD_OPTIONS[@]+"${BUILD_OPTIONS[@]}"}
  fi
}

run_tests() {
  local dir=build
  if [ "${1:-}" = "--sanitize" ]; then
    dir=build-sanitize
    # intercept_tls_get_addr=0: GCC 12's LeakSanitizer keeps a stale view of a thread's dynamic TLS
    # once glibc has grown its table of TLS modules (many GStreamer and Qt plugins loaded), and its
    # leak check at exit then crashes ("Tracer caught signal 11") instead of reporting.
    export ASAN_OPTIONS=halt_on_error=1:abort_on_error=1:detect_leaks=1:intercept_tls_get_addr=0
    export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
    export LSAN_OPTIONS=suppressions=$ROOT/tests/lsan.supp:print_suppressions=0
  fi
  export QT_QPA_PLATFORM=offscreen QTWEBENGINE_DISABLE_SANDBOX=1
  ctest --test-dir "$ROOT/$dir" --output-on-failure -j "$(jobs)"
}

demo() {
  "$ROOT/tools/demo.sh" "$ROOT/build"
}

# The README's pictures, from the demo's sample card.
screenshots() {
  "$ROOT/tools/demo.sh" "$ROOT/build" --card-only
  "$ROOT/tools/screenshots.sh" "$ROOT/build" "$ROOT/build/demo-card" "$ROOT/docs/screenshots"
}

bench() {
  configure_and_build build-bench -DCMAKE_BUILD_TYPE=Release
  export QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen} QTWEBENGINE_DISABLE_SANDBOX=1
  local logs=$ROOT/build-bench/logs b name failed=()
  rm -rf "$logs"
  mkdir -p "$logs"
  for b in "$ROOT"/build-bench/bench/bench_*; do
    # Only the programs: the build also leaves folders (Qt's generated sources) beside them.
    [ -f "$b" ] && [ -x "$b" ] || continue
    name=$(basename "$b")
    echo "== $name"
    "$b" 2>&1 | tee "$logs/$name.txt" || failed+=("$name")
  done
  bench_headlines "$logs"
  if [ ${#failed[@]} -gt 0 ]; then
    echo "dev.sh: these benchmarks failed: ${failed[*]}" >&2
    return 1
  fi
}

# The headline figures of every benchmark's log: each Google Benchmark result (its name and real
# time), or for the programs that print their own figures, their first two timings.
bench_headlines() {
  local log name
  echo
  echo "== headline figures"
  for log in "$1"/*.txt; do
    name=$(basename "$log" .txt)
    if grep -q '^BM_' "$log"; then
      awk -v p="$name" '/^BM_/ && NF >= 3 { printf "%-22s %-56s %10s %s\n", p, $1, $2, $3 }' "$log"
    else
      grep -E '[0-9] ms' "$log" | head -2 | awk -v p="$name" '{ $1 = $1; printf "%-22s %s\n", p, $0 }'
    fi
  done
}

# Builds the parsers with libFuzzer (clang) in build-fuzz/, writes the seed corpora from a
# generated sample card once, then runs each target for the given time. Inputs that grow
# coverage collect in build-fuzz/corpus/TARGET; a crash, hang or leak stops with its input
# saved in build-fuzz/findings/ and a non-zero exit.
fuzz() {
  local only="" seconds=60
  while [ $# -gt 0 ]; do
    case "$1" in
      --seconds) seconds=${2:?--seconds needs a number}; shift 2 ;;
      -*) echo "usage: ./dev.sh fuzz [TARGET] [--seconds N]" >&2; return 1 ;;
      *) only=$1; shift ;;
    esac
  done
  local dir=$ROOT/build-fuzz
  configure_and_build build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBLACKBOX_FUZZ=ON -DCMAKE_CXX_COMPILER=clang++-14 \
    -DBLACKBOX_WERROR=ON
  if [ ! -f "$dir/seeds/.complete" ] || [ "$dir/fuzz/fuzz_seeds" -nt "$dir/seeds/.complete" ]; then
    rm -rf "$dir/seeds"
    "$dir/fuzz/fuzz_seeds" "$dir/seeds"
    touch "$dir/seeds/.complete"
  fi
  local targets
  if [ -n "$only" ]; then
    if ! grep -qx "$only" "$dir/fuzz/targets.txt"; then
      echo "dev.sh: no fuzz target '$only'; there are: $(tr '\n' ' ' <"$dir/fuzz/targets.txt")" >&2
      return 1
    fi
    targets=$only
  else
    targets=$(cat "$dir/fuzz/targets.txt")
  fi
  mkdir -p "$dir/findings"
  export ASAN_OPTIONS=abort_on_error=1:detect_leaks=1
  export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
  local failed=0 t log
  for t in $targets; do
    mkdir -p "$dir/corpus/$t" "$dir/seeds/$t"
    log=$dir/findings/$t.log
    # -timeout: an input that takes this long is a hang; -rss_limit_mb: and this much memory a leak.
    if "$dir/fuzz/fuzz_$t" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2560 -print_final_stats=1 \
         -artifact_prefix="$dir/findings/$t-" "$dir/corpus/$t" "$dir/seeds/$t" >"$log" 2>&1; then
      awk -v t="$t" '/^stat::number_of_executed_units:/ {runs=$2}
                     /^Done [0-9]+ runs in/ {secs=$5}
                     /^stat::peak_rss_mb:/ {rss=$2}
                     END {printf "fuzz %-16s %9d runs in %3d s, %7.0f exec/s, peak %s MB\n", t, runs, secs, secs ? runs/secs : 0, rss}' "$log"
    else
      echo "fuzz $t: FINDING (see $log and $dir/findings/$t-*)" >&2
      grep -E '^(==[0-9]+==ERROR|SUMMARY|.*runtime error)' "$log" | head -5 >&2 || true
      failed=1
    fi
  done
  return $failed
}

# The C++ sources of the project (everything in git is ours; nothing third-party is vendored).
cxx_sources() {
  git -C "$ROOT" ls-files -- '*.cpp' '*.h'
}

format() {
  local check=0
  case "${1:-}" in
    --check) check=1 ;;
    "") ;;
    *) echo "usage: ./dev.sh format [--check]" >&2; return 1 ;;
  esac
  if [ $check -eq 0 ]; then
    cxx_sources | xargs -r -P "$(jobs)" -n 20 clang-format -i
    return 0
  fi
  local f bad=()
  while IFS= read -r f; do
    clang-format --dry-run --Werror "$f" >/dev/null 2>&1 || bad+=("$f")
  done < <(cxx_sources)
  if [ ${#bad[@]} -gt 0 ]; then
    printf '%s\n' "${bad[@]}" >&2
    echo "dev.sh: ${#bad[@]} files are not formatted; ./dev.sh format formats them" >&2
    return 1
  fi
}

# The .cpp files of the core libraries: the folders cmake/layers.txt puts in the core layer (a
# file belongs to its longest listed folder, so common/gui stays out).
core_sources() {
  git -C "$ROOT" ls-files -- '*.cpp' |
    awk 'NR == FNR { if ($0 !~ /^#/ && NF == 2) layer[$1] = $2; next }
         { best = ""
           for (f in layer) if (index($0, f "/") == 1 && length(f) > length(best)) best = f
           if (best != "" && layer[best] == "core") print }' "$ROOT/cmake/layers.txt" -
}

# clang-tidy with .clang-tidy over the core libraries, from build/'s compile commands (configured
# here if needed; the core has no generated sources, so nothing needs building first).
tidy() {
  if [ ! -f "$ROOT/build/compile_commands.json" ]; then
    cmake -S "$ROOT" -B "$ROOT/build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
  fi
  # -fsized-deallocation: clang 14 leaves it off, and the point store's allocator uses it (GCC
  # has it on for C++14 and later). -Wno-error: the compilers judge their own warnings; a GCC
  # build with -Werror must not make clang's differing ones fail here.
  local log status=0
  log=$(mktemp)
  core_sources | (cd "$ROOT" && xargs -r -P "$(jobs)" -n 4 clang-tidy -p build --quiet \
    --extra-arg=-fsized-deallocation --extra-arg=-Wno-error) >"$log" 2>&1 || status=$?
  grep -v -E '^[0-9]+ warnings? (and [0-9]+ errors? )?generated\.$|^Suppressed [0-9]+ warnings|^Use -header-filter' "$log" || true
  rm -f "$log"
  if [ $status -ne 0 ]; then
    echo "dev.sh: clang-tidy found problems in the core libraries" >&2
    return 1
  fi
}

package() {
  # Debian's hardening flags, as dpkg-buildpackage would set them (without its -g -O2: Release
  # chooses the optimisation, and the package's programs are stripped).
  export DEB_BUILD_MAINT_OPTIONS=hardening=+all DEB_CXXFLAGS_MAINT_STRIP="-g -O2"
  configure_and_build build-release -DCMAKE_BUILD_TYPE=Release -DBLACKBOX_TESTS=OFF \
    "-DCMAKE_CXX_FLAGS=$(dpkg-buildflags --get CPPFLAGS) $(dpkg-buildflags --get CXXFLAGS)" \
    "-DCMAKE_EXE_LINKER_FLAGS=$(dpkg-buildflags --get LDFLAGS)"
  rm -f "$ROOT"/build-release/*.deb
  (cd "$ROOT/build-release" && cpack -G DEB >/dev/null)
  local deb
  deb=$(ls "$ROOT"/build-release/*.deb)
  echo "== $deb ($(du -h "$deb" | cut -f1), $(dpkg-deb -f "$deb" Installed-Size) KiB installed)"
  dpkg-deb -f "$deb" Depends Recommends Conflicts
  echo "== lintian (errors fail the package)"
  local tags status=0
  tags=$(lintian --fail-on error "$deb" 2>&1) || status=$?
  # CI runs as root, which lintian remarks on.
  printf '%s\n' "$tags" | grep -v 'running with root privileges' || true
  if [ "$status" -ne 0 ]; then
    echo "dev.sh: lintian found errors in $deb" >&2
    exit 1
  fi
  echo "install it with: apt install $deb"
}

cmd=${1:-}
shift || true
case "$cmd" in
  setup) setup ;;
  build) setup; build "$@" ;;
  test)  setup; BUILD_OPTIONS=(-DBLACKBOX_WERROR=ON); build "$@"; run_tests "$@" ;;
  demo)  setup; build; demo ;;
  screenshots) setup; build; screenshots ;;
  bench) setup; bench "$@" ;;
  package) setup; package ;;
  fuzz)  setup; fuzz "$@" ;;
  format) setup; format "$@" ;;
  tidy)  setup; tidy ;;
  *) echo "usage: ./dev.sh setup|build|test|demo|screenshots|bench|package [--sanitize] | fuzz [TARGET] [--seconds N] | format [--check] | tidy" >&2; exit 1 ;;
esac
