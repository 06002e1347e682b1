# Shared set-up of the run and test commands; sourced, not run.
#
# orlim_prepare installs what is missing, starts a private X server and
# prepares the Wine prefix in the background; orlim_wait_prefix waits for it.
# Everything lives under $ORLIM_BUILD: build/ in the checkout, the build
# directory of CMake's "test" preset (CMakePresets.json).

set -euo pipefail
export LC_ALL=C.UTF-8 # the font replacement for 宋体 needs a UTF-8 locale

ORLIM_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
ORLIM_BUILD=$ORLIM_ROOT/build
ORLIM_PROXY_PORT=${ORLIM_PROXY_PORT:-18771}
mkdir -p "$ORLIM_BUILD" # every script writes its logs there

# Whether this machine's kernel runs 32-bit x86 programs (the kernels of
# some virtual machines refuse them all): a 93-byte i386 program that only
# exits, run.
orlim_runs_32bit() {
    local probe status=1
    probe=$(mktemp "$ORLIM_BUILD/i386-probe.XXXXXX")
    printf '\177ELF\1\1\1\0\0\0\0\0\0\0\0\0\2\0\3\0\1\0\0\0\124\200\4\10\64\0\0\0\0\0\0\0\0\0\0\0\64\0\40\0\1\0\0\0\0\0\0\0''\1\0\0\0\0\0\0\0\0\200\4\10\0\200\4\10\135\0\0\0\135\0\0\0\5\0\0\0\0\20\0\0''\270\1\0\0\0\61\333\315\200' >"$probe"
    chmod +x "$probe"
    "$probe" 2>/dev/null && status=0
    rm -f "$probe"
    return $status
}

# The tests run the launcher as it ships, 32-bit, under 32-bit Wine. Where
# no 32-bit program runs, they run a 64-bit build of the same sources under
# 64-bit Wine instead (cmake/mingw-x86_64.cmake); the release and the Clang
# build stay 32-bit there too, and the release is checked to be.
if [ -z "${ORLIM_TEST_ARCH:-}" ]; then
    if orlim_runs_32bit; then ORLIM_TEST_ARCH=i686; else ORLIM_TEST_ARCH=x86_64; fi
fi
export ORLIM_TEST_ARCH
if [ "$ORLIM_TEST_ARCH" = i686 ]; then
    ORLIM_ARCH_PACKAGES="wine32:i386" ORLIM_WINEARCH=win32
else
    ORLIM_ARCH_PACKAGES="g++-mingw-w64-x86-64-posix wine64" ORLIM_WINEARCH=win64
fi
ORLIM_TOOLCHAIN=$ORLIM_ROOT/cmake/mingw-$ORLIM_TEST_ARCH.cmake
ORLIM_PACKAGES="g++-mingw-w64-i686-posix cmake googletest wine $ORLIM_ARCH_PACKAGES xvfb xauth imagemagick fonts-arphic-uming"
# Installed without what they recommend: the release's zip writer, the
# second compiler and its tidy and format tools, Ninja for every build the
# scripts make (Make's builds are one file at a time unless told), Make for
# the by-hand build, a sound server that plays nowhere, and a compiler cache
# for every build but the release's.
ORLIM_PACKAGES_LEAN="python3 clang lld clang-tidy clang-format ninja-build make pulseaudio x11-utils ccache"

# Messages say how long the command has been running (the scripts it runs
# count from its start too).
export ORLIM_STARTED=${ORLIM_STARTED:-$(date +%s)}
orlim_say() { printf '==> [%4d s] %s\n' "$(($(date +%s) - ORLIM_STARTED))" "$*" >&2; }
orlim_die() { printf 'error: %s\n' "$*" >&2; exit 1; }

orlim_missing() {
    local p
    for p in "$@"; do
        dpkg -s "$p" >/dev/null 2>&1 || printf '%s\n' "$p"
    done
}

