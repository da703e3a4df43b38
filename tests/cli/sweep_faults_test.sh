#!/usr/bin/env bash
# mtd-sim sweep as a user runs it from a shell, one case per call (the case names are in
# CMakeLists.txt): pipes, signals, odd output paths, several codes, the JSON and the plots.
# Needs MTD_SIM and MTD_EXAMPLES_DIR in the environment; MTD_SIM_MPI when built.
set -euo pipefail

scratch=$(cd "$(mktemp -d)" && pwd -P)
trap 'rm -rf "$scratch"' EXIT
cd "$scratch"

fail() {
  echo "FAIL: $*" >&2
  exit 1
}

sim() { timeout --kill-after=5 120 "$MTD_SIM" "$@"; }

# The hidden temporary files an interrupted write could leave.
expect_no_temporary() {
  local left
  left=$(find . -maxdepth 1 -name '.*' ! -name . -print)
  [[ -z $left ]] || fail "temporary files left: $left"
}

# The values of one CSV column, one a line, after the settings' comment lines.
column() {
  awk -F, -v name="$1" '/^#/ { next } !named { named = 1; for (i = 1; i <= NF; ++i) if ($i == name) c = i; next }
    { print $c }' "$2"
}

# Waits until the file has a data row, for a sweep running in the background.
wait_for_row() {
  for _ in $(seq 300); do
    [[ -f $1 ]] && grep -qv '^#' "$1" 2>/dev/null && return 0
    sleep 0.1
  done
  fail "no row in $1"
}

case_closed_pipe() {
  # head takes the first line and leaves: the sweep stops as SIGPIPE would, keeping its CSV.
  set +o pipefail
  {
    local status=0
    sim sweep --p 0.07,0.01 --frames 1e12 --csv c.csv --json j.json || status=$?
    echo "status $status" >status
  } | head -c 1 >/dev/null
  set -o pipefail
  grep -q "status 141" status || fail "exit status $(cat status), not 141"
  [[ $(column p c.csv | head -1) == 0.07 ]] || fail "the finished point is not kept"
  /usr/bin/python3 -c 'import json,sys; d=json.load(open("j.json")); sys.exit(0 if d["interrupted"] else 1)' ||
    fail "the JSON does not say the sweep was interrupted"
  expect_no_temporary
}

case_terminated() {
  # The program itself in the background, so that the signal reaches it.
  "$MTD_SIM" sweep --p 0.07,0.01 --frames 1e12 --csv c.csv --plot c.svg >out.txt 2>err.txt &
  local pid=$!
  for _ in $(seq 300); do
    grep -q '^ *0.07 ' out.txt && break
    sleep 0.1
  done
  kill -TERM "$pid"
  local status=0
  wait "$pid" || status=$?
  [[ $status -eq 143 ]] || fail "exit status $status after SIGTERM, not 143"
  [[ $(column stopped_by c.csv | tr '\n' ' ') == "frame-errors interrupted " ]] ||
    fail "stopped_by: $(column stopped_by c.csv | tr '\n' ' ')"
  [[ $(column complete c.csv | tr '\n' ' ') == "1 0 " ]] || fail "complete column"
  grep -q '^# interrupted' c.csv || fail "the CSV does not say points are missing"
  grep -q '<svg' c.svg || fail "no plot"
  expect_no_temporary
}

case_second_signal() {
  # A second signal ends the program at once, without leaving its temporary files.
  "$MTD_SIM" sweep --p 0.01 --frames 1e12 --csv c.csv --json j.json >out.txt 2>&1 &
  local pid=$!
  for _ in $(seq 300); do
    [[ -n $(find . -maxdepth 1 -name '.c.csv.*') ]] && break
    sleep 0.1
  done
  kill -INT "$pid"
  kill -INT "$pid"
  local status=0
  wait "$pid" || status=$?
  [[ $status -eq 130 || $status -eq 0 ]] || fail "exit status $status"
  expect_no_temporary
}

case_ctrl_c_while_plotting() {
  # Ctrl-C reaches the whole foreground process group; the plotter has a group of its own and
  # finishes the plot. A stand-in plotter takes its time so that the signal comes while it runs.
  mkdir bin
  cat >bin/gnuplot <<'SH'
#!/bin/sh
out=$(sed -n "s/^set output '\(.*\)'$/\1/p")
sleep 2
echo "plot" >"$out"
SH
  chmod +x bin/gnuplot
  PATH="$PWD/bin:$PATH" setsid "$MTD_SIM" sweep --p 0.03 --frames 2048 --plot c.png >out.txt 2>err.txt &
  local pid=$!
  for _ in $(seq 100); do
    pgrep -f "$PWD/bin/gnuplot" >/dev/null && break
    sleep 0.1
  done
  pgrep -f "$PWD/bin/gnuplot" >/dev/null || fail "the plotter did not start"
  kill -INT -- "-$pid"  # the terminal's Ctrl-C: to the sweep's whole process group
  local status=0
  wait "$pid" || status=$?
  # Every point had finished: the sweep is whole whether it reports the signal or not.
  [[ $status -eq 0 || $status -eq 130 ]] || fail "exit status $status ($(cat err.txt))"
  grep -q plot c.png || fail "the plot was lost"
}

