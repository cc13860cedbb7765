#!/usr/bin/env bash
# Runs every test in one CTest run: the portable code's unit tests natively (with AddressSanitizer
# and UndefinedBehaviorSanitizer, and the threaded ones again with ThreadSanitizer), a short run of
# each fuzz target, the Windows tests under Wine, and the release files with the installer (made by
# release.sh). Also checks that the 32-bit program builds without warnings, and runs the README's
# demo headless. Installs what is missing and builds what is stale first.
set -uo pipefail
source "$(dirname "$0")/tools/common.sh"

ensure_packages "${BUILD_PACKAGES[@]}" googletest libgtest-dev nsis zip unzip x11-utils "${FUZZ_PACKAGES[@]}" || exit 1
configure native && build native || exit 1
configure_tsan && build native-tsan || exit 1
configure_fuzz && build fuzz || exit 1
configure_win64 && build win64 || exit 1
configure_win32 && build win32 || exit 1
"$ROOT/release.sh" > "$BUILD/release.log" 2>&1 || { cat "$BUILD/release.log"; exit 1; }
export WINEPREFIX="$BUILD/wineprefix-test"
ensure_wine_prefix unmanaged

mkdir -p "$BUILD/all"
{
    printf 'subdirs("%s")\n' "$BUILD/native" "$BUILD/native-tsan" "$BUILD/fuzz" "$BUILD/win64"
    printf 'add_test(package.release "%s")\n' "$ROOT/tests/package/release-test.sh"
} > "$BUILD/all/CTestTestfile.cmake"

# A test program that Wine itself fails to start (seen once, in a fresh root) gets one more try.
# One wineserver for the whole run: each test program then starts in a fraction of a second.
# Wine's background processes are started first, apart from CTest: started by a test program,
# they would inherit its output pipe and keep CTest waiting for it to close.
xvfb-run -a -s "-screen 0 1280x1024x24" bash -c '
    "$1" -p
    "$(dirname "$1")/wine64" cmd /c exit >/dev/null 2>&1
    ctest --test-dir "$2" --output-on-failure --repeat until-pass:2 "${@:3}"
    status=$?
    "$1" -k
    exit $status' _ "$WINESERVER" "$BUILD/all" "$@"
status=$?
[ $# -gt 0 ] && exit $status

# The README's demo, headless: the sample server answers through the real window, read from outside.
echo "Demo run: ./run.sh --demo example.com"
if DISPLAY= "$ROOT/run.sh" --demo example.com > "$BUILD/demo-run.log" 2>&1 &&
    grep -q "^Status: Complete.$" "$BUILD/demo-run.log" && grep -q "^Domain Name: EXAMPLE.COM$" "$BUILD/demo-run.log"; then
    echo "Demo run passed"
else
    echo "Demo run FAILED:"
    cat "$BUILD/demo-run.log"
    status=1
fi
exit $status
