#!/usr/bin/env bash
# One entry point for newcomers and CI: installs what is missing, builds, tests, runs the demo.
#   ./dev.sh setup                 install the Debian packages the project needs
#   ./dev.sh build [--sanitize]    configure and build (build/ or build-sanitize/)
#   ./dev.sh test  [--sanitize]    build and run every test
#   ./dev.sh demo                  build and show the programs on a generated sample card
#   ./dev.sh screenshots           build and remake the README's pictures (docs/screenshots)
#   ./dev.sh bench                 build optimised and print the benchmark figures
#   ./dev.sh package               build Release and make the Debian package (build-release/*.deb)
set -euo pipefail
cd "$(dirname "$0")"
ROOT=$PWD

PACKAGES=(
  # build tools
  cmake ninja-build g++ pkg-config git
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

build() {
  if [ "${1:-}" = "--sanitize" ]; then
    configure_and_build build-sanitize -DCMAKE_BUILD_TYPE=Debug -DBLACKBOX_SANITIZE=ON
  else
    configure_and_build build -DCMAKE_BUILD_TYPE=RelWithDebInfo
  fi
}

run_tests() {
  local dir=build
  if [ "${1:-}" = "--sanitize" ]; then
    dir=build-sanitize
    export ASAN_OPTIONS=halt_on_error=1:abort_on_error=1:detect_leaks=1
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
  for b in "$ROOT"/build-bench/bench/bench_*; do
    [ -x "$b" ] || continue
    echo "== $(basename "$b")"
    "$b"
  done
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
  test)  setup; build "$@"; run_tests "$@" ;;
  demo)  setup; build; demo ;;
  screenshots) setup; build; screenshots ;;
  bench) setup; bench "$@" ;;
  package) setup; package ;;
  *) echo "usage: ./dev.sh setup|build|test|demo|screenshots|bench|package [--sanitize]" >&2; exit 1 ;;
esac
