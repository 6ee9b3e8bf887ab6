#!/usr/bin/env bash
# Exits 0 when this machine can execute 32-bit x86 programs, 1 when it cannot. It tries one: a
# 100-byte static i386 ELF that only calls exit(0). Some kernels run without 32-bit support, and
# the architecture's name does not tell. SKALNIX_NO_32BIT=1 makes the answer "cannot" on purpose,
# to run the other path on a machine that can.
set -u
[ "${SKALNIX_NO_32BIT:-0}" = 1 ] && exit 1
probe=$(mktemp) || exit 1
trap 'rm -f "$probe"' EXIT
# ELF header (52 bytes), one loadable segment (32 bytes), code: mov eax,1; xor ebx,ebx; int 0x80.
printf '\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00'\
'\x02\x00\x03\x00\x01\x00\x00\x00\x54\x80\x04\x08\x34\x00\x00\x00'\
'\x00\x00\x00\x00\x00\x00\x00\x00\x34\x00\x20\x00\x01\x00\x00\x00\x00\x00\x00\x00'\
'\x01\x00\x00\x00\x00\x00\x00\x00\x00\x80\x04\x08\x00\x80\x04\x08'\
'\x5d\x00\x00\x00\x5d\x00\x00\x00\x05\x00\x00\x00\x00\x10\x00\x00'\
'\xb8\x01\x00\x00\x00\x31\xdb\xcd\x80' >"$probe"
chmod +x "$probe"
"$probe" 2>/dev/null || exit 1
