#!/usr/bin/env bash
# install_consume.sh BUILD_DIR VERSION
# Installs the build into a fresh prefix, then builds and runs programs against it.
set -euo pipefail
build=$1 version=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cmake --install "$build" --prefix "$work/prefix" >"$work/log" 2>&1 || { cat "$work/log"; exit 1; }
bash "$(dirname "$0")/consume.sh" "$work/prefix" "$version"
