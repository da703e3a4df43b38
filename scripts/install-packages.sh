#!/usr/bin/env bash
# Installs those of the named Debian packages that are not installed yet: apt-get update, then
# apt-get install, without questions. Uses sudo only when not running as root.
# MTD_NO_RECOMMENDS=1 leaves out the packages' recommendations (emscripten's would add a
# second toolchain's worth of LLVM tools that the build never uses).
set -euo pipefail

missing=()
for package in "$@"; do
  status=$(dpkg-query -W -f='${Status}' "$package" 2>/dev/null || true)
  if [[ "$status" != "install ok installed" ]]; then
    missing+=("$package")
  fi
done
if [[ ${#missing[@]} -eq 0 ]]; then
  exit 0
fi

sudo=()
if [[ $(id -u) -ne 0 ]]; then
  sudo=(sudo)
fi
echo "Installing missing packages: ${missing[*]}"
"${sudo[@]}" apt-get update
options=(-y)
if [[ ${MTD_NO_RECOMMENDS:-0} == 1 ]]; then
  options+=(--no-install-recommends)
fi
"${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install "${options[@]}" "${missing[@]}"
