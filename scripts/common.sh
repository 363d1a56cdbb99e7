# Shared by the run and test commands: packages, builds, the Wine prefix and the X display.
# Source it; it defines functions and VROK_* variables and starts nothing by itself.

VROK_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
VROK_BUILD=${VROK_BUILD:-$VROK_ROOT/build}
VROK_BIN=$VROK_BUILD/win64/bin
VROK_WINE=/usr/lib/wine/wine64
# Debian's (the package list installs it): it starts in 40 ms, where a version manager's shim found
# first in PATH can take half a second, and the tests run it hundreds of times.
VROK_PYTHON=/usr/bin/python3
VROK_PACKAGES="cmake ninja-build clang libclang-rt-14-dev googletest python3
  wine wine64 gcc-mingw-w64-x86-64-posix g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64
  gcc-mingw-w64-i686-posix g++-mingw-w64-i686-posix binutils-mingw-w64-i686
  xvfb xserver-xephyr xauth xdotool x11-utils imagemagick pulseaudio pulseaudio-utils procps halibut unzip
  nsis p7zip-full e2fsprogs sox"

vrok_log() { printf '== [%ss] %s\n' "$SECONDS" "$*" >&2; }

# Installs the Debian packages that are not there yet (apt-get update once, then install).
vrok_install_packages() {
    local missing=() package
    for package in $VROK_PACKAGES; do
        dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' \
            || missing+=("$package")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    local sudo=
    [ "$(id -u)" -eq 0 ] || sudo=sudo
    vrok_log "installing ${missing[*]}"
    $sudo apt-get update -qq || return 1
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends \
        "${missing[@]}" >/dev/null || return 1
}

# Configures and builds one tree: vrok_build NAME [cmake options...]
vrok_build() {
    local name=$1
    shift
    cmake -S "$VROK_ROOT" -B "$VROK_BUILD/$name" -G Ninja -DCMAKE_BUILD_TYPE=Release "$@" \
        >"$VROK_BUILD/$name.configure.log" 2>&1 \
        || { cat "$VROK_BUILD/$name.configure.log" >&2; return 1; }
    cmake --build "$VROK_BUILD/$name" -j 2 >"$VROK_BUILD/$name.build.log" 2>&1 \
        || { tail -n 40 "$VROK_BUILD/$name.build.log" >&2; return 1; }
}

vrok_build_win64() { vrok_build win64 -DCMAKE_TOOLCHAIN_FILE="$VROK_ROOT/cmake/mingw-w64-x86_64.cmake" "$@"; }
vrok_build_i686() { vrok_build i686 -DCMAKE_TOOLCHAIN_FILE="$VROK_ROOT/cmake/mingw-w64-i686.cmake" -DVROK_BUILD_TESTS=OFF; }
vrok_build_native() { vrok_build native -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=Debug; }

# Starts a private Xvfb and exports DISPLAY: vrok_start_xvfb WIDTHxHEIGHT
vrok_start_xvfb() {
    local size=${1:-800x600} fifo
    fifo=$(mktemp -u)
    mkfifo "$fifo"
    Xvfb -displayfd 3 -screen 0 "${size}x24" -nolisten tcp 3>"$fifo" >"$VROK_BUILD/xvfb.log" 2>&1 &
    VROK_XVFB_PID=$!
    local number
    read -r -t 20 number <"$fifo"
    rm -f "$fifo"
    [ -n "$number" ] || { vrok_log "Xvfb did not start"; return 1; }
    export DISPLAY=":$number"
}

# A private Wine prefix under the build folder whose default desktop is the virtual desktop
# "shell" with a task bar, and where VROK draws straight onto the screen.
vrok_wine_env() {
    export WINEPREFIX=${VROK_WINEPREFIX:-$VROK_BUILD/wineprefix}
    export WINEDEBUG=-all
    # No Gecko or Mono prompts; no menu entries on the host for shortcuts the installer makes.
    export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
    export WINEARCH=win64
}

