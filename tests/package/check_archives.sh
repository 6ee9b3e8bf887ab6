#!/usr/bin/env bash
# check_archives.sh BUILD_DIR VERSION
# Makes the Linux release archives with cpack and checks them: the tarball holds what an
# integrator needs and nothing of the build's own (test framework, static layers), the driver's
# SONAME carries the major version, the unpacked tarball works where it lies, and the .deb has
# the version, the runtime dependencies and the files under /usr.
set -euo pipefail
build=$1 version=$2
here=$(dirname "$(realpath "$0")")
packages=$build/packages
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "$*"; exit 1; }

rm -f "$packages"/skalnix[-_]"$version"*
cpack --config "$build/CPackConfig.cmake" >"$work/log" 2>&1 || { cat "$work/log"; exit 1; }

name=skalnix-$version-linux-$(uname -m)
tgz=$packages/$name.tar.gz
deb=$packages/skalnix_${version}_$(dpkg --print-architecture).deb
[ -f "$tgz" ] || fail "no $tgz; cpack made: $(ls "$packages")"
[ -f "$deb" ] || fail "no $deb; cpack made: $(ls "$packages")"

tar -xzf "$tgz" -C "$work"
tree=$work/$name
expected=(include/targodll.h lib/libskalnix.so lib/libskalnix.so.${version%%.*}
          lib/libskalnix.so.$version bin/skalnix-host libexec/skalnix/dibalcom.exe
          lib/cmake/Skalnix/SkalnixConfig.cmake lib/cmake/Skalnix/SkalnixConfigVersion.cmake
          lib/cmake/Skalnix/SkalnixTargets.cmake lib/pkgconfig/skalnix.pc
          share/skalnix/lang/en.ini share/skalnix/examples/kasa.exp
          share/skalnix/examples/serial-export.ini share/doc/skalnix/README.md)
for f in "${expected[@]}"; do
  [ -e "$tree/$f" ] || fail "$name.tar.gz lacks $f"
done
stray=$(cd "$tree" && find . -name '*.a' -o -name '*gtest*' -o -name '*gmock*' -o -name '*bench*')
[ -z "$stray" ] || fail "$name.tar.gz holds build-only files: $stray"
soname=$(readelf -d "$tree/lib/libskalnix.so.$version" | sed -n 's/.*(SONAME).*\[\(.*\)\]/\1/p')
[ "$soname" = "libskalnix.so.${version%%.*}" ] || fail "SONAME is '$soname'"
echo "$name.tar.gz: ${#expected[@]} files present, SONAME $soname"

bash "$here/consume.sh" "$tree" "$version"

[ "$(dpkg-deb -f "$deb" Package)" = skalnix ] || fail "deb package name"
[ "$(dpkg-deb -f "$deb" Version)" = "$version" ] || fail "deb version is not $version"
depends=$(dpkg-deb -f "$deb" Depends)
for lib in libc6 libstdc++6; do
  [[ $depends == *"$lib "* ]] || fail "deb does not depend on $lib: $depends"
done
shlibs=$(dpkg-deb -I "$deb" shlibs) || fail "deb has no shlibs file"
[[ $shlibs == "libskalnix ${version%%.*} skalnix "* ]] || fail "deb shlibs: $shlibs"
contents=$(dpkg-deb -c "$deb" | awk '{print $6}')
for f in ./usr/include/targodll.h ./usr/lib/libskalnix.so.$version ./usr/bin/skalnix-host \
         ./usr/lib/pkgconfig/skalnix.pc ./usr/lib/cmake/Skalnix/SkalnixConfig.cmake; do
  grep -qx -- "$f" <<<"$contents" || fail "$(basename "$deb") lacks $f"
done
echo "$(basename "$deb"): version $version, depends $depends"