orlim_install_packages() {
    local missing lean
    mapfile -t missing < <(orlim_missing $ORLIM_PACKAGES)
    mapfile -t lean < <(orlim_missing $ORLIM_PACKAGES_LEAN)
    ((${#missing[@]} + ${#lean[@]})) || return 0
    local all=("${missing[@]}" "${lean[@]}")

    local sudo=()
    if [ "$(id -u)" != 0 ]; then
        if command -v sudo >/dev/null 2>&1 && sudo -n true 2>/dev/null; then
            sudo=(sudo -n)
        else
            orlim_die "these packages are missing and installing them needs root: ${all[*]}
       install them as root (apt-get install ${all[*]}; wine32:i386 needs 'dpkg --add-architecture i386' first), then run this again"
        fi
    fi
    command -v apt-get >/dev/null 2>&1 || orlim_die "no apt-get here; install by hand: ${all[*]}"

    orlim_say "installing ${all[*]}"
    if [[ " ${missing[*]} " == *":i386 "* ]] && ! dpkg --print-foreign-architectures | grep -qx i386; then
        "${sudo[@]}" dpkg --add-architecture i386
    fi
    "${sudo[@]}" apt-get update -qq || orlim_die "apt-get update failed"
    local apt=("${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq)
    if { ((${#missing[@]} == 0)) || "${apt[@]}" "${missing[@]}"; } >"$ORLIM_BUILD/apt.log" 2>&1 &&
        { ((${#lean[@]} == 0)) || "${apt[@]}" --no-install-recommends "${lean[@]}"; } >>"$ORLIM_BUILD/apt.log" 2>&1; then
        return 0
    fi
    tail -n 20 "$ORLIM_BUILD/apt.log" >&2
    orlim_die "could not install: ${all[*]} (full log: $ORLIM_BUILD/apt.log)"
}

# A private X server on a free display; prints the display's number.
orlim_xvfb() {
    local name=$1
    rm -f "$ORLIM_BUILD/$name.display"
    Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -noreset \
        3>"$ORLIM_BUILD/$name.display" </dev/null >"$ORLIM_BUILD/$name.log" 2>&1 &
    echo $! >"$ORLIM_BUILD/$name.pid"
    local i
    for i in $(seq 200); do
        [ -s "$ORLIM_BUILD/$name.display" ] && break
        kill -0 "$(cat "$ORLIM_BUILD/$name.pid")" 2>/dev/null || orlim_die "Xvfb did not start (see $ORLIM_BUILD/$name.log)"
        sleep 0.05
    done
    [ -s "$ORLIM_BUILD/$name.display" ] || orlim_die "Xvfb did not report a display"
}

# Wine draws its own desktop in the first display. The second one has a
# desktop of its own with a taskbar's place kept free (its work area is
# smaller than the screen, as on Windows), for the tests of placements.
orlim_start_xvfb() {
    orlim_xvfb xvfb
    export DISPLAY=":$(head -n1 "$ORLIM_BUILD/xvfb.display")"
    orlim_xvfb xvfb-workarea
    ORLIM_WORKAREA_DISPLAY=":$(head -n1 "$ORLIM_BUILD/xvfb-workarea.display")"
    DISPLAY=$ORLIM_WORKAREA_DISPLAY xprop -root -f _NET_WORKAREA 32c -set _NET_WORKAREA "0, 40, 1280, 680"
}

# A PulseAudio server with a null sink: a playback device for Wine that
# plays nowhere (the mute tests need one).
orlim_start_pulse() {
    local dir="$ORLIM_BUILD/pulse"
    rm -rf "$dir" && mkdir -p "$dir"
    PULSE_RUNTIME_PATH="$dir" PULSE_STATE_PATH="$dir" HOME="$dir" pulseaudio --daemonize=yes --exit-idle-time=-1 \
        --disallow-exit -n --load="module-null-sink sink_name=orlim" \
        --load="module-native-protocol-unix socket=$dir/native auth-anonymous=1" --log-target="file:$dir/log" \
        </dev/null >/dev/null 2>&1 || orlim_say "warning: PulseAudio did not start; there is no playback device"
    export PULSE_SERVER="unix:$dir/native"
}

orlim_reg() { wine reg add "$1" /v "$2" /t "$3" /d "$4" /f >/dev/null 2>&1; }

# Creates the prefix once; every start re-applies the settings the program
# and the tests rely on.
orlim_prefix_job() {
    if [ ! -f "$WINEPREFIX/system.reg" ]; then
        WINEDLLOVERRIDES="mscoree=" wineboot -i
    fi
    local fonts='HKCU\Software\Wine\Fonts\Replacements'
    orlim_reg "$fonts" '宋体' REG_SZ 'AR PL UMing CN'
    orlim_reg "$fonts" 'SimSun' REG_SZ 'AR PL UMing CN'
    orlim_reg 'HKCU\Software\Wine\Explorer' Desktop REG_SZ Default
    orlim_reg 'HKCU\Software\Wine\Explorer\Desktops' Default REG_SZ 1280x1024
    # A program that crashes ends at once, its backtrace on stderr, instead
    # of waiting for a crash dialog nobody answers.
    orlim_reg 'HKCU\Software\Wine\WineDbg' ShowCrashDialog REG_DWORD 0
    # Wine's HID bus asks SDL for game controllers a hundred times a second,
    # for as long as the prefix's server runs: 2 % of a core per desktop,
    # for devices no test has.
    orlim_reg 'HKLM\System\CurrentControlSet\Services\winebus' 'Enable SDL' REG_DWORD 0
    # The launcher opens internet addresses: route every request of the
    # browser to a loopback proxy so that nothing leaves this machine.
    local inet='HKCU\Software\Microsoft\Windows\CurrentVersion\Internet Settings'
    orlim_reg "$inet" ProxyEnable REG_DWORD 1
    orlim_reg "$inet" ProxyServer REG_SZ "127.0.0.1:$ORLIM_PROXY_PORT"
    orlim_reg "$inet" ProxyOverride REG_SZ ''
    wineserver -w # a server left running after set-up stalls the first window for 10 s

    # A copy of the prefix without the virtual desktop, for the display with
    # a work area (a virtual desktop's work area is all of it). A copy, not
    # links: Wine writes its registry files in place.
    local workarea="$ORLIM_BUILD/wineprefix-workarea"
    if [ ! -f "$workarea/system.reg" ] || [ "$WINEPREFIX/system.reg" -nt "$workarea/system.reg" ]; then
        rm -rf "$workarea"
        cp -a "$WINEPREFIX" "$workarea"
    fi
    WINEPREFIX=$workarea DISPLAY=$ORLIM_WORKAREA_DISPLAY wine reg delete 'HKCU\Software\Wine\Explorer' /v Desktop /f >/dev/null 2>&1 || true
    WINEPREFIX=$workarea wineserver -w
    printf 'WINEPREFIX=%s\nDISPLAY=%s\n' "$workarea" "$ORLIM_WORKAREA_DISPLAY" >"$ORLIM_BUILD/workarea.env"
}

orlim_cleanup() {
    local pids
    pids=$(jobs -p)
    if [ -n "$pids" ]; then kill $pids 2>/dev/null || true; fi
    orlim_stop_wine
    local x
    for x in "$ORLIM_BUILD"/xvfb*.pid; do
        if [ -f "$x" ]; then kill "$(cat "$x")" 2>/dev/null || true; fi
    done
    if [ -n "${ORLIM_PROXY_PID:-}" ]; then kill "$ORLIM_PROXY_PID" 2>/dev/null || true; fi
    if [ -f "$ORLIM_BUILD/pulse/pid" ]; then kill "$(cat "$ORLIM_BUILD/pulse/pid")" 2>/dev/null || true; fi
}

# Ends the Wine servers of every prefix in the build folder (a server of an
# earlier run would hold on to its display).
orlim_stop_wine() {
    local prefix
    for prefix in "$ORLIM_BUILD"/wineprefix*; do
        if [ -d "$prefix" ]; then WINEPREFIX="$prefix" wineserver -k 2>/dev/null || true; fi
    done
}

orlim_prepare() {
    orlim_install_packages
    if [ "$ORLIM_TEST_ARCH" = x86_64 ]; then
        [ ! -e /usr/lib/wine/wine ] ||
            orlim_die "this machine runs no 32-bit program, yet 32-bit Wine, which 'wine' would start, is installed: remove it (apt-get remove wine32:i386) and run this again"
        orlim_say "this machine runs no 32-bit program: the launcher and its tests are built for 64-bit Windows and run under 64-bit Wine"
    fi
    export WINEPREFIX="$ORLIM_BUILD/wineprefix" WINEARCH=$ORLIM_WINEARCH WINEDEBUG=-all
    export ORLIM_PROXY_PORT
    trap orlim_cleanup EXIT
    trap 'exit 130' INT TERM
    orlim_stop_wine
    orlim_start_xvfb
    orlim_start_pulse
    orlim_prefix_job </dev/null >"$ORLIM_BUILD/prefix.log" 2>&1 &
    ORLIM_PREFIX_JOB=$!
}

# Waits for the prefix, then leaves one keepalive process (built by
# orlim_build) running on each display.
orlim_wait_prefix() {
    wait "$ORLIM_PREFIX_JOB" || orlim_die "the Wine prefix could not be prepared (see $ORLIM_BUILD/prefix.log)"
    WINEPREFIX="$ORLIM_BUILD/wineprefix-workarea" DISPLAY=$ORLIM_WORKAREA_DISPLAY orlim_keepalive
    orlim_keepalive
}

# Ninja when it is there, else CMake's default generator.
orlim_generator() {
    if command -v ninja >/dev/null 2>&1; then echo "-GNinja"; fi
}

# The compiler cache, where it is there, for the builds that may use it (not
# the release's, which is proved reproducible from nothing). Paths below the
# checkout count as relative to it, so that another clone of the project on
# the same machine (CI's) finds what this one compiled, and so that the
# sanitizer's build (build-ubsan/, as deep as build/) finds the tests and
# the harness the tests' build compiled. The tests' compilations read a
# precompiled header, which the cache takes only when told that the header
# is made with the macros and timestamps of the build that uses it. What a
# compilation read is taken from the compiler's list of its headers, not from
# a second run of its preprocessor (which would cost a fresh build a third).
export CCACHE_BASEDIR="$ORLIM_ROOT"
export CCACHE_SLOPPINESS=pch_defines,time_macros,include_file_mtime,include_file_ctime
export CCACHE_DEPEND=1
orlim_cache_args() {
    if command -v ccache >/dev/null 2>&1; then
        echo "-DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache"
    fi
}

# The "test" preset (warnings are errors in every build the scripts make),
# for the machine the tests run on.
orlim_configure() {
    if ! grep -q '^ORLIM_WERROR:BOOL=ON$' "$ORLIM_BUILD/CMakeCache.txt" 2>/dev/null ||
        ! grep -qx "CMAKE_TOOLCHAIN_FILE:FILEPATH=$ORLIM_TOOLCHAIN" "$ORLIM_BUILD/CMakeCache.txt" ||
        { command -v ccache >/dev/null 2>&1 && ! grep -q '^CMAKE_CXX_COMPILER_LAUNCHER' "$ORLIM_BUILD/CMakeCache.txt"; }; then
        cmake --preset test -S "$ORLIM_ROOT" --toolchain "$ORLIM_TOOLCHAIN" $(orlim_generator) $(orlim_cache_args) \
            >"$ORLIM_BUILD/configure.log" 2>&1 ||
            { cat "$ORLIM_BUILD/configure.log" >&2; orlim_die "cmake could not configure the build"; }
    fi
}

# Every source in clang-format's shape: the cheapest check, made first.
orlim_check_format() {
    orlim_say "checking the sources' format"
    (cd "$ORLIM_ROOT" && clang-format --dry-run --Werror $(git ls-files '*.cpp' '*.h' '*.c')) ||
        orlim_die "sources out of clang-format's shape (clang-format -i <file> puts them right)"
}

# A desktop for a share of a test pass: a display and a copy of the
# prepared prefix (so a wineserver) of its own, with its keepalive. Made once
# the prefix is ready, before anything runs in it; sets ORLIM_DESKTOP_PREFIX
# and ORLIM_DESKTOP_DISPLAY.
orlim_desktop() {
    local name=$1
    ORLIM_DESKTOP_PREFIX="$ORLIM_BUILD/wineprefix-$name"
    rm -rf "$ORLIM_DESKTOP_PREFIX"
    cp -a "$WINEPREFIX" "$ORLIM_DESKTOP_PREFIX"
    orlim_xvfb "xvfb-$name"
    ORLIM_DESKTOP_DISPLAY=":$(head -n1 "$ORLIM_BUILD/xvfb-$name.display")"
    WINEPREFIX=$ORLIM_DESKTOP_PREFIX DISPLAY=$ORLIM_DESKTOP_DISPLAY orlim_keepalive
}

# Starts the prefix's Wine server, and waits until it answers, then leaves a
# keepalive process running on the display. A server that a test program
# started would hold on to that program's output, and ctest waits for its
# end until the test's time limit.
orlim_keepalive() {
    wineserver </dev/null >/dev/null 2>&1
    wine "$ORLIM_BUILD/tools/keepalive.exe" </dev/null >/dev/null 2>&1 &
}

# Runs a ctest preset in the background on two desktops of its own, every
# other test on each: a desktop shows one test's windows at a time, and
# those are most of the pass's time, not its processor's. The halves' logs
# are LOG-1.log and LOG-2.log; their pids go to ORLIM_PASS_PIDS.
orlim_test_pass() {
    local preset=$1 log=$2 half
    shift 2
    # The test programs are listed once, here, not by both halves at once.
    (cd "$ORLIM_ROOT" && ctest --preset "$preset" -N >"$log-list.log" 2>&1) || true
    ORLIM_PASS_PIDS=()
    for half in 1 2; do
        orlim_desktop "$preset-$half"
        # The desktop closes with its half: its Wine server and X server
        # would take their share of the processors until the command ends.
        (
            status=0
            cd "$ORLIM_ROOT" && WINEPREFIX=$ORLIM_DESKTOP_PREFIX DISPLAY=$ORLIM_DESKTOP_DISPLAY \
                ctest --preset "$preset" -I "$half,,2" --no-tests=ignore "$@" >"$log-$half.log" 2>&1 || status=$?
            WINEPREFIX=$ORLIM_DESKTOP_PREFIX wineserver -k 2>/dev/null || true
            kill "$(cat "$ORLIM_BUILD/xvfb-$preset-$half.pid")" 2>/dev/null || true
            exit $status
        ) &
        ORLIM_PASS_PIDS+=($!)
    done
}

# Waits for the halves of a pass started by orlim_test_pass; shows their
# summary, and all of a half's output when it failed. Fails as a half did,
# or when neither ran a test.
orlim_report_pass() {
    local what=$1 log=$2 status=0 half pid ran=0
    shift 2
    half=0
    for pid in "$@"; do
        half=$((half + 1))
        if wait "$pid"; then
            grep -q 'tests passed' "$log-$half.log" && ran=1
            orlim_say "$what, on desktop $half: $(grep -E 'tests passed' "$log-$half.log" | tail -n1)"
        else
            cat "$log-$half.log" >&2
            orlim_say "$what failed on desktop $half (its whole output is above, and in $log-$half.log)"
            status=1
        fi
    done
    if ((status == 0 && ran == 0)); then
        orlim_say "$what: no test was found"
        status=1
    fi
    return $status
}

# Builds the given targets (all of them without any) and the keepalive, the
# log in the build directory; on failure shows its end and stops.
orlim_build() {
    local targets=()
    (($#)) && targets=(--target "$@" keepalive)
    orlim_say "building"
    cmake --build "$ORLIM_BUILD" --parallel "$(nproc)" "${targets[@]}" >"$ORLIM_BUILD/build.log" 2>&1 ||
        { tail -n 40 "$ORLIM_BUILD/build.log" >&2; orlim_die "the build failed (full log: $ORLIM_BUILD/build.log)"; }
}

# Starts the recording proxy on the prefix's proxy port, the request lines
# going to the given log; says so when it cannot listen.
orlim_start_proxy() {
    wine "$ORLIM_BUILD/tools/recording_proxy.exe" "$ORLIM_PROXY_PORT" "$1" \
        </dev/null >/dev/null 2>"$ORLIM_BUILD/proxy.log" &
    ORLIM_PROXY_PID=$!
    sleep 0.5
    kill -0 "$ORLIM_PROXY_PID" 2>/dev/null ||
        orlim_say "warning: no recording proxy ($(cat "$ORLIM_BUILD/proxy.log")); the launcher's requests go unanswered"
}
