#!/usr/bin/env bash
# mtd-sim-mpi under mpirun, one case per call (the case names are in CMakeLists.txt). Needs
# MTD_SIM, MTD_SIM_MPI, MTD_MPIRUN and MTD_EXAMPLES_DIR in the environment.
set -euo pipefail

scratch=$(cd "$(mktemp -d)" && pwd -P)
endless=""  # a background mpirun, ended with the script whatever happens
cleanup() {
  if [[ -n $endless ]] && kill -0 "$endless" 2>/dev/null; then
    kill -TERM "$endless" # mpirun ends its ranks
    sleep 3
    kill -KILL "$endless" 2>/dev/null || true
  fi
  rm -rf "$scratch"
}
trap cleanup EXIT
cd "$scratch"

fail() {
  echo "FAIL: $*" >&2
  exit 1
}

# mpirun in the foreground; a hang ends in failure (SIGTERM makes mpirun end its ranks).
mpi() {
  local ranks=$1
  shift
  timeout --kill-after=5 60 "$MTD_MPIRUN" -np "$ranks" "$MTD_SIM_MPI" "$@"
}

# A CSV without its settings' comment lines and the columns that depend on the machine's speed.
counts() {
  awk -F, '/^#/ { next } !named { named = 1; for (i = 1; i <= NF; ++i) keep[i] = $i != "seconds" && $i != "info_mbps" }
    { line = ""; for (i = 1; i <= NF; ++i) if (keep[i]) line = line $i ","; print line }' "$1"
}

column() {  # column NAME FILE: the values of one CSV column, one a line
  awk -F, -v name="$1" '/^#/ { next } !named { named = 1; for (i = 1; i <= NF; ++i) if ($i == name) c = i; next }
    { print $c }' "$2"
}

# Processes of mtd-sim-mpi still alive in this case's directory (zombies have ended).
survivors() {
  local exe
  exe=$(readlink -f "$MTD_SIM_MPI")
  for proc in /proc/[0-9]*; do
    [[ $(readlink "$proc/exe" 2>/dev/null) == "$exe" ]] || continue
    [[ $(readlink "$proc/cwd" 2>/dev/null) == "$scratch" ]] || continue
    [[ $(awk '{ print $3 }' "$proc/stat" 2>/dev/null) != Z ]] || continue
    echo "${proc#/proc/}"
  done
}

expect_no_survivors() {
  for _ in $(seq 50); do
    [[ -z $(survivors) ]] && return 0
    sleep 0.1
  done
  fail "processes left behind: $(survivors)"
}

# Waits for a background mpirun with a limit, so that a hang fails instead of stalling CTest.
wait_limited() {
  local pid=$1 limit=$2
  for _ in $(seq $((limit * 10))); do
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.1
  done
  kill -0 "$pid" 2>/dev/null && fail "mpirun still running after $limit s"
  local status=0
  wait "$pid" || status=$?
  return "$status"
}

# The counts of 1, 2 and 3 ranks, with different thread counts, equal mtd-sim's. Two points:
# the first ends by its frame-error rule after several batches, the second by its frame limit.
equal_counts() {
  local noise=$1
  local args=(sweep --p 0.03,0.02 --frames 12288 --frame-errors 8 --seed 7 --noise "$noise")
  "$MTD_SIM" "${args[@]}" --threads 2 --csv single.csv >single.out
  local frames
  frames=$(column frames single.csv | tr '\n' ' ')
  [[ $(column complete single.csv | tr -d '\n') == 11 ]] || fail "single run incomplete"
  local first=${frames%% *}
  ((first > 1024 && first < 12288)) || fail "frame-error rule not met after several batches: $frames"
  local ranks threads
  for ranks in 1 2 3; do
    threads=$((ranks == 1 ? 2 : 1))
    mpi "$ranks" "${args[@]}" --threads "$threads" --csv "ranks$ranks.csv" >"ranks$ranks.out"
    diff <(counts single.csv) <(counts "ranks$ranks.csv") ||
      fail "$noise noise: $ranks ranks differ from mtd-sim"
    grep -q "^#" "ranks$ranks.out" || fail "no header printed with $ranks ranks"
  done
  echo "$noise noise: the counts of 1, 2 and 3 ranks equal mtd-sim's (frames $frames)"
}

