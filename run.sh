#!/usr/bin/env bash
# Builds the program (Release, in build/) and starts it in the current directory, so that an
# init.txt there is used and the built-in defaults otherwise. Arguments go to the program.
set -euo pipefail
root=$(cd "$(dirname "$0")" && pwd)

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
