#!/usr/bin/env bash
# check_zip.sh BUILD_DIR VERSION DESCRIPTION ARCH TOOLCHAIN_FILE UNPACK_DIR
# Makes the Windows release zip with cpack and checks it without running anything: the files an
# integrator needs and nothing of the build's own, the version resource of the DLL, and that a
# program links against the zipped import library through find_package(Skalnix). The zip is
# left unpacked in UNPACK_DIR, with that program in its bin/, for the tests that run it.
set -euo pipefail
build=$(realpath "$1") version=$2 description=$3 arch=$4 toolchain=$(realpath "$5")
unpack=$(realpath -m "$6")
here=$(dirname "$(realpath "$0")")
fail() { echo "$*"; exit 1; }

name=skalnix-$version-$arch
zip=$build/packages/$name.zip
rm -rf "$unpack" "$zip"
mkdir -p "$unpack"
cpack --config "$build/CPackConfig.cmake" >"$unpack/cpack.log" 2>&1 ||
  { cat "$unpack/cpack.log"; exit 1; }
[ -f "$zip" ] || fail "no $zip; cpack made: $(ls "$build/packages")"
(cd "$unpack" && cmake -E tar xf "$zip")
tree=$unpack/$name

expected=(bin/skalnix.dll bin/skalnix-host.exe bin/dibalcom.exe lib/skalnix.def
          lib/libskalnix.dll.a include/targodll.h share/skalnix/lang/en.ini
          share/skalnix/examples/kasa.exp share/skalnix/examples/serial-export.ini
          share/doc/skalnix/README.md lib/cmake/Skalnix/SkalnixConfig.cmake
          lib/pkgconfig/skalnix.pc)
for f in "${expected[@]}"; do
  [ -e "$tree/$f" ] || fail "$name.zip lacks $f"
done
stray=$(cd "$tree" && find . \( -name '*.a' ! -name libskalnix.dll.a \) -o -name '*gtest*' \
          -o -name '*gmock*' -o -name 'registry_probe*')
[ -z "$stray" ] || fail "$name.zip holds build-only files: $stray"
echo "$name.zip: ${#expected[@]} files present"

# The fixed part of VERSIONINFO (the numbers) and its strings (UTF-16).
python3 - "$tree/bin/skalnix.dll" "$version" "$description" <<'PY'
import struct, sys
data = open(sys.argv[1], 'rb').read()
version, description = sys.argv[2], sys.argv[3]
at = data.find(struct.pack('<I', 0xFEEF04BD))
if at < 0:
    sys.exit('skalnix.dll has no version resource')
file_ms, file_ls, prod_ms, prod_ls = struct.unpack_from('<4I', data, at + 8)
want = [int(p) for p in (version.split('.') + ['0'] * 4)[:4]]
for what, ms, ls in (('file', file_ms, file_ls), ('product', prod_ms, prod_ls)):
    got = [ms >> 16, ms & 0xFFFF, ls >> 16, ls & 0xFFFF]
    if got != want:
        sys.exit(f'{what} version {got}, expected {want}')
def value(key):
    k = (key + '\0').encode('utf-16-le')
    i = data.find(k)
    if i < 0:
        return None
    i += len(k)
    i = (i + 3) & ~3  # the value starts on a 32-bit boundary
    end = data.find(b'\0\0', i)
    while (end - i) % 2:
        end = data.find(b'\0\0', end + 1)
    return data[i:end].decode('utf-16-le')
for key, want_text in (('FileVersion', version), ('ProductVersion', version),
                       ('FileDescription', description)):
    got = value(key)
    if got != want_text:
        sys.exit(f'{key} is {got!r}, expected {want_text!r}')
print(f'skalnix.dll version resource: {version}, "{description}"')
PY

cmake -S "$here/consumer" -B "$unpack/consumer" -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DSkalnix_DIR="$tree/lib/cmake/Skalnix" \
  >"$unpack/consumer.log" 2>&1 &&
  cmake --build "$unpack/consumer" >>"$unpack/consumer.log" 2>&1 ||
  { cat "$unpack/consumer.log"; exit 1; }
if grep -qi warning "$unpack/consumer.log"; then
  cat "$unpack/consumer.log"; fail "consumer built with warnings"
fi
# It must import the driver's entry point under the plain name the DLL exports.
objdump=${OBJDUMP:-$(sed -n 's/^CMAKE_OBJDUMP:FILEPATH=//p' "$build/CMakeCache.txt")}
imports=$("$objdump" -p "$unpack/consumer/consumer.exe" |
          awk '/DLL Name: /{dll=tolower($3)}
               dll=="skalnix.dll" && NF==3 && $2 ~ /^[0-9]+$/{print $3}')
[ "$imports" = TargoDLLTypBiblioteki ] ||
  fail "consumer.exe imports '$imports' from skalnix.dll, not TargoDLLTypBiblioteki"
cp "$unpack/consumer/consumer.exe" "$tree/bin/"
echo "consumer.exe links against the zipped import library and imports TargoDLLTypBiblioteki"