# Makes the prefix if there is none yet (about 15 s); needs no display.
vrok_prefix_create() {
    vrok_wine_env
    mkdir -p "$VROK_BUILD"
    [ -f "$WINEPREFIX/system.reg" ] && return 0
    vrok_log "creating the Wine prefix $WINEPREFIX"
    "$VROK_WINE" wineboot -i >/dev/null 2>&1
    wineserver -w
}

vrok_prefix_setup() {
    local desktop=${1:-800x600}
    vrok_prefix_create
    sed "s/\"shell\"=\"800x600\"/\"shell\"=\"$desktop\"/" "$VROK_ROOT/scripts/vrok-prefix.reg" \
        >"$VROK_BUILD/vrok-prefix.reg"
    vrok_wine_settings "$VROK_BUILD/vrok-prefix.reg"
}

# For a person at the screen: VROK sees Windows 10 and draws client-side, as on a composed
# desktop. Wine then draws the dialogs' controls too, which it leaves blank with
# ClientSideGraphics="N", and the shooting window paints its copy of the screen.
vrok_prefix_composed() {
    "$VROK_WINE" reg add 'HKCU\Software\Wine\AppDefaults\VROK.exe' /v Version /d win10 /f >/dev/null 2>&1
    "$VROK_WINE" reg delete 'HKCU\Software\Wine\AppDefaults\VROK.exe\X11 Driver' /v ClientSideGraphics /f \
        >/dev/null 2>&1
    return 0
}

# The display at DPI dots per inch (96 is 100 %, 144 is 150 %), from a fresh wineserver on: Wine then
# answers it for every monitor. vrok_prefix_setup puts 96 back.
vrok_prefix_dpi() {
    printf 'REGEDIT4\n[HKEY_CURRENT_USER\\Control Panel\\Desktop]\n"LogPixels"=dword:%08x\n' "$1" >"$VROK_BUILD/dpi.reg"
    vrok_wine_settings "$VROK_BUILD/dpi.reg"
}

vrok_stop_wine() {
    [ -n "${WINEPREFIX:-}" ] && wineserver -k >/dev/null 2>&1
    return 0
}

# Two or more monitors: nests Xephyr with Xinerama in the display and moves DISPLAY there, e.g.
# vrok_start_monitors -origin 0,0 -screen 800x600 -origin 800,0 -screen 640x480 (the first screen is
# the primary). Wine shows them as monitors only outside its virtual desktop and without XRandR,
# which knows one screen there. There is no desktop to shoot at either: a picture over all the
# monitors stands in. vrok_stop_monitors puts the display and the prefix back.
vrok_start_monitors() {
    local fifo number
    fifo=$(mktemp -u)
    mkfifo "$fifo"
    Xephyr -displayfd 3 +xinerama "$@" -nolisten tcp -ac 3>"$fifo" >"$VROK_BUILD/xephyr.log" 2>&1 &
    VROK_XEPHYR_PID=$!
    read -r -t 20 number <"$fifo"
    rm -f "$fifo"
    [ -n "$number" ] || { vrok_log "Xephyr did not start"; return 1; }
    VROK_HOST_DISPLAY=$DISPLAY
    export DISPLAY=":$number"
    convert -size "$(xdpyinfo | awk '/dimensions:/ {print $2}')" gradient:'#f8f8f0-#c8d8ff' \
        "$VROK_BUILD/monitors.png" || return 1
    display -geometry +0+0 "$VROK_BUILD/monitors.png" 2>/dev/null &
    VROK_PICTURE_PID=$!
    cat >"$VROK_BUILD/monitors.reg" <<'EOF_REG'
REGEDIT4
[HKEY_CURRENT_USER\Software\Wine\Explorer]
"Desktop"=-
[HKEY_CURRENT_USER\Software\Wine\X11 Driver]
"UseXRandR"="N"
EOF_REG
    vrok_wine_settings "$VROK_BUILD/monitors.reg"
}

