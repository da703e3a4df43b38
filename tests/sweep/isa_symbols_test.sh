#!/bin/bash
# The objects built for one instruction set may define, as symbols other objects could link,
# only their entry points and names inside their own namespace. An inline function of a shared
# header emitted there (a standard library template, say) could otherwise be the copy the
# linker keeps for every caller, and fault on a processor without that instruction set.
# Arguments: the object files of the error-rate engine's library.
set -u
if ! command -v nm >/dev/null; then
  echo "SKIPPED: nm (Debian package binutils) is not installed"
  exit 77
fi
checked=0
failed=0
for object in "$@"; do
  case "$(basename "$object")" in
    BitSliceAvx2.* | NoiseAvx2.*) isa=avx2 ;;
    BitSliceAvx512.* | NoiseAvx512.*) isa=avx512 ;;
    *) continue ;;
  esac
  checked=$((checked + 1))
  own="mtd::sweep::${isa}(_noise)?::"
  entry="^mtd::sweep::(decodeChunk|decodeRefill|fillGroups)$(sed 's/avx/Avx/' <<<"$isa")\("
  while IFS= read -r symbol; do
    name="${symbol#* * }"
    if [[ ! "$name" =~ $own && ! "$name" =~ $entry ]]; then
      echo "$object: exports $name"
      failed=1
    fi
  done < <(nm -C --defined-only --extern-only "$object")
done
if [ "$checked" -eq 0 ]; then
  echo "no instruction-set objects among the arguments" >&2
  exit 1
fi
echo "$checked instruction-set objects checked"
exit "$failed"