case_device_and_link() {
  # A device is written, never replaced; a link is followed and stays a link.
  local before
  before=$(stat -c %t:%T /dev/null)
  sim sweep --p 0.03 --frames 2048 --csv /dev/null >/dev/null || fail "--csv /dev/null"
  [[ -c /dev/null && $(stat -c %t:%T /dev/null) == "$before" ]] || fail "/dev/null was replaced"
  mkdir real
  ln -s real/target.csv link.csv
  sim sweep --p 0.03 --frames 2048 --csv link.csv >/dev/null
  [[ -L link.csv ]] || fail "the link was replaced"
  [[ $(column p real/target.csv) == 0.03 ]] || fail "the link's file was not written"
  # - and /dev/stdout put the CSV on stdout, in place of the table.
  sim sweep --p 0.03 --frames 2048 --csv - >dash.txt
  head -1 dash.txt | grep -q '^# mtd-sim sweep' || fail "--csv - is no CSV"
  [[ $(column p dash.txt) == 0.03 ]] || fail "--csv - has no row"
  sim sweep --p 0.03 --frames 2048 --csv /dev/stdout --json /dev/null >stdout.txt
  grep -q '^config,p,' stdout.txt || fail "--csv /dev/stdout"
  expect_no_temporary
}

case_same_file() {
  local status=0
  sim sweep --p 0.03 --frames 1024 --csv x.png --plot x.png >out.txt 2>err.txt || status=$?
  [[ $status -eq 2 ]] || fail "status $status for one file twice"
  grep -q -- '--csv x.png and --plot x.png' err.txt || fail "message: $(cat err.txt)"
  ln -s x.csv y.csv
  status=0
  sim sweep --p 0.03 --frames 1024 --csv x.csv --keep-failures 3 y.csv >out.txt 2>err.txt || status=$?
  [[ $status -eq 2 ]] || fail "status $status for a file and a link to it"
  [[ ! -e x.csv ]] || fail "a file was written"
}

case_unmarked_configuration() {
  mkdir code
  grep -v '^check' "$MTD_EXAMPLES_DIR/long-block/init.txt" >code/init.txt
  local status=0
  sim sweep -C code --p 0.03 --frames 1024 >out.txt 2>err.txt || status=$?
  [[ $status -eq 2 ]] || fail "status $status for an unmarked init.txt"
  grep -q 'no closing "check" line' err.txt || fail "message: $(cat err.txt)"
  sim sweep -C code --defaults --p 0.03 --frames 1024 >out.txt || fail "--defaults"
  grep -q 'built-in defaults' out.txt || fail "the header does not name the defaults"
  # p of init.txt is checked before a sweep runs it.
  mkdir wide
  sed 's/^p=.*/p=2147483/' "$MTD_EXAMPLES_DIR/long-block/init.txt" >wide/init.txt
  status=0
  sim sweep -C wide --frames 1024 >out.txt 2>err.txt || status=$?
  [[ $status -eq 2 ]] || fail "status $status for p=2147483 ($(cat err.txt))"
  grep -q 'p=' err.txt || fail "message: $(cat err.txt)"
}

case_noise_keyed_by_p() {
  # Adding points changes no other row: p = 0.04 has the same counts in both lists.
  sim sweep --p 0.04 --frames 4096 --frame-errors 0 --csv one.csv >/dev/null
  sim sweep --p 0.03,0.035,0.04 --frames 4096 --frame-errors 0 --csv three.csv >/dev/null
  local a b
  a=$(grep '^default,0.04,' one.csv | cut -d, -f1-15)
  b=$(grep '^default,0.04,' three.csv | cut -d, -f1-15)
  [[ -n $a && $a == "$b" ]] || fail "p=0.04 differs: '$a' against '$b'"
}

case_two_codes() {
  sim sweep -C "$MTD_EXAMPLES_DIR" -C "$MTD_EXAMPLES_DIR/long-block" --p 0.04,0.05 --frames 2048 \
    --csv c.csv --json j.json --plot c.svg --keep-failures 1 k.csv >out.txt
  [[ $(column config c.csv | tr '\n' ' ') == "examples examples long-block long-block " ]] ||
    fail "config column: $(column config c.csv | tr '\n' ' ')"
  grep -c '^# Code ' c.csv | grep -q '^2$' || fail "the settings name two codes"
  grep -q 'nbl                    2000' c.csv || fail "the long block's nbl is not recorded"
  grep -q 'BER long-block' c.svg || fail "no curve for the second code"
  grep -q 'BER examples' c.svg || fail "no curve for the first code"
  # A kept failure's command names its code's directory, so that it traces the same frame.
  grep -q -- "-C $MTD_EXAMPLES_DIR/long-block " k.csv || fail "the trace command lacks -C"
  /usr/bin/python3 - <<'PY' || fail "JSON"
import json
d = json.load(open("j.json"))
s = d["settings"]
assert [c["name"] for c in s["codes"]] == ["examples", "long-block"], s["codes"]
assert s["codes"][1]["nbl"] == 2000 and s["seed"] == 1 and s["stop_rules"]["frames"] == 2048
assert len(d["points"]) == 4 and not d["interrupted"]
for p in d["points"]:
    lo, hi = p["fer_interval"]
    assert lo <= p["fer"] <= hi, p
    lo, hi = p["ber_interval"]
    assert lo <= p["ber"] <= hi, p
    assert p["stopped_by"] in ("frames", "frame-errors") and p["complete"], p
PY
}