vrok_stop_monitors() {
    [ -n "${VROK_XEPHYR_PID:-}" ] || return 0
    wineserver -k >/dev/null 2>&1
    kill "$VROK_PICTURE_PID" "$VROK_XEPHYR_PID" 2>/dev/null
    VROK_XEPHYR_PID=
    export DISPLAY=$VROK_HOST_DISPLAY
    vrok_wine_settings "$VROK_BUILD/vrok-prefix.reg"
}

# Applies the registry file REG and starts a fresh wineserver that stays alive, so that every wine
# call starts warm (vrok_stop_wine ends it). A wineserver left from another display, or the one that
# applied REG, keeps a desktop made by the old settings: the new one applies REG once more, and its
# desktop and services start here, not inside a caller's pipe, which they would hold open.
vrok_wine_settings() {
    wineserver -k >/dev/null 2>&1
    "$VROK_WINE" regedit /S "$1" >/dev/null 2>&1
    wineserver -k >/dev/null 2>&1
    wineserver -p >/dev/null 2>&1
    "$VROK_WINE" regedit /S "$1" >/dev/null 2>&1
}

vrok_stop_xvfb() {
    [ -n "${VROK_XVFB_PID:-}" ] && kill "$VROK_XVFB_PID" 2>/dev/null
    VROK_XVFB_PID=
    return 0
}

# Runs the test driver: vrok_drv VERB ARGS...
vrok_drv() { "$VROK_WINE" "$VROK_BIN/vrokdrv.exe" "$@"; }

# A private PulseAudio server whose one sink "rec" writes everything played into a FIFO in real
# time (by the system clock), so a test can record it; Wine plays into it through PULSE_SERVER.
# Never the user's own sound server. VROK_PULSE_DIR moves it, so two rigs can run side by side.
vrok_start_pulse() {
    local dir=${VROK_PULSE_DIR:-$VROK_BUILD/pulse}
    rm -rf "$dir"
    mkdir -p "$dir"
    HOME=$dir XDG_RUNTIME_DIR=$dir pulseaudio -n --daemonize=no --exit-idle-time=-1 \
        --disallow-exit --realtime=no \
        -L "module-pipe-sink sink_name=rec file=$dir/rec.fifo rate=48000 channels=2 format=s16le use_system_clock_for_timing=yes" \
        -L "module-native-protocol-unix auth-anonymous=1 socket=$dir/native" \
        >"$dir/log" 2>&1 &
    VROK_PULSE_PID=$!
    VROK_PULSE_FIFO=$dir/rec.fifo
    export PULSE_SERVER=unix:$dir/native
    local tries
    for tries in $(seq 100); do
        pactl list short sinks 2>/dev/null | grep -q '^[0-9]*[[:space:]]rec' && return 0
        sleep 0.1
    done
    vrok_log "PulseAudio did not start: $(tail -n 3 "$dir/log")"
    return 1
}

vrok_stop_pulse() {
    [ -n "${VROK_PULSE_PID:-}" ] && kill "$VROK_PULSE_PID" 2>/dev/null
    VROK_PULSE_PID=
    return 0
}

# Records what the sink plays, raw s16le 48 kHz stereo, into FILE: vrok_record_start FILE, then
# vrok_record_stop. The first third of a second may be silence the FIFO held from before.
vrok_record_start() {
    cat "${VROK_PULSE_FIFO:-${VROK_PULSE_DIR:-$VROK_BUILD/pulse}/rec.fifo}" >"$1" &
    VROK_RECORD_PID=$!
}

vrok_record_stop() {
    [ -n "${VROK_RECORD_PID:-}" ] || return 0
    kill "$VROK_RECORD_PID" 2>/dev/null
    wait "$VROK_RECORD_PID" 2>/dev/null
    VROK_RECORD_PID=
    return 0
}
