# Shared by scripts/test and scripts/run: installs what is missing and sets up Wine.
# Sourced, not run.

ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
JOBS=${JOBS:-$(nproc)}
# Build trees live here, one per preset; helpers working side by side give each their own.
BUILD_ROOT=${TESSARUNE_BUILD_ROOT:-$ROOT/build}

log() { printf '\n=== %s\n' "$*"; }

# Debian packages the project needs; 32-bit Wine needs the i386 architecture.
PACKAGES=(
    cmake make g++ googletest libgtest-dev libbenchmark-dev
    clang libclang-rt-14-dev
    g++-mingw-w64-i686 g++-mingw-w64-x86-64 mingw-w64-tools
    wine wine32:i386 wine64
    xvfb xauth x11-utils xdotool imagemagick fonts-wqy-microhei fonts-wine locales
)

sudo_if_needed() {
    if [ "$(id -u)" = 0 ]; then "$@"; else sudo "$@"; fi
}

ensure_packages() {
    local missing=()
    local p
    for p in "${PACKAGES[@]}"; do
        if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
            missing+=("$p")
        fi
    done
    if [ ${#missing[@]} -gt 0 ]; then
        install_packages "${missing[@]}"
    fi
    # Wine takes its code page from the locale: zh_CN.UTF-8 gives code page 936.
    if ! locale -a 2>/dev/null | grep -qix 'zh_CN.utf8'; then
        sudo_if_needed localedef -i zh_CN -f UTF-8 zh_CN.UTF-8
    fi
}

install_packages() {
    local missing=("$@")
    log "installing: ${missing[*]}"
    if ! dpkg --print-foreign-architectures | grep -qx i386; then
        sudo_if_needed dpkg --add-architecture i386
    fi
    sudo_if_needed apt-get update -qq
    sudo_if_needed env DEBIAN_FRONTEND=noninteractive \
        apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

# Wine: a 64-bit prefix (it runs the 32-bit and the 64-bit programs) that is quiet and
# non-interactive, draws its own window frames (no window manager under Xvfb), and runs in code
# page 936 as the systems the tool is meant for.
export WINEPREFIX=${TESSARUNE_WINEPREFIX:-${XDG_CACHE_HOME:-$HOME/.cache}/tessarune/wine}
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
export LC_ALL=zh_CN.UTF-8

# Must run with DISPLAY set (inside xvfb-run): a Wine process started without a display
# leaves a wineserver behind that cannot create windows.
# prepare_wine [desktop]: with "desktop", a window manager is expected to frame the windows;
# otherwise (Xvfb) Wine draws the frames itself, which also spares the 2 s that every hidden or
# closed window would cost waiting for a window manager.
prepare_wine() {
    local managed=N
    [ "${1:-}" = desktop ] && managed=Y
    local stamp="$WINEPREFIX/.tessarune-ready-1"
    if [ ! -f "$stamp" ]; then
        log "preparing the Wine prefix $WINEPREFIX"
        mkdir -p "$WINEPREFIX"
        wineboot -i >/dev/null 2>&1 || true
        wineserver -w
        wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null
        # Debian's Wine does not find its own fonts: without Marlett the caption buttons show
        # as letters.
        mkdir -p "$WINEPREFIX/drive_c/windows/Fonts"
        cp -n /usr/share/wine/fonts/*.ttf "$WINEPREFIX/drive_c/windows/Fonts/" 2>/dev/null || true
        wineserver -w
        touch "$stamp"
    fi
    # A running server and one finished process keep CTest from waiting on Wine's helpers.  The
    # server goes first: with one already started by `wine reg`, `wineserver -p` fails.
    wineserver -p
    wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d "$managed" /f >/dev/null
    wine cmd /c exit 0 >/dev/null 2>&1
}

stop_wine() { wineserver -k 2>/dev/null || true; }

configure_and_build() {
    local preset=$1
    log "build: $preset"
    cmake --preset "$preset" -B "$BUILD_ROOT/$preset" >/dev/null
    cmake --build "$BUILD_ROOT/$preset" -j "$JOBS"
}

# Runs a preset's tests and adds their count to $BUILD_ROOT/test-counts (see print_test_totals).
run_tests() {
    local preset=$1
    shift
    log "test: $preset"
    local out="$BUILD_ROOT/$preset/ctest-output.txt"
    ctest --test-dir "$BUILD_ROOT/$preset" --output-on-failure --no-tests=error "$@" |
        tee "$out"
    sed -n 's/.*tests passed, \([0-9]*\) tests failed out of \([0-9]*\).*/\2 \1/p' "$out" \
        >>"$BUILD_ROOT/test-counts"
}

print_test_totals() {
    awk '{ total += $1; failed += $2 }
         END { printf "tests: %d passed, %d failed\n", total - failed, failed }' \
        "$BUILD_ROOT/test-counts"
}
