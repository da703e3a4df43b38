# Shared by the package tests: the tools a test needs, a scratch directory removed at exit, and
# PASS/FAIL lines counted in FAILED. Source it after the arguments are read.

readonly SKIP=77

# require_tools HINT TOOL...: exits with SKIP, naming the missing tool, unless all are there.
require_tools() {
  local hint=$1 tool
  shift
  for tool in "$@"; do
    command -v "$tool" >/dev/null || {
      echo "SKIP: $tool is missing ($hint)"
      exit $SKIP
    }
  done
}

# scratch_dir NAME: sets WORK to a fresh directory that is removed when the script ends.
scratch_dir() {
  WORK=$(mktemp -d "${TMPDIR:-/tmp}/$1.XXXXXX")
  trap 'rm -rf "$WORK"' EXIT
}

FAILED=0
pass() { echo "PASS $*"; }
fail() {
  echo "FAIL $*"
  FAILED=$((FAILED + 1))
}