# Short points back to back, most ended by the frame-error rule after 1 to 17 batches while
# every rank still holds the credit of two threads, the last by its frame limit: the counts of
# 2 and 3 ranks equal mtd-sim's. With MTD_LANES the ranks compute on the path it names.
equal_many_points() {
  local args=(sweep --p 0.03,0.035,0.04,0.045,0.03,0.02 --frames 40960 --frame-errors 20 --seed 11)
  "$MTD_SIM" "${args[@]}" --threads 1 --csv single.csv >single.out
  local frames
  frames=$(column frames single.csv | tr '\n' ' ')
  [[ $frames == *" 1024 "* && $frames == *" 40960 " ]] ||
    fail "points not ended both after one batch and by the frame limit: $frames"
  local ranks
  for ranks in 2 3; do
    MTD_LANES=portable mpi "$ranks" "${args[@]}" --threads 2 --csv "ranks$ranks.csv" >"ranks$ranks.out"
    diff <(counts single.csv) <(counts "ranks$ranks.csv") ||
      fail "$ranks ranks of 2 threads differ from mtd-sim"
    grep -q "^#   lanes  *portable" "ranks$ranks.out" ||
      fail "MTD_LANES=portable not named: $(grep lanes "ranks$ranks.out")"
  done
  echo "6 points of 1 to 40 batches: 2 and 3 ranks of 2 threads equal mtd-sim (frames $frames)"
}

# Refused input: status 2 from mpirun, no file, a message naming the culprit, no rank left.
refused() {
  local status=0
  mpi 2 sweep --p 0.05,2 --csv out.csv >out.txt 2>err.txt || status=$?
  [[ $status == 2 ]] || fail "--p 2: mpirun exited $status, not 2: $(cat err.txt)"
  [[ ! -e out.csv ]] || fail "--p 2: out.csv written"
  grep -q -- "--p" err.txt || fail "--p 2: message does not name --p: $(cat err.txt)"

  sed '1s/.*/nbl=5000/' "$MTD_EXAMPLES_DIR/init.txt" >init.txt
  status=0
  mpi 3 sweep --p 0.05 --csv out.csv >out.txt 2>err.txt || status=$?
  [[ $status == 2 ]] || fail "refused init.txt: mpirun exited $status, not 2: $(cat err.txt)"
  [[ ! -e out.csv ]] || fail "refused init.txt: out.csv written"
  grep -q "init.txt" err.txt || fail "refused init.txt: message does not name it: $(cat err.txt)"
  expect_no_survivors
  echo "refused input: status 2, no file, no rank left"
}

# Starts an endless sweep on 2 ranks in the background once its first point has progressed.
start_endless() {
  "$MTD_MPIRUN" -np 2 "$MTD_SIM_MPI" sweep --p 0.05,0.06 --frames 1000000000000 \
    --frame-errors 0 --threads 1 --csv out.csv >out.txt 2>err.txt &
  endless=$!
  for _ in $(seq 100); do
    grep -q "^#" out.txt 2>/dev/null && break
    sleep 0.1
  done
  sleep 0.5
}

# SIGINT to mpirun: the current point's partial counts reach the CSV with complete=0, and every
# process ends.
interrupted() {
  start_endless
  kill -INT "$endless"
  wait_limited "$endless" 20 || true
  endless=""
  [[ -e out.csv ]] || fail "no CSV after SIGINT: $(cat err.txt)"
  [[ $(column complete out.csv | tr '\n' ' ') == "0 " ]] ||
    fail "not one interrupted point: $(cat out.csv)"
  local frames
  frames=$(column frames out.csv)
  ((frames > 0 && frames % 1024 == 0)) || fail "partial point of $frames frames"
  grep -q "^ *0.05" <(grep -v "^#" out.txt) || fail "partial point not printed: $(cat out.txt)"
  expect_no_survivors
  echo "SIGINT: the partial point ($frames frames) written with complete=0, no process left"
}

# A rank killed mid-sweep ends the job with an error instead of a hang.
rank_lost() {
  start_endless
  local rank1=""
  for child in $(pgrep -P "$endless"); do
    if tr '\0' '\n' <"/proc/$child/environ" | grep -qx "OMPI_COMM_WORLD_RANK=1"; then
      rank1=$child
    fi
  done
  [[ -n $rank1 ]] || fail "rank 1 not found among mpirun's children"
  kill -KILL "$rank1"
  local status=0
  wait_limited "$endless" 20 || status=$?
  endless=""
  [[ $status != 0 ]] || fail "mpirun exited 0 after losing a rank"
  expect_no_survivors
  echo "lost rank: mpirun exited $status, no process left"
}

case ${1:-} in
  equal_sound) equal_counts sound ;;
  equal_demo) equal_counts demo ;;
  equal_many_points) equal_many_points ;;
  refused) refused ;;
  interrupted) interrupted ;;
  rank_lost) rank_lost ;;
  *) fail "unknown case '${1:-}'" ;;
esac
