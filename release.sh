#!/usr/bin/env bash
# Builds the release files into build/release/: the stripped whois.exe for 64-bit and for 32-bit
# Windows, a zip of each, and a per-user installer of each (NSIS). Installs what is missing first.
set -uo pipefail
source "$(dirname "$0")/tools/common.sh"

ensure_packages "${BUILD_PACKAGES[@]}" googletest nsis zip || exit 1
configure_win64 && build win64 whois || exit 1
configure_win32 && build win32 whois || exit 1

# The builds are optimised (-O2, assertions off); stripping their debug information gives the
# release programs.
version=$(project_version)
out="$BUILD/release"
rm -rf "$out"
for arch in win64 win32; do
    case $arch in
        win64) tools=x86_64-w64-mingw32 target=amd64-unicode ;;
        win32) tools=i686-w64-mingw32 target=x86-unicode ;;
    esac
    name="tarquelin-whois-$version-$arch"
    mkdir -p "$out/$arch"
    "$tools-strip" -o "$out/$arch/whois.exe" "$BUILD/$arch/whois.exe" || exit 1
    (cd "$out/$arch" && zip -q -X "../$name.zip" whois.exe) || exit 1
    makensis -V2 -DVERSION="$version" -DTARGET=$target -DEXE="$out/$arch/whois.exe" \
        -DOUTFILE="$out/$name-setup.exe" "$ROOT/packaging/whois.nsi" || exit 1
done
echo "Release files in $out:"
(cd "$out" && ls -1 -- *.zip *.exe)
