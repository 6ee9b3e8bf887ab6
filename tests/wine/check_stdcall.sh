#!/usr/bin/env bash
# The 32-bit DLL's entry points use the standard-call convention with the argument sizes of the
# plug-in interface: each exported name points at the code compiled as _Name@bytes, and every
# return in that code pops exactly those bytes. This is what a 32-bit host relies on, and it
# can be checked without running the DLL.
set -euo pipefail
dll=$1
objdump=${OBJDUMP:-i686-w64-mingw32-objdump}

# entry point and the number of 4-byte arguments it takes
entries="TargoDLLTypBiblioteki 0 TargoDLLWlasciwosci 2 TargoDLLParametr 8
TargoDLLTekstListyParametru 3 TargoDLLSerKasOpisOkna 2 TargoDLLUstawJezykKomponentow 1
TargoDLLRejestrujBiblioteke 4 TargoDLLRejestrujCallback 3 TargoDLLZwolnijBiblioteke 1
TargoDLLWlasciwosciUrzadzenia 4 TargoDLLSerKasJakSzukacParagonu 5 TargoDLLSerKasPokazOkno 6
TargoDLLSerKasNazwaZasobuDzielonego 3 TargoDLLSerKasOperacja 6 TargoDLLSerKasPodtrzymajSesje 5"

headers=$("$objdump" -p "$dll")
base=$(awk '/^ImageBase/{print $2; exit}' <<<"$headers")
# export index -> RVA, and export name -> index
declare -A rva_of_index index_of_name
while read -r idx rva; do rva_of_index[$idx]=$rva; done < <(
  awk '/^Export Address Table -- Ordinal Base/{t=1;next} t&&/\+base\[/{gsub(/[][]/," "); print $1, $4} t&&/^$/{t=0}' <<<"$headers")
while read -r idx name; do index_of_name[$name]=$idx; done < <(
  awk '/\[Ordinal\/Name Pointer\] Table/{t=1;next} t&&/^[ \t]*\[/{gsub(/[][]/," "); print $1, $2} t&&/^$/{t=0}' <<<"$headers")
symbols=$("$objdump" -t "$dll")
# symbol values are offsets into their section, the code section here
text_vma=$("$objdump" -h "$dll" | awk '$2==".text"{print $4; exit}')

fail=0
while read -r name args; do
  bytes=$((args * 4))
  symbol="_${name}@${bytes}"
  idx=${index_of_name[$name]:-}
  [ -n "$idx" ] || { echo "$name: not exported"; fail=1; continue; }
  want=$(printf '%08x' $((0x$base + 0x${rva_of_index[$idx]} - 0x$text_vma)))
  grep -Eq "[[:space:]]_${name}@[0-9]+\$" <<<"$symbols" || { echo "$name: no stdcall symbol"; fail=1; continue; }
  grep -Eq "0x${want}[[:space:]]+${symbol}\$" <<<"$symbols" ||
    { echo "$name: the export does not point at $symbol"; grep -E "_${name}@" <<<"$symbols"; fail=1; continue; }
  rets=$("$objdump" -d --disassemble="$symbol" "$dll" | awk -F'\t' '$3 ~ /^ret/{print $3}' | sort -u)
  if [ "$bytes" -eq 0 ]; then expected="ret"; else expected=$(printf 'ret    $0x%x' "$bytes"); fi
  [ -n "$rets" ] && [ "$rets" = "$expected" ] ||
    { echo "$name: returns with '${rets//$'\n'/, }', expected '$expected'"; fail=1; continue; }
done < <(xargs -n2 <<<"$entries")
[ "$fail" -eq 0 ] || exit 1
echo "stdcall ok: 15 entry points pop their arguments"
