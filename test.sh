#!/usr/bin/env bash
# Builds and runs every test: a Release build in build/ and an AddressSanitizer +
# UndefinedBehaviorSanitizer build in build-asan/, each followed by ctest. Any failure fails
# the script. MTD_BUILD_DIR and MTD_ASAN_BUILD_DIR choose other build directories.
set -euo pipefail
root=$(cd "$(dirname "$0")" && pwd)
cd "$root"

packages=(build-essential cmake librandom123-dev libgtest-dev googletest libbenchmark-dev libfltk1.3-dev fluid
  fonts-liberation xvfb xdotool imagemagick x11-utils openbox g++-mingw-w64-x86-64
  g++-mingw-w64-x86-64-posix wine64 fonts-wine libcli11-dev gnuplot-nox libboost-dev nlohmann-json3-dev)
# mtd-sim-mpi, the sweep over MPI ranks, and mpirun for its tests.
packages+=(libopenmpi-dev openmpi-bin)
# The web page: tested in headless Chromium through chromedriver (emscripten below).
packages+=(chromium chromium-driver python3-selenium)
# The package tests: building the .deb, lintian, the Windows zip.
packages+=(dpkg-dev lintian file desktop-file-utils unzip)
# mtd-sim record: Cairo and giflib to build it, ffmpeg for its videos.
packages+=(libcairo2-dev libgif-dev ffmpeg)
scripts/install-packages.sh "${packages[@]}"
# The web page's compiler, without its recommendations.
MTD_NO_RECOMMENDS=1 scripts/install-packages.sh emscripten

build_dir=${MTD_BUILD_DIR:-build}
asan_dir=${MTD_ASAN_BUILD_DIR:-build-asan}

stage() {
  echo
  echo "==== $1 ($(date +%T))"
}

# One configuration: configure, build, run its tests.
build_and_test() {
  local dir=$1
  shift
  stage "configure $dir"
  cmake -S . -B "$dir" "$@"
  stage "build $dir"
  cmake --build "$dir" -j2
  stage "test $dir"
  (cd "$dir" && ctest --output-on-failure -j2)
}

start=$SECONDS
build_and_test "$build_dir" -DCMAKE_BUILD_TYPE=Release -DMTD_SANITIZE=OFF
# The Windows program is cross-built and tested under Wine, and the packages are built and
# tested, once, in the Release build. The sanitizer build takes the plain loops instead of SSE2,
# so both paths of the silent passes are tested.
build_and_test "$asan_dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DMTD_SANITIZE=ON -DMTD_WINE_TESTS=OFF \
  -DMTD_PACKAGE_TESTS=OFF -DMTD_SIMD=OFF

stage "all tests passed in $((SECONDS - start)) s"
