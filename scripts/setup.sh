#!/usr/bin/env bash
# Installs what building and testing need on a fresh Debian machine (run as root or with sudo).
# With --windows also the cross compilers and Wine for the Windows builds and their tests: the
# 32-bit Wine where this machine can run 32-bit programs, the 64-bit one always. With --fuzz also
# clang and libFuzzer for the fuzz targets.
set -euo pipefail
cd "$(dirname "$0")/.."

packages=(cmake ninja-build g++ googletest libgtest-dev libgmock-dev libbenchmark-dev
          python3 util-linux procps binutils pkgconf dpkg-dev)
SUDO=""; [ "$(id -u)" -ne 0 ] && SUDO=sudo

windows=""; fuzz=""
for option in "$@"; do
  case "$option" in
    --windows) windows=1 ;;
    --fuzz) fuzz=1 ;;
  esac
done

if [ -n "$fuzz" ]; then
  packages+=(clang libclang-rt-dev)
fi
if [ -n "$windows" ]; then
  packages+=(mingw-w64 binutils-mingw-w64-i686 binutils-mingw-w64-x86-64 wine wine64)
  if bash scripts/runs_32bit.sh; then
    packages+=(wine32:i386)
    if ! dpkg --print-foreign-architectures | grep -qx i386; then
      $SUDO dpkg --add-architecture i386
      force_update=1
    fi
  fi
fi

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if ((${#missing[@]})) || [ -n "${force_update:-}" ]; then
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq "${missing[@]}"
fi
