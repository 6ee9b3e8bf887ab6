#!/usr/bin/env bash
# The DLL is a PE image of the expected machine (pei-i386 for the product, pei-x86-64 for the
# 64-bit test build) and imports only system DLLs that every Windows has: the driver ships as
# one file, with no compiler runtime beside it.
set -euo pipefail
dll=$1 format=$2
objdump=${OBJDUMP:-i686-w64-mingw32-objdump}
allowed="ADVAPI32.DLL KERNEL32.DLL MSVCRT.DLL SHELL32.DLL USER32.DLL"

headers=$("$objdump" -p "$dll")
got=$(sed -n 's/.*file format \(.*\)$/\1/p;T;q' <<<"$headers")
[ "$got" = "$format" ] || { echo "file format is '$got', expected '$format'"; exit 1; }
magic=$([ "$format" = pei-i386 ] && echo '010b' || echo '020b')
grep -Eq "^Magic[[:space:]]+$magic" <<<"$headers" || { echo "optional header magic is not $magic"; exit 1; }
grep -Eq '^[[:space:]]+DLL$' <<<"$headers" || { echo "not marked as a DLL"; exit 1; }
imports=$(printf '%s\n' "$headers" | sed -n 's/^[[:space:]]*DLL Name: //p' | tr '[:lower:]' '[:upper:]' | sort -u)
[ -n "$imports" ] || { echo "no imports found"; exit 1; }
for dllname in $imports; do
  case " $allowed " in
    *" $dllname "*) ;;
    *) echo "unexpected import: $dllname (allowed: $allowed)"; exit 1 ;;
  esac
done
echo "$format DLL importing only: $(echo $imports)"