case_plot_formats() {
  sim sweep --p 0.03,0.05 --frames 2048 --plot c.pdf --plot-size 640x480 >/dev/null
  file c.pdf | grep -q 'PDF document' || fail "c.pdf: $(file c.pdf)"
  sim sweep --p 0.03,0.05 --frames 2048 --plot c.png --plot-size 640x480 \
    --plot-rate-range 1e-7:1 --plot-p-range 0.02:0.12 >/dev/null
  file c.png | grep -q 'PNG image data, 640 x 480' || fail "c.png: $(file c.png)"
  sim sweep --p 0.03,0.05 --frames 2048 --plot c.svg >/dev/null
  file c.svg | grep -q 'SVG' || fail "c.svg: $(file c.svg)"
  # The capacity limit lies beyond these points: the key names it.
  grep -q 'off the axis' c.svg || fail "the capacity limit is not named"
}

case_mpi_names() {
  [[ -n ${MTD_SIM_MPI:-} ]] || { echo "skipped: mtd-sim-mpi is not built"; return 0; }
  export OMPI_ALLOW_RUN_AS_ROOT=1 OMPI_ALLOW_RUN_AS_ROOT_CONFIRM=1
  # In the sanitizer build the leak check must not count what OpenMPI keeps to the end (as in
  # the MPI tests).
  export OMPI_MCA_mca_base_component_disable_dlclose=1
  export LSAN_OPTIONS="suppressions=$MTD_SOURCE_DIR/tests/mpi/lsan.supp:print_suppressions=0:fast_unwind_on_malloc=0"
  "$MTD_SIM_MPI" --version | grep -q '^mtd-sim-mpi ' || fail "--version: $("$MTD_SIM_MPI" --version)"
  "$MTD_SIM_MPI" --help | grep -q 'mtd-sim-mpi' || fail "--help does not name mtd-sim-mpi"
  local status=0
  "$MTD_SIM_MPI" sweep --frames 0 >out.txt 2>err.txt || status=$?
  [[ $status -eq 2 ]] || fail "status $status"
  grep -q '^mtd-sim-mpi: .*mtd-sim-mpi sweep --help' err.txt || fail "message: $(cat err.txt)"
}

case_code_overrides() {
  # The long-block example is the default code with nbl and ktrh changed (its kst and p do not
  # matter to sound noise at a given --p): set on the command line, they give the same counts.
  sim sweep -C "$MTD_EXAMPLES_DIR/long-block" --p 0.04 --frames 8192 --csv file.csv >/dev/null
  sim sweep --set nbl=2000 --set 'ktrh={8,3,2,1,0,0,0,0,0,0,0,0}' --p 0.04 --frames 8192 \
    --csv set.csv >/dev/null
  local a b
  a=$(grep -v '^#' file.csv | tail -1 | cut -d, -f2-15)
  b=$(grep -v '^#' set.csv | tail -1 | cut -d, -f2-15)
  [[ -n $a && $a == "$b" ]] || fail "--set differs from the file: '$a' against '$b'"
  grep -q 'with --set nbl=2000' set.csv || fail "the settings do not record --set"
  local status=0
  sim sweep --set nbl=5000 --p 0.04 >out.txt 2>err.txt || status=$?
  [[ $status -eq 2 ]] || fail "status $status for nbl=5000"
  grep -q -- '--set: nbl=5000: .*2200' err.txt || fail "message: $(cat err.txt)"
}

case_readme_table() {
  # The README's curve table, rows and code lines, exactly as the documented command prints it.
  awk '/^    # code default$/ { inside = 1 } inside && /^$/ { exit } inside { print substr($0, 5) }' \
    "$MTD_SOURCE_DIR/README.md" >expected.txt
  [[ $(wc -l <expected.txt) -eq 16 ]] || fail "the README's table has $(wc -l <expected.txt) lines"
  sim sweep -C . -C "$MTD_EXAMPLES_DIR/long-block" --p 0.02:0.08:0.01 >out.txt
  grep -E '^(# code|  )' out.txt >actual.txt
  diff expected.txt actual.txt || fail "the README's table differs from the program's output"
}

"case_$1"
