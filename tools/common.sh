# Shared by run.sh, test.sh and release.sh: Debian packages, the build folders and the private Wine set-up.
# Sourced, not run.

ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
BUILD="$ROOT/build"

export WINEPREFIX="$BUILD/wineprefix"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
WINE=/usr/lib/wine/wine64
WINESERVER=/usr/lib/wine/wineserver64

# Installs the packages of the list that are missing (apt-get update first); quick when none is.
ensure_packages() {
    local missing=()
    for package in "$@"; do
        dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' || missing+=("$package")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "Installing: ${missing[*]}"
    local sudo=""
    [ "$(id -u)" -eq 0 ] || sudo=sudo
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
}

BUILD_PACKAGES=(cmake ninja-build g++ nlohmann-json3-dev g++-mingw-w64-x86-64 g++-mingw-w64-i686 wine64 fonts-wine
    fonts-wqy-microhei xvfb xauth)

# configure DIR [cmake options...]: configures the build folder DIR once.
configure() {
    local dir="$BUILD/$1"
    shift
    [ -f "$dir/build.ninja" ] || cmake -G Ninja -S "$ROOT" -B "$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" >/dev/null
}

# build DIR [targets...]: builds what is stale, showing only what the compiler says.
build() {
    local dir="$BUILD/$1"
    shift
    local targets=()
    [ $# -gt 0 ] && targets=(--target "$@")
    cmake --build "$dir" "${targets[@]}" -- -j"$(nproc)" > "$dir/build.log" 2>&1
    local status=$?
    grep -vE '^\[[0-9]+/[0-9]+\] |^ninja: no work to do' "$dir/build.log"
    return $status
}

# The program's version, as the project in CMakeLists.txt declares it.
project_version() { sed -n 's/^project(TarquelinWhois VERSION \([0-9.]*\) .*/\1/p' "$ROOT/CMakeLists.txt"; }

# The libFuzzer targets: clang, with the fuzzer runtime from clang's compiler-rt.
FUZZ_PACKAGES=(clang libclang-rt-14-dev)
configure_fuzz() { configure fuzz -DCMAKE_CXX_COMPILER=clang++ -DWHOIS_FUZZ=ON; }
# The threaded unit tests under ThreadSanitizer.
configure_tsan() { configure native-tsan -DWHOIS_SANITIZER=thread; }

configure_win64() { configure win64 -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/mingw-x86_64.cmake" -DWHOIS_WERROR=ON; }
configure_win32() {
    configure win32 -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/mingw-i686.cmake" -DWHOIS_WERROR=ON -DWHOIS_TESTS=OFF
}

# The private Wine prefix; its first start takes a few seconds. With "unmanaged", its windows are
# not handed to a window manager: under a bare Xvfb, Wine otherwise waits two seconds for one
# whenever a window is hidden or destroyed. A prefix made before the fonts below gets them too.
ensure_wine_prefix() {
    if [ ! -f "$WINEPREFIX/system.reg" ]; then
        echo "Creating the Wine prefix in $WINEPREFIX (once)..."
        DISPLAY= "$WINE" wineboot --init >/dev/null 2>&1 || true
        if [ "${1:-}" = unmanaged ]; then
            "$WINE" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
        fi
        "$WINESERVER" -w
    fi
    ensure_wine_fonts
}

# Wine has no "Courier New", the answer view's font, and would show answers in a proportional face:
# the prefix takes WenQuanYi Micro Hei Mono for it, a monospaced face with Latin, Greek, Cyrillic,
# Chinese, Japanese and Korean letters. It has to be one face: Wine's rich edit draws the glyphs of
# the face it is given and no linked face's. Wine finds the package's file through fontconfig.
ensure_wine_fonts() {
    grep -q '^"Courier New"="WenQuanYi Micro Hei Mono"' "$WINEPREFIX/system.reg" 2>/dev/null && return 0
    "$WINE" reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontSubstitutes' /v "Courier New" \
        /d "WenQuanYi Micro Hei Mono" /f >/dev/null 2>&1
    "$WINESERVER" -w
}
