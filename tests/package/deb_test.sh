#!/usr/bin/env bash
# The Debian package as a user gets it: built with CPack from this build tree, its files and
# control fields listed and checked, lintian run on it, then unpacked into a throwaway root
# whose mtd-sim must print the version and the same transcript as the build tree's.
#
#   deb_test.sh BUILD_DIR BUILT_MTD_SIM VERSION
#
# MTD_EXPECT_MPI=1 when the build has mtd-sim-mpi, which goes into a package of its own.
# Exit status: 0 passed, 1 failed, 77 dpkg-deb, lintian or cpack is missing.
set -uo pipefail

if [[ $# -ne 3 ]]; then
  echo "usage: $0 BUILD_DIR BUILT_MTD_SIM VERSION" >&2
  exit 2
fi
BUILD=$(realpath "$1")
BUILT_SIM=$(realpath "$2")
VERSION=$3
source "$(dirname "$0")/package_lib.sh"
require_tools "Debian: dpkg-dev, lintian, cmake" dpkg-deb dpkg lintian cpack
scratch_dir mtd-deb

# --- Build the packages, into the scratch directory rather than the build tree ---
(cd "$BUILD" && cpack -G DEB -B "$WORK/out") >"$WORK/cpack.log" 2>&1 || {
  cat "$WORK/cpack.log"
  echo "FAIL cpack -G DEB"
  exit 1
}
ARCH=$(dpkg --print-architecture)
MAIN_DEB=$WORK/out/mtd-demo_${VERSION}_${ARCH}.deb
MPI_DEB=$WORK/out/mtd-sim-mpi_${VERSION}_${ARCH}.deb
[[ -f $MAIN_DEB ]] || {
  ls "$WORK/out"
  echo "FAIL no $(basename "$MAIN_DEB") was made"
  exit 1
}
pass "cpack made $(cd "$WORK/out" && echo *.deb)"

# --- Control fields ---
field() { dpkg-deb -f "$1" "$2"; }
expect_field() {  # DEB FIELD PATTERN (an extended regular expression)
  local value
  value=$(field "$1" "$2")
  if [[ $value =~ $3 ]]; then
    pass "$(basename "$1") $2: $value"
  else
    fail "$(basename "$1") $2 is '$value', expected /$3/"
  fi
}
expect_field "$MAIN_DEB" Package '^mtd-demo$'
expect_field "$MAIN_DEB" Version "^${VERSION//./\\.}$"
# From dpkg-shlibdeps: the libraries the two programs link.
expect_field "$MAIN_DEB" Depends 'libfltk1\.3'
expect_field "$MAIN_DEB" Depends 'libc6 \(>= '
expect_field "$MAIN_DEB" Depends 'libstdc\+\+6'
expect_field "$MAIN_DEB" Recommends 'gnuplot'
# mtd-sim record draws with Cairo and writes GIFs with giflib; its videos need ffmpeg.
expect_field "$MAIN_DEB" Depends 'libcairo2'
expect_field "$MAIN_DEB" Depends 'libgif7'
expect_field "$MAIN_DEB" Recommends 'ffmpeg'
if field "$MAIN_DEB" Depends | grep -qi mpi; then
  fail "mtd-demo depends on MPI: $(field "$MAIN_DEB" Depends)"
fi

# --- Files: exactly the expected ones ---
doc=./usr/share/doc/mtd-demo
man=./usr/share/man/man1
icons=./usr/share/icons/hicolor
expected_main=(
  ./usr/bin/mtd-demo ./usr/bin/mtd-sim
  ./usr/share/applications/mtd-demo.desktop
  $icons/16x16/apps/mtd-demo.png $icons/32x32/apps/mtd-demo.png $icons/48x48/apps/mtd-demo.png
  $man/mtd-demo.1.gz $man/mtd-sim.1.gz
  $doc/README.md $doc/copyright $doc/changelog.gz
  $doc/docs/screenshot.png $doc/docs/curves.png
  $doc/examples/init.txt $doc/examples/long-block/init.txt
)
# expect_files DEB EXPECTED...: the package's regular files are exactly these.
expect_files() {
  local deb=$1
  shift
  dpkg-deb -c "$deb" | awk '$1 ~ /^-/ {print $6}' | sort >"$WORK/listed"
  printf '%s\n' "$@" | sort >"$WORK/expected"
  if cmp -s "$WORK/listed" "$WORK/expected"; then
    pass "$(basename "$deb") holds the $# expected files"
  else
    fail "$(basename "$deb") files differ from the expected ones (< listed, > expected):"
    diff "$WORK/listed" "$WORK/expected"
  fi
  # Programs executable, everything else read-only for group and others, all owned by root.
  dpkg-deb -c "$deb" | awk '$1 ~ /^-/ && $2 != "root/root" {print "owner", $2, $6}' >"$WORK/owners"
  dpkg-deb -c "$deb" | awk '$1 ~ /^-/ && $6 ~ /^\.\/usr\/bin\// && $1 != "-rwxr-xr-x" {print $1, $6}
                             $1 ~ /^-/ && $6 !~ /^\.\/usr\/bin\// && $1 != "-rw-r--r--" {print $1, $6}' \
    >>"$WORK/owners"
  if [[ -s $WORK/owners ]]; then
    fail "$(basename "$deb") ownership or modes:"
    cat "$WORK/owners"
  fi
}
expect_files "$MAIN_DEB" "${expected_main[@]}"
dpkg-deb -c "$MAIN_DEB"

if [[ ${MTD_EXPECT_MPI:-0} == 1 ]]; then
  if [[ -f $MPI_DEB ]]; then
    expect_files "$MPI_DEB" ./usr/bin/mtd-sim-mpi $man/mtd-sim-mpi.1.gz \
      ./usr/share/doc/mtd-sim-mpi/copyright ./usr/share/doc/mtd-sim-mpi/changelog.gz
    expect_field "$MPI_DEB" Depends "mtd-demo \\(= ${VERSION//./\\.}\\)"
    expect_field "$MPI_DEB" Depends 'libopenmpi'
    expect_field "$MPI_DEB" Depends 'openmpi-bin'
  else
    fail "no $(basename "$MPI_DEB") although mtd-sim-mpi is built"
  fi
elif [[ -f $MPI_DEB ]]; then
  fail "$(basename "$MPI_DEB") was made without mtd-sim-mpi"
fi

# --- lintian: no errors (it exits 2 on errors; warnings and infos are shown) ---
for deb in "$WORK"/out/*.deb; do
  if lintian --info --display-info "$deb" >"$WORK/lintian.log" 2>&1; then
    pass "lintian $(basename "$deb"): no errors"
  else
    fail "lintian $(basename "$deb") reports errors:"
  fi
  grep -v '^N: ' "$WORK/lintian.log" | grep -v 'running with root privileges' || true
done

# --- Unpacked into a throwaway root: the programs run from there ---
ROOT=$WORK/root
dpkg-deb -x "$MAIN_DEB" "$ROOT" || fail "dpkg-deb -x"
SIM=$ROOT/usr/bin/mtd-sim
version_out=$("$SIM" --version)
if [[ $version_out == "mtd-sim $VERSION" ]]; then
  pass "unpacked mtd-sim --version: $version_out"
else
  fail "unpacked mtd-sim --version printed '$version_out', expected 'mtd-sim $VERSION'"
fi
if file "$SIM" | grep -q 'not stripped'; then
  fail "unpacked mtd-sim is not stripped"
fi

# The defaults' transcript, in an empty directory, from the package and from the build tree;
# then the installed example configuration, which holds the defaults, gives it too.
mkdir -p "$WORK/empty"
(cd "$WORK/empty" && "$SIM") >"$WORK/unpacked.txt" || fail "unpacked mtd-sim exit status $?"
(cd "$WORK/empty" && "$BUILT_SIM") >"$WORK/built.txt" || fail "built mtd-sim exit status $?"
"$SIM" -C "$ROOT/usr/share/doc/mtd-demo/examples" >"$WORK/example.txt" ||
  fail "unpacked mtd-sim on the installed example: exit status $?"
if [[ -s $WORK/built.txt ]] && cmp -s "$WORK/unpacked.txt" "$WORK/built.txt" &&
  cmp -s "$WORK/example.txt" "$WORK/built.txt"; then
  pass "unpacked mtd-sim's transcript equals the build tree's ($(wc -l <"$WORK/built.txt") lines, $(tail -n 1 "$WORK/built.txt"))"
else
  fail "transcripts differ: unpacked $(wc -l <"$WORK/unpacked.txt") lines, built $(wc -l <"$WORK/built.txt"), example $(wc -l <"$WORK/example.txt")"
fi

# The window program finds its shared libraries and fails only for want of a display.
env -u DISPLAY "$ROOT/usr/bin/mtd-demo" >"$WORK/demo.log" 2>&1
demo_status=$?
if [[ $demo_status == 1 ]] && grep -qi "display" "$WORK/demo.log"; then
  pass "unpacked mtd-demo loads and stops without a display: $(head -n 1 "$WORK/demo.log")"
else
  fail "unpacked mtd-demo without a display: status $demo_status, '$(head -n 3 "$WORK/demo.log")'"
fi

# Every option that mtd-sim --help (and mtd-sim sweep --help, where there is a sweep) names is
# in the manual page.
man_text=$(zcat "$ROOT/usr/share/man/man1/mtd-sim.1.gz" | sed 's/\\-/-/g; s/\\f[BIRP]//g')
help_text=$("$SIM" --help)
if sweep_help=$("$SIM" sweep --help 2>/dev/null); then
  help_text+=$'\n'$sweep_help
fi
options=$(grep -oE '(^|[ ,\[])--?[a-zA-Z][a-zA-Z-]*' <<<"$help_text" | tr -d ' ,[' | sort -u)
missing=""
for option in $options; do
  grep -qF -- "$option" <<<"$man_text" || missing+=" $option"
done
if [[ -z $missing ]]; then
  pass "mtd-sim(1) names every option of the help: $(echo $options)"
else
  fail "mtd-sim(1) lacks$missing"
fi
if command -v desktop-file-validate >/dev/null; then
  if desktop-file-validate "$ROOT/usr/share/applications/mtd-demo.desktop" >"$WORK/desktop.log"; then
    pass "desktop-file-validate: $(tr '\n' ' ' <"$WORK/desktop.log")"
  else
    cat "$WORK/desktop.log"
    fail "desktop-file-validate"
  fi
fi

echo "$FAILED failed"
((FAILED == 0))
