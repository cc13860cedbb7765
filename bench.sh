#!/usr/bin/env bash
# Runs every benchmark (under Wine, and the link scan natively) and prints one table of ratios
# measured in the same run.
set -uo pipefail
source "$(dirname "$0")/tools/common.sh"

ensure_packages "${BUILD_PACKAGES[@]}" googletest || exit 1
configure_win64 && build win64 whois_bench || exit 1
configure native && build native link_scan_bench rdap_render_bench || exit 1
export WINEPREFIX="$BUILD/wineprefix-test"
ensure_wine_prefix unmanaged
xvfb-run -a bash -c '"$1" -p; "$2" "$3"; status=$?; "$1" -k; exit $status' _ \
    "$WINESERVER" "$WINE" "$BUILD/win64/bench/whois_bench.exe"
status=$?
# The native rows, under the header the Windows table printed.
"$BUILD/native/link_scan_bench" || status=1
"$BUILD/native/rdap_render_bench" || status=1
# The size of the program as shipped: stripped.
stripped="$BUILD/whois-stripped.exe"
x86_64-w64-mingw32-strip -o "$stripped" "$BUILD/win64/whois.exe" &&
    printf '%-58s %7d KB %8s\n' "stripped 64-bit whois.exe" $(( $(stat -c %s "$stripped") / 1024 )) "< 1024"
exit $status
