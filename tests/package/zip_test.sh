#!/usr/bin/env bash
# The Windows zip as a user gets it: built with CPack in the MinGW-w64 cross build, its
# contents listed and checked (the program, the example init.txt, the README), the .exe's
# imports (system DLLs only) and version resource read, then the unpacked .exe started under
# Wine by the Wine end-to-end test's quick scenario.
#
#   zip_test.sh CROSS_BUILD_DIR VERSION WINE_E2E_SCRIPT SCREEN_PROBE EXAMPLE_INIT_TXT
#
# Exit status: 0 passed, 1 failed, 77 a tool is missing.
set -uo pipefail

if [[ $# -ne 5 ]]; then
  echo "usage: $0 CROSS_BUILD_DIR VERSION WINE_E2E_SCRIPT SCREEN_PROBE EXAMPLE_INIT_TXT" >&2
  exit 2
fi
CROSS=$(realpath "$1")
VERSION=$2
WINE_E2E=$3
PROBE=$4
EXAMPLE=$5
readonly OBJDUMP=x86_64-w64-mingw32-objdump WINDRES=x86_64-w64-mingw32-windres
source "$(dirname "$0")/package_lib.sh"
require_tools "Debian: cmake, unzip, binutils-mingw-w64-x86-64" cpack unzip $OBJDUMP $WINDRES
scratch_dir mtd-zip

(cd "$CROSS" && cpack -G ZIP -B "$WORK/out") >"$WORK/cpack.log" 2>&1 || {
  cat "$WORK/cpack.log"
  echo "FAIL cpack -G ZIP in $CROSS"
  exit 1
}
folder=mtd-demo-$VERSION-win64
ZIP=$WORK/out/$folder.zip
[[ -f $ZIP ]] || {
  ls "$WORK/out"
  echo "FAIL no $(basename "$ZIP") was made"
  exit 1
}
unzip -l "$ZIP"
unzip -Z1 "$ZIP" | grep -v '/$' | sort >"$WORK/listed"
printf '%s\n' "$folder/README.txt" "$folder/init.txt" "$folder/mtd-demo.exe" "$folder/mtd-sim.exe" |
  sort >"$WORK/expected"
if cmp -s "$WORK/listed" "$WORK/expected"; then
  pass "$(basename "$ZIP") holds $(tr '\n' ' ' <"$WORK/listed")"
else
  fail "$(basename "$ZIP") contents differ (< listed, > expected):"
  diff "$WORK/listed" "$WORK/expected"
fi

unzip -q "$ZIP" -d "$WORK/unpacked" || fail "unzip"
DIR=$WORK/unpacked/$folder
EXE=$DIR/mtd-demo.exe
cmp -s "$DIR/init.txt" "$EXAMPLE" && pass "init.txt is the commented example" ||
  fail "the zip's init.txt differs from $EXAMPLE"

# Imports: Windows' own DLLs only (no MinGW runtime DLL that the zip would have to carry).
system_dll='^(kernel32|user32|gdi32|msvcrt|advapi32|shell32|comctl32|comdlg32|ole32|oleaut32|ws2_32|winmm|ucrtbase|api-ms-win-[a-z0-9-]+)\.dll$'
for program in mtd-demo.exe mtd-sim.exe; do
  $OBJDUMP -p "$DIR/$program" | sed -n 's/^\s*DLL Name: //p' | sort -u >"$WORK/dlls"
  foreign=$(grep -viE "$system_dll" "$WORK/dlls" | tr '\n' ' ')
  if [[ -s $WORK/dlls && -z $foreign ]]; then
    pass "$program imports only system DLLs: $(tr '\n' ' ' <"$WORK/dlls")"
  else
    fail "$program imports ${foreign:-nothing readable}"
  fi
done

# The version resource, decompiled by windres from the .exe itself.
$WINDRES -i "$EXE" -O rc >"$WORK/resources.rc" 2>"$WORK/windres.log" || cat "$WORK/windres.log"
IFS=. read -r major minor patch <<<"$VERSION"
if grep -qE "FILEVERSION $major, ?$minor, ?$patch, ?0" "$WORK/resources.rc" &&
  grep -qE "PRODUCTVERSION $major, ?$minor, ?$patch, ?0" "$WORK/resources.rc" &&
  grep -qE "VALUE \"ProductVersion\", \"$VERSION\\\\?0?\"" "$WORK/resources.rc" &&
  grep -qE "VALUE \"FileVersion\", \"$VERSION\\\\?0?\"" "$WORK/resources.rc"; then
  pass "VERSIONINFO: $(grep -E 'FILEVERSION|"ProductVersion"' "$WORK/resources.rc" | tr -s ' \n' ' ')"
else
  fail "no VERSIONINFO of version $VERSION in mtd-demo.exe:"
  grep -A30 VERSIONINFO "$WORK/resources.rc" | head -n 30
fi

# The unpacked mtd-sim.exe under Wine: its version, and a short sweep with the folder's init.txt
# (the counts themselves are compared with the native ones by the Wine test of mtd-sim.exe).
WINE64=$(command -v wine64 || echo /usr/lib/wine/wine64)
if [[ -x $WINE64 ]]; then
  export WINEPREFIX=$WORK/sim-prefix WINEARCH=win64 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
  "$WINE64" wineboot --init >"$WORK/sim-wineboot.log" 2>&1
  version=$(cd "$DIR" && "$WINE64" ./mtd-sim.exe --version 2>&1 | tr -d '\r')
  row=$(cd "$DIR" && "$WINE64" ./mtd-sim.exe sweep --p 0.05 --frames 4096 --frame-errors 0 \
    --csv - 2>&1 | tr -d '\r' | grep '^default,0.05,' | cut -d, -f1-6)
  "$(dirname "$WINE64")/wineserver" -k 2>/dev/null
  unset WINEPREFIX
  if [[ $version == "mtd-sim $VERSION" && $row == default,0.05,0.05,4096,* ]]; then
    pass "the unpacked mtd-sim.exe: $version; sweep row $row"
  else
    fail "the unpacked mtd-sim.exe: version '$version', row '$row'"
  fi
else
  echo "SKIP of mtd-sim.exe under Wine: no wine64"
fi

# Started under Wine from the unpacked folder, as the Wine end-to-end test starts it.
MTD_WINE_SCENARIOS=scenario_start_and_quit bash "$WINE_E2E" "$EXE" "$PROBE"
case $? in
  0) pass "the unpacked mtd-demo.exe starts, shows its grid and quits under Wine" ;;
  77) echo "SKIP of the Wine start: Wine or an X tool is missing" ;;
  *) fail "the unpacked mtd-demo.exe under Wine" ;;
esac

echo "$FAILED failed"
((FAILED == 0))
