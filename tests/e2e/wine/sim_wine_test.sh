#!/usr/bin/env bash
# mtd-sim.exe (the MinGW-w64 cross build) under Wine against the native mtd-sim: the same
# arguments must give the same counts and the same transcript, on every lane path the Windows
# build has, with outputs written and replaced the Windows way.
#
#   sim_wine_test.sh MTD_SIM_EXE NATIVE_MTD_SIM
#
# Exit status: 0 passed, 1 failed, 77 Wine is missing.
set -uo pipefail

if [[ $# -ne 2 ]]; then
  echo "usage: $0 MTD_SIM_EXE NATIVE_MTD_SIM" >&2
  exit 2
fi
HERE=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
EXE=$(realpath "$1")
NATIVE=$(realpath "$2")
WINE=""
for candidate in /usr/lib/wine/wine64 "$(command -v wine64)"; do
  [[ -n $candidate && -x $candidate ]] && WINE=$candidate && break
done
[[ -n $WINE ]] || {
  echo "SKIP: no 64-bit Wine loader (Debian: wine64)"
  exit 77
}
WINESERVER=$(dirname "$WINE")/wineserver
[[ -f $EXE ]] || {
  echo "FAIL: $EXE was not built"
  exit 1
}

WORK=$(mktemp -d "${TMPDIR:-/tmp}/mtd-sim-wine.XXXXXX")
cleanup() {
  [[ -x $WINESERVER ]] && WINEPREFIX=$WORK/prefix "$WINESERVER" -k 2>/dev/null
  rm -rf "$WORK"
}
trap cleanup EXIT
export WINEPREFIX=$WORK/prefix WINEARCH=win64 WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="  # no Mono or Gecko installer dialogs
"$WINE" wineboot --init >"$WORK/wineboot.log" 2>&1 || {
  cat "$WORK/wineboot.log"
  echo "FAIL: wineboot"
  exit 1
}

FAILED=0
pass() { echo "PASS $*"; }
fail() {
  echo "FAIL $*"
  FAILED=$((FAILED + 1))
}

# Runs in $WORK/run with standard output in $WORK/$1 (line ends as Linux writes them) and
# standard error in $WORK/$1.err; returns the program's status.
win() {
  local out=$WORK/$1
  shift
  (cd "$WORK/run" && timeout --kill-after=10 240 "$WINE" "$EXE" "$@" >"$out.raw" 2>"$out.err")
  local status=$?
  tr -d '\r' <"$out.raw" >"$out"
  return $status
}
native() {
  local out=$WORK/$1
  shift
  (cd "$WORK/run" && timeout --kill-after=10 240 "$NATIVE" "$@" >"$out" 2>"$out.err")
}

# The CSV's rows without the columns that measure time.
counts() {
  awk -F, '/^#/ { next }
    !named { named = 1; for (i = 1; i <= NF; ++i) if ($i != "seconds" && $i != "info_mbps") keep[i] = 1 }
    { row = ""; for (i = 1; i <= NF; ++i) if (i in keep) row = row $i ","; print row }' "$1"
}

mkdir -p "$WORK/run" "$WORK/bin"
cd "$WORK"

# The transcript of the default Run and the trace of one trial, byte for byte.
native native.txt && win win.txt
if [[ -s native.txt ]] && cmp -s native.txt win.txt; then
  pass "the transcript is the native one ($(wc -l <win.txt) lines)"
else
  fail "the transcript differs from the native one"
  diff native.txt win.txt | head -n 10
fi
native native-trial.txt --trial 2 && win win-trial.txt --trial 2
if [[ -s native-trial.txt ]] && cmp -s native-trial.txt win-trial.txt; then
  pass "--trial 2 is traced as natively"
else
  fail "--trial 2 differs from the native trace"
  diff native-trial.txt win-trial.txt | head -n 10
fi

# A sweep on one thread and on two, on every lane path this processor and the build offer.
readonly SWEEP=(sweep --p 0.05 --frames 20000 --frame-errors 0)
native native-sweep.txt "${SWEEP[@]}" --threads 1 --csv native.csv || fail "native sweep"
counts "$WORK/run/native.csv" >expected.csv
for lanes in default portable avx2 avx512; do
  if [[ $lanes == default ]]; then
    win sweep.txt "${SWEEP[@]}" --threads 1 --csv win.csv
  else
    MTD_LANES=$lanes win sweep.txt "${SWEEP[@]}" --threads 2 --csv win.csv
  fi
  status=$?
  if [[ $status -ne 0 ]] && grep -q "MTD_LANES" sweep.txt.err; then
    echo "SKIP of the $lanes lanes: $(head -n 1 sweep.txt.err)"
    continue
  fi
  used=$(sed -n 's/^# *lanes *//; s/ (MTD_LANES chooses)//p' "$WORK/run/win.csv" | head -n 1)
  if [[ $status -eq 0 ]] && counts "$WORK/run/win.csv" | cmp -s - expected.csv; then
    pass "sweep counts ($lanes lanes: ${used:-?}) equal the native ones: $(sed -n 2p expected.csv)"
  else
    fail "sweep with $lanes lanes (status $status): $(head -c 300 sweep.txt.err)"
    counts "$WORK/run/win.csv" | diff expected.csv - | head -n 6
  fi
done
if grep -q '^ *0.05 ' "$WORK/sweep.txt"; then
  pass "the table has the point's row"
else
  fail "no row for p = 0.05 in the table"
fi

# The CSV replaced in place: written again over the same name, no temporary file left.
win again.txt sweep --p 0.03 --frames 1024 --csv win.csv
if [[ $(counts "$WORK/run/win.csv" | sed -n 2p | cut -d, -f2) == 0.03 ]] &&
  [[ -z $(find "$WORK/run" -maxdepth 1 -name '.*' ! -name . -print) ]]; then
  pass "an existing CSV is replaced, and no temporary file is left"
else
  fail "replacing win.csv: $(cat again.txt.err) $(ls -A "$WORK/run")"
fi

# A closed pipe (the reader gone, as with "| head"): the sweep stops as on Linux with 141,
# keeping the finished point in its CSV. Windows reports such a write as EINVAL.
status=$( (
  cd "$WORK/run" && {
    timeout --kill-after=10 240 "$WINE" "$EXE" sweep --p 0.07,0.01 --frames 1e12 --csv piped.csv \
      2>"$WORK/piped.err"
    echo $? >"$WORK/piped.status"
  } | head -c 1 >/dev/null
) && cat "$WORK/piped.status")
if [[ $status -eq 141 ]] && [[ $(counts "$WORK/run/piped.csv" | sed -n 2p | cut -d, -f2) == 0.07 ]] &&
  grep -q '^# interrupted' "$WORK/run/piped.csv" &&
  [[ -z $(find "$WORK/run" -maxdepth 1 -name '.*' ! -name . -print) ]]; then
  pass "a closed pipe stops the sweep with 141, keeps the finished point, leaves no temporary file"
else
  fail "closed pipe: status $status, $(cat piped.err)"
fi

# A device is written, never replaced: NUL takes the CSV, and no file appears.
win nul.txt sweep --p 0.03 --frames 1024 --csv NUL
status=$?
if [[ $status -eq 0 && -z $(find "$WORK/run" -maxdepth 1 -iname 'nul*' -print) ]] &&
  [[ -z $(find "$WORK/run" -maxdepth 1 -name '.*' ! -name . -print) ]]; then
  pass "--csv NUL writes into the device"
else
  fail "--csv NUL: status $status, $(cat nul.txt.err) $(ls -A "$WORK/run")"
fi

# Without gnuplot on PATH (Wine's PATH holds Windows folders only) the plot is refused first.
win plot.txt sweep --p 0.03 --frames 1024 --plot c.png
status=$?
if [[ $status -eq 2 ]] && grep -q 'gnuplot.exe is not on PATH' plot.txt.err; then
  pass "--plot without gnuplot: $(cat plot.txt.err)"
else
  fail "--plot without gnuplot: status $status, $(cat plot.txt.err)"
fi

# With a plotter on PATH: a stand-in gnuplot.exe that writes the script it was given into the
# output file, so the pipe to a Windows child process is checked whole.
MINGW=$(command -v x86_64-w64-mingw32-g++-posix)
if [[ -z $MINGW ]]; then
  echo "SKIP of the plot through gnuplot.exe: no x86_64-w64-mingw32-g++-posix to build the stand-in"
elif ! "$MINGW" -O1 -static -o "$WORK/bin/gnuplot.exe" "$HERE/StandInPlotter.cpp" 2>plotter.log; then
  fail "building the stand-in gnuplot.exe: $(cat plotter.log)"
else
  WINEPATH='Z:'${WORK//\//\\}'\bin' win plotted.txt sweep --p 0.03,0.05 --frames 1024 --plot c.png
  status=$?
  if [[ $status -eq 0 ]] && grep -q '^set terminal pngcairo' "$WORK/run/c.png" &&
    grep -q "capacity limit" "$WORK/run/c.png" && grep -q '^ *0.05 ' "$WORK/run/c.png"; then
    pass "--plot runs gnuplot.exe from PATH and hands it the whole script ($(wc -c <"$WORK/run/c.png") bytes)"
  else
    fail "--plot with gnuplot.exe on PATH: status $status, $(cat plotted.txt.err)"
  fi
fi

# record draws with Cairo, which the Windows build leaves out: said so.
win record.txt record out.gif
status=$?
if [[ $status -eq 2 ]] && grep -q 'record is not part of this build' record.txt.err; then
  pass "record is refused with a message"
else
  fail "record: status $status, $(cat record.txt.err)"
fi

echo "$FAILED failed"
((FAILED == 0))
