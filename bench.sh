#!/usr/bin/env bash
# Runs every benchmark (under Wine, and the link scan natively) and prints one table of ratios
# measured in the same run.
set -uo pipefail
source "$(dirname "$0")/tools/common.sh"

ensure_packages "${BUILD_PACKAGES[@]}" googletest || exit 1
configure_win64 && build win64 whois_bench || exit 1
configure native && build native link_scan_bench || exit 1
export WINEPREFIX="$BUILD/wineprefix-test"
ensure_wine_prefix unmanaged
xvfb-run -a bash -c '"$1" -p; "$2" "$3"; status=$?; "$1" -k; exit $status' _ \
    "$WINESERVER" "$WINE" "$BUILD/win64/bench/whois_bench.exe"
status=$?
# The native rows, under the header the Windows table printed.
"$BUILD/native/link_scan_bench" || status=1
exit $status
