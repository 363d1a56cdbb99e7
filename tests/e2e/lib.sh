# Helpers for the end-to-end tests: a fresh program folder per test, starting VROK, assertions.
# Expects scripts/common.sh sourced, DISPLAY set and the Wine prefix up.

E2E_ROOT_UNIX="$WINEPREFIX/drive_c/e2e"
E2E_FAILURES=0

# Any failed check fails the current test; the message says what was seen.
fail() {
    printf '    FAIL: %s\n' "$*"
    E2E_FAILURES=$((E2E_FAILURES + 1))
    return 1
}

expect_eq() {  # expect_eq WHAT EXPECTED ACTUAL
    [ "$2" == "$3" ] || fail "$1: expected [$2], got [$3]"
}

# The number resource.h defines for NAME (res_id IDC_CONFIG_OK prints 108); a number stays as it is.
res_id() {
    [[ $1 =~ ^[0-9]+$ ]] && { echo "$1"; return; }
    awk -v name="$1" '$1 == "#define" && $2 == name && $3 ~ /^[0-9]+$/ {print $3; found = 1; exit}
        END {exit !found}' "$VROK_ROOT/resources/resource.h" || { echo "no id $1 in resource.h" >&2; return 1; }
}

# Makes a fresh program folder holding VROK.exe; sets DIR (Unix) and WINDIR (Windows path).
fresh_folder() {  # fresh_folder NAME [with-help]
    DIR="$E2E_ROOT_UNIX/$1"
    WINDIR="C:\\e2e\\$1\\"
    rm -rf "$DIR"
    mkdir -p "$DIR"
    cp "$VROK_BIN/VROK.exe" "$VROK_BIN"/*.wav "$DIR/"
    [ "${2:-}" = with-help ] && cp "$VROK_BIN/VROK.HLP" "$VROK_BIN/VROK.cnt" "$DIR/"
    return 0
}

# Starts VROK from DIR in the background; its exit code lands in DIR/exit-code.
start_vrok() {
    rm -f "$DIR/exit-code"
    ( "$VROK_WINE" "${WINDIR}VROK.exe" >/dev/null 2>&1; echo $? >"$DIR/exit-code" ) &
}

# Waits for the started copy to end; prints its exit code, or "running" after the timeout.
wait_exit() {  # wait_exit [TIMEOUT_S]
    local deadline=$((SECONDS + ${1:-15}))
    while [ ! -s "$DIR/exit-code" ]; do
        [ $SECONDS -ge $deadline ] && { echo running; return 1; }
        sleep 0.1
    done
    cat "$DIR/exit-code"
}

wait_main_window() { vrok_drv wait VROK "Death to Glitchcorp" 15000 >/dev/null; }

# Ends the program the way the system does when its main window is closed.
close_vrok() { vrok_drv close VROK "Death to Glitchcorp"; }

# The default settings file for the program folder WINDIR, as written on an NT platform.
default_ini() {  # default_ini [DESCRIPTION_VISIBLE]
    local i cuckoo
    printf 'VROK32\r\n3.47\r\n0\r\n%s\r\n' "${1:-1}"
    for i in 0 1 2; do
        cuckoo=teckuc1.wav
        [ $i -eq 0 ] && cuckoo=vrokkuck.wav
        printf '%s\r\n' "${WINDIR}vrokgun.wav" "${WINDIR}vrokgren.wav" "${WINDIR}vrokhlvb.wav" \
            "${WINDIR}$cuckoo" 495 490 1500 1 1
    done
}

SOUND_BOX_CAPTIONS=("DirectX Error" "Configuration Error" "DirectSound Error" "VROK note")

# Fails when any of the sound engine's boxes is open now.
expect_no_sound_box() {
    local caption text
    for caption in "${SOUND_BOX_CAPTIONS[@]}"; do
        text=$(vrok_drv box "$caption" 0) && fail "unexpected box \"$caption\": $text"
    done
    return 0
}

# The useDirectSound line of each Profile in DIR/VROK.INI, e.g. "1 1 1".
use_direct_sound_lines() { sed -n '13p;22p;31p' "$DIR/VROK.INI" | tr -d '\r' | tr '\n' ' ' | sed 's/ $//'; }

# The tray icon's place at the right end of the task bar of the 800 x 600 desktop.
TRAY_X=790
TRAY_Y=590

# How many pixels of the face's yellow the tray area shows now.
tray_yellow_pixels() {
    import -window root -crop 40x20+760+580 -depth 8 txt:- 2>/dev/null | grep -c -i "#FFFF00"
}

# Waits until the tray icon shows (or, with "gone", until it has vanished).
wait_tray_icon() {  # wait_tray_icon [gone]
    local deadline=$((SECONDS + 10))
    while [ $SECONDS -lt $deadline ]; do
        local yellow
        yellow=$(tray_yellow_pixels)
        if [ "${1:-}" = gone ]; then [ "$yellow" -eq 0 ] && return 0; else [ "$yellow" -gt 20 ] && return 0; fi
        sleep 0.2
    done
    return 1
}

click_tray() {  # click_tray BUTTON [REPEAT]
    xdotool mousemove "$TRAY_X" "$TRAY_Y" click --repeat "${2:-1}" --delay 60 "$1"
}

# Picks an item of the tray menu with the mouse: activate, close, configuration, statistics, help,
# about, aboutabout. Keys typed into the menu were lost now and then; clicks are not.
tray_menu_choose() {  # tray_menu_choose ITEM
    local offset
    case $1 in
        activate) offset=11 ;; close) offset=28 ;; configuration) offset=54 ;;
        statistics) offset=71 ;; help) offset=97 ;; about) offset=114 ;; aboutabout) offset=131 ;;
        *) fail "no menu item $1"; return 1 ;;
    esac
    click_tray 3
    vrok_drv wait '#32768' - 5000 >/dev/null || { fail "no tray menu"; return 1; }
    local rect x y
    rect=$(vrok_drv list '#32768' | awk -F'\t' '$3 == 1 {print $4; exit}')
    x=$(cut -d, -f1 <<<"$rect")
    y=$(cut -d, -f2 <<<"$rect")
    xdotool mousemove $((x + 40)) $((y + offset)) sleep 0.2 click 1
    vrok_drv gone '#32768' - 5000 || fail "the tray menu stayed open"
}
