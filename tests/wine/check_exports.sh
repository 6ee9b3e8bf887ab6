#!/usr/bin/env bash
# The DLL's export table must list exactly the fifteen entry points under their plain names;
# every other export is a framework class member under its decorated C++ name.
set -euo pipefail
dll=$1
objdump=${OBJDUMP:-i686-w64-mingw32-objdump}

names=$("$objdump" -p "$dll" | awk '/\[Ordinal\/Name Pointer\] Table/{t=1;next} t&&/^[ \t]*\[/{print $NF} t&&/^$/{t=0}')
plain=$(printf '%s\n' "$names" | grep -v '^_Z' | sort)
expected=$(printf '%s\n' TargoDLLParametr TargoDLLRejestrujBiblioteke TargoDLLRejestrujCallback \
  TargoDLLSerKasJakSzukacParagonu TargoDLLSerKasNazwaZasobuDzielonego TargoDLLSerKasOperacja \
  TargoDLLSerKasOpisOkna TargoDLLSerKasPodtrzymajSesje TargoDLLSerKasPokazOkno \
  TargoDLLTekstListyParametru TargoDLLTypBiblioteki TargoDLLUstawJezykKomponentow \
  TargoDLLWlasciwosci TargoDLLWlasciwosciUrzadzenia TargoDLLZwolnijBiblioteke | sort)
if [ "$plain" != "$expected" ]; then
  echo "plain exports differ from the fifteen entry points:"
  diff <(printf '%s\n' "$expected") <(printf '%s\n' "$plain") || true
  exit 1
fi
if printf '%s\n' "$names" | grep -q '@'; then
  echo "decorated stdcall names exported:"; printf '%s\n' "$names" | grep '@'; exit 1
fi
framework=$(printf '%s\n' "$names" | grep -c -E '^_Z.*(TLQuickSort|TLTools|KSTowRec|KSExpBuf|KSImpBuf)' || true)
if [ "$framework" -eq 0 ]; then
  echo "no framework class members exported"; exit 1
fi
# The runtime types that exported framework methods take.
for type in TMFile TMLgExtTools TdtTools TMDataSet; do
  if ! printf '%s\n' "$names" | grep -q -E "^_Z.*${#type}${type}"; then
    echo "runtime type not exported: $type"; exit 1
  fi
done
echo "exports ok: 15 entry points, $framework framework members"
