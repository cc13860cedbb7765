#!/usr/bin/env bash
# The release files as a Windows user gets them (made by release.sh; test.sh runs both): each zip
# holds the stripped program with its version, and the 64-bit installer, run silently in a private
# Wine prefix, installs for the current user, its Start menu shortcut starts the program, and the
# uninstaller named by its uninstall entry takes every program file and entry away again while a
# silent uninstall keeps the user's settings.
set -uo pipefail
source "$(dirname "$0")/../../tools/common.sh"
[ -n "${DISPLAY:-}" ] || exec xvfb-run -a "$0" "$@"

version=$(project_version)
release="$BUILD/release"
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

for arch in win64 win32; do
    case $arch in
        win64) tools=x86_64-w64-mingw32 ;;
        win32) tools=i686-w64-mingw32 ;;
    esac
    exe="$release/$arch/whois.exe"
    unzip -p "$release/tarquelin-whois-$version-$arch.zip" whois.exe | cmp -s - "$exe" ||
        fail "the $arch zip does not hold the release program"
    # Each grep reads to the end: one that stops at its first match can leave the tool writing
    # into a closed pipe, and the pipeline then fails now and then.
    "$tools-objdump" -h "$exe" | grep '\.debug' >/dev/null && fail "the $arch program still has debug information"
    "$tools-windres" -i "$exe" -O rc | grep "VALUE \"ProductVersion\", \"$version\"" >/dev/null ||
        fail "the $arch program does not carry version $version"
done

export WINEPREFIX="$BUILD/wineprefix-install"
# Wine would otherwise turn the Start menu shortcut into a desktop entry in the user's home.
export WINEDLLOVERRIDES="$WINEDLLOVERRIDES;winemenubuilder.exe="
ensure_wine_prefix unmanaged
"$WINESERVER" -p
trap '"$WINESERVER" -k' EXIT
# Wine's background processes start here, with no hold on the caller's output.
"$WINE" cmd /c exit >/dev/null 2>&1

# unix_path VARIABLE PATH: where PATH under the folder that the Windows VARIABLE names is here.
unix_path() { "$WINE" winepath -u "$("$WINE" cmd /c echo "%$1%" | tr -d '\r')\\$2" 2>/dev/null; }
reg_value() { "$WINE" reg query "$1" /v "$2" 2>/dev/null | tr -d '\r' | sed -n "s/^ *$2 *REG_[A-Z_]* *//p"; }
has_key() { "$WINE" reg query "$1" >/dev/null 2>&1; }
window_shown() { xwininfo -root -tree | grep -q '"Tarquelin whois"'; }
# wait_for SECONDS COMMAND...: until COMMAND succeeds, or false when the time is up.
wait_for() {
    local deadline=$((SECONDS + $1))
    shift
    until "$@"; do
        [ $SECONDS -lt $deadline ] || return 1
        sleep 0.2
    done
}

install_dir=$(unix_path LOCALAPPDATA 'Programs\Tarquelin whois')
shortcut=$(unix_path APPDATA 'Microsoft\Windows\Start Menu\Programs\Tarquelin whois.lnk')
[ -n "$install_dir" ] && [ -n "$shortcut" ] || { echo "FAIL: no user folders in $WINEPREFIX"; exit 1; }
uninstall_key='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\TarquelinWhois'
settings_key='HKCU\Software\Tarquelin\Whois'
# What an earlier run left behind must not pass for this run's install.
rm -rf "$install_dir" "$shortcut"
"$WINE" reg delete "$uninstall_key" /f >/dev/null 2>&1
"$WINE" reg delete 'HKCU\Software\Tarquelin' /f >/dev/null 2>&1

"$WINE" "$release/tarquelin-whois-$version-win64-setup.exe" /S >/dev/null 2>&1 || fail "the installer failed"
cmp -s "$install_dir/whois.exe" "$release/win64/whois.exe" || fail "the program is not installed in $install_dir"
[ -f "$install_dir/uninstall.exe" ] || fail "no uninstaller beside the program"
[ -f "$shortcut" ] || fail "no Start menu shortcut"
[ "$(reg_value "$uninstall_key" DisplayName)" = "Tarquelin whois" ] || fail "no uninstall entry named Tarquelin whois"
[ "$(reg_value "$uninstall_key" DisplayVersion)" = "$version" ] || fail "the uninstall entry does not show version $version"

"$WINE" start /unix "$shortcut" >/dev/null 2>&1
wait_for 60 window_shown || fail "the shortcut did not open the program's window"
# The close box's way out, which also stores the settings.
"$WINE" taskkill /im whois.exe >/dev/null 2>&1
settings_stored() { ! window_shown && has_key "$settings_key"; }
wait_for 30 settings_stored || fail "the program did not close and store its settings"

uninstaller=$(reg_value "$uninstall_key" UninstallString | sed 's/^"\(.*\)"$/\1/')
"$WINE" "$uninstaller" /S >/dev/null 2>&1 || fail "the uninstaller failed to start"
# The uninstaller works on from a copy of itself; its entry goes last.
entry_gone() { ! has_key "$uninstall_key"; }
wait_for 60 entry_gone || fail "the uninstall entry is still there"
[ -e "$install_dir" ] && fail "left in $install_dir: $(ls -A "$install_dir")"
[ -e "$shortcut" ] && fail "the Start menu shortcut is still there"
has_key "$settings_key" || fail "a silent uninstall removed the settings"

[ $failures -eq 0 ] && echo "The release files and the installer work."
exit $((failures > 0))
