#!/usr/bin/env bash
# Installs what building and testing need on a fresh Debian machine (run as root or with sudo).
set -euo pipefail

packages=(cmake ninja-build g++ googletest libgtest-dev libgmock-dev libbenchmark-dev
          python3 util-linux procps)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if ((${#missing[@]})); then
  SUDO=""; [ "$(id -u)" -ne 0 ] && SUDO=sudo
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq "${missing[@]}"
fi
