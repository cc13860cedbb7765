#!/usr/bin/env bash
# Builds and runs the program under Wine:
#   ./run.sh [QUESTION]          the program, asking QUESTION at once when one is given
#   ./run.sh --demo [QUESTION]   with the sample WHOIS server on 127.0.0.1 playing the registries and
#                                the servers they refer to (the program's demo build reaches them
#                                there), and a prefix whose custom server list holds the sample
#                                server's own records ("Demo"); QUESTION is asked with "Automatic"
# With no display it runs under Xvfb: it waits until the query has ended, prints the status line
# and the answer, saves build/screenshot.png and closes the program. The exit status then says
# whether the query completed (0), ended otherwise (1) or did not end (2).
set -uo pipefail
source "$(dirname "$0")/tools/common.sh"

demo=""
if [ "${1:-}" = --demo ]; then
    demo=1
    shift
fi
question="$*"
DEMO_PORT=4343

ensure_packages "${BUILD_PACKAGES[@]}" googletest libgtest-dev x11-utils imagemagick || exit 1
configure_win64 && build win64 whois whois_demo whois_window_reader || exit 1
EXE="$BUILD/win64/whois.exe"
READER="$BUILD/win64/whois_window_reader.exe"

if [ -n "$demo" ]; then
    configure native && build native whois_demo_server || exit 1
    export WINEPREFIX="$BUILD/wineprefix-demo"
    new_prefix=$([ -f "$WINEPREFIX/system.reg" ] || echo 1)
    ensure_wine_prefix
    if [ -n "$new_prefix" ]; then
        "$WINE" reg add 'HKCU\Software\Tarquelin\Whois\Servers' /v Demo /d "127.0.0.1 $DEMO_PORT" /f >/dev/null 2>&1
        "$WINESERVER" -w
    fi
    "$BUILD/native/whois_demo_server" "$DEMO_PORT" &
    server_pid=$!
    trap 'kill $server_pid 2>/dev/null' EXIT
    sleep 0.5
    kill -0 "$server_pid" 2>/dev/null ||
        { echo "The demo server could not start (are ports $DEMO_PORT to $((DEMO_PORT + 9)) taken?)"; exit 1; }
    EXE="$BUILD/win64/whois_demo.exe"
    # The question is typed into the window, as a user would, and asked with "Automatic".
    reader_args=()
    [ -n "$question" ] && reader_args+=(--ask "$question")
    program_args=()
else
    ensure_wine_prefix
    # The question comes on the command line; the reader only waits for its answer.
    reader_args=(--timeout 60)
    program_args=("$@")
fi

if [ -n "${DISPLAY:-}" ]; then
    if [ -z "$demo" ]; then
        exec "$WINE" "$EXE" "${program_args[@]}"
    fi
    "$WINE" "$EXE" &
    program_pid=$!
    [ -n "$question" ] && "$WINE" "$READER" "${reader_args[@]}"
    wait "$program_pid"
    exit 0
fi

xvfb-run -a -s "-screen 0 1024x768x24" bash -c '
    wine=$1 server=$2 exe=$3 reader=$4 shot=$5 report=$6 ask=$7
    shift 7
    reader_args=() program_args=()
    while [ $# -gt 0 ] && [ "$1" != -- ]; do reader_args+=("$1"); shift; done
    shift
    program_args=("$@")
    # Everything runs in one Wine desktop: Wine draws the window frames itself, as Windows would,
    # and the reader can see the program'"'"'s window. A program started there has no terminal, so
    # the reader leaves its report in a file.
    in_desktop() { "$wine" explorer /desktop=Whois,1024x768 "$@" >/dev/null 2>&1 & }
    window_up() { xwininfo -root -tree 2>/dev/null | grep -q "\"Tarquelin whois\""; }
    "$server" -k 2>/dev/null
    "$server" -p
    in_desktop "$exe" "${program_args[@]}"
    for _ in $(seq 100); do window_up && break; sleep 0.2; done
    status=0
    if [ -n "$ask" ]; then
        rm -f "$report"
        in_desktop "$reader" --output "Z:$report" "${reader_args[@]}"
        for _ in $(seq 700); do [ -f "$report" ] && break; sleep 0.1; done
        [ -f "$report" ] && cat "$report" || echo "The window reader gave no report."
        case $(head -n 1 "$report" 2>/dev/null) in
            "Status: Complete.") status=0 ;;
            Status:*) status=1 ;;
            *) status=2 ;;
        esac
    else
        sleep 1
    fi
    import -window root "$shot" && echo "Screenshot: $shot"
    in_desktop "$reader" --close
    for _ in $(seq 100); do window_up || break; sleep 0.1; done
    "$server" -k
    exit $status' _ "$WINE" "$WINESERVER" "$EXE" "$READER" "$BUILD/screenshot.png" "$BUILD/window-report.txt" \
    "$question" "${reader_args[@]}" -- "${program_args[@]}"
