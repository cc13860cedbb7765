#!/usr/bin/env bash
# Builds and runs the program under Wine: ./run.sh [question]
# With no display it runs under Xvfb, waits for the window, saves build/screenshot.png and ends
# the program, so it is useful on a headless machine too.
set -uo pipefail
source "$(dirname "$0")/tools/common.sh"

ensure_packages "${BUILD_PACKAGES[@]}" googletest x11-utils imagemagick || exit 1
configure_win64 && build win64 whois || exit 1
ensure_wine_prefix

if [ -n "${DISPLAY:-}" ]; then
    exec "$WINE" "$BUILD/win64/whois.exe" "$@"
fi

xvfb-run -a -s "-screen 0 1024x768x24" bash -c '
    wine=$1 server=$2 exe=$3 shot=$4
    shift 4
    "$server" -p
    # A Wine desktop window: Wine draws the window frames itself, as Windows would.
    "$wine" explorer /desktop=Whois,1024x768 "$exe" "$@" &
    for _ in $(seq 100); do
        xwininfo -root -tree 2>/dev/null | grep -q "\"Tarquelin whois\"" && break
        sleep 0.2
    done
    # Give a question on the command line time to be answered before the picture is taken.
    sleep 5
    import -window root "$shot" && echo "Screenshot: $shot"
    "$server" -k' _ "$WINE" "$WINESERVER" "$BUILD/win64/whois.exe" "$BUILD/screenshot.png" "$@"
