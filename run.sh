#!/usr/bin/env bash
# Builds the program (Release, in build/) and starts it in the current directory, so that an
# init.txt there is used and the built-in defaults otherwise. Arguments go to the program.
#
# ./run.sh web builds the program's web page with Debian's emscripten instead (in build-web/,
# or MTD_WEB_BUILD_DIR) and serves its folder of static files on 127.0.0.1 (port 8000, or
# MTD_WEB_PORT) until Ctrl-C, printing the address to open.
set -euo pipefail
root=$(cd "$(dirname "$0")" && pwd)

if [[ ${1:-} == web ]]; then
  "$root/scripts/install-packages.sh" cmake make python3
  MTD_NO_RECOMMENDS=1 "$root/scripts/install-packages.sh" emscripten
  web_dir=${MTD_WEB_BUILD_DIR:-$root/build-web}
  emcmake cmake -S "$root" -B "$web_dir" -DCMAKE_BUILD_TYPE=Release >/dev/null
  cmake --build "$web_dir" -j2
  port=${MTD_WEB_PORT:-8000}
  echo "The page is built in $web_dir/site. Open http://127.0.0.1:$port/ (Ctrl-C stops serving)."
  exec python3 -m http.server --bind 127.0.0.1 "$port" --directory "$web_dir/site"
fi

# The window program; it reads init.txt from the working directory and takes no arguments.
# (The headless runner is build/cli/mtd-sim.)
target=mtd-demo
binary=platform/fltk/mtd-demo

# What the default configuration needs to build (the tests and the FLTK program are part of it).
packages=(build-essential cmake librandom123-dev libgtest-dev googletest libfltk1.3-dev fluid fonts-liberation
  libcli11-dev gnuplot-nox libboost-dev nlohmann-json3-dev)
# mtd-sim-mpi, the sweep over MPI ranks, and mpirun for its tests.
packages+=(libopenmpi-dev openmpi-bin)
# mtd-sim record: Cairo and giflib; ffmpeg for its videos.
packages+=(libcairo2-dev libgif-dev ffmpeg)

build_dir=${MTD_BUILD_DIR:-$root/build}
"$root/scripts/install-packages.sh" "${packages[@]}"
cmake -S "$root" -B "$build_dir" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build_dir" --target "$target" -j2
exec "$build_dir/$binary"
