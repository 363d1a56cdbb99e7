# What a person does to the real VROK.exe and what they see, hear and find on disk afterwards.
# Expects scripts/common.sh sourced, DISPLAY set and the Wine prefix up.

MAIN=(VROK "Death to Glitchcorp")
CONFIG="VROK - Configuration"
E2E=$VROK_ROOT/tests/e2e
LOCH=$VROK_ROOT/resources/loch.bmp
CRATER=$VROK_ROOT/resources/grenade.bmp
# While the shooting window covers it, the task bar keeps whatever it showed when the window came.
COVERED=(--ignore 0 580 800 20)
CLEAN=()  # what may differ once an activation has ended
SCREEN=(0 800 600)  # the virtual screen's left edge, width and height
declare -A MENU_Y=([activate]=11 [close]=28 [configuration]=54 [statistics]=71 [help]=97 [about]=114 [aboutabout]=131)

# Runs the scenario NAME traced to file descriptor 9, each line with the calls that led to it, and
# leaves nothing of it running; fails when it did or said it failed.
scenario() {  # scenario NAME
    local result
    E2E_FAILURES=0
    PS4='+ [${FUNCNAME[*]}] ' BASH_XTRACEFD=9
    set -x
    "$1" && [ $E2E_FAILURES -eq 0 ]
    result=$?
    set +x
    # Every step that can fail says what it waited for and what it saw; one that did not is a defect.
    [ $result = 0 ] || [ $E2E_FAILURES -gt 0 ] || printf '    FAIL: %s stopped at a step that said nothing\n' "$1"
    vrok_record_stop
    # A VROK left running must not disturb the next scenario.
    vrok_drv close "${MAIN[@]}" 2>/dev/null; [ "$(exit_code)" != running ] || vrok_drv kill VROK.exe
    return $result
}

fail() { printf '    FAIL: %s\n' "$*"; E2E_FAILURES=$((E2E_FAILURES + 1)); return 1; }
expect_eq() { [ "$2" == "$3" ] || fail "$1: expected [$2], got [$3]"; }  # WHAT EXPECTED ACTUAL
now_ms() { echo $(($(date +%s%N) / 1000000)); }

# The numbers resource.h defines for NAMES (res_id IDC_CONFIG_OK prints 108); numbers stay as they are.
res_id() {
    local n
    for n; do [[ $n =~ ^[0-9]+$ ]] && echo "$n" || awk -v n="$n" '$1 == "#define" && $2 == n {print $3; f = 1}
        END {exit !f}' "$VROK_ROOT/resources/resource.h" || { echo "no id $n in resource.h" >&2; return 1; }; done
}

# A fresh program folder with VROK.exe and its sounds (and help): DIR in Unix, WINDIR in Windows.
folder() {  # folder NAME [with-help]
    DIR=$WINEPREFIX/drive_c/e2e/$1 WINDIR="C:\\e2e\\$1\\"
    rm -rf "$DIR" && mkdir -p "$DIR" && cp "$VROK_BIN/VROK.exe" "$VROK_BIN"/*.wav "$DIR/" &&
        { [ "${2:-}" != with-help ] || cp "$VROK_BIN/VROK.HLP" "$VROK_BIN/VROK.cnt" "$VROK_BIN/VROK.CHM" "$DIR/"; } ||
        { fail "could not make the program folder $DIR"; return 1; }
}

# VROK.INI as the program writes it: description shown (1 or 0), Profiles firing at FIRE, the gun
# sounding at SOUND, grenades bursting after DELAY ms.
ini() {  # ini DESCRIPTION [FIRE SOUND DELAY]
    local i cuckoo=vrokkuck.wav
    printf 'VROK32\r\n3.47\r\n0\r\n%s\r\n' "$1"
    for i in 0 1 2; do
        printf '%s\r\n' "${WINDIR}vrokgun.wav" "${WINDIR}vrokgren.wav" "${WINDIR}vrokhlvb.wav" \
            "$WINDIR$cuckoo" "${2:-495}" "${3:-490}" "${4:-1500}" 1 1
        cuckoo=teckuc1.wav
    done
}
ini_lines() { local n; for n; do sed -n "${n}p" "$DIR/VROK.INI"; done | tr -d '\r' | paste -sd' '; }

# Starts VROK from DIR under env's ARGS; its exit code lands in DIR/exit-code.
start() { rm -f "$DIR/exit-code"; (env WINEDEBUG=err+all "$@" "$VROK_WINE" "${WINDIR}VROK.exe" >/dev/null 2>"$DIR/wine.log"; echo $? >"$DIR/exit-code") & }
main_window() { vrok_drv wait "${MAIN[@]}" 15000 >/dev/null ||
    fail "no main window; VROK's exit code: $(cat "$DIR/exit-code" 2>/dev/null || echo none), Wine said: $(tail -n 3 "$DIR/wine.log")"; }
# Starts VROK and waits for its tray icon (a box at the start keeps it away: the box is named); at a
# first start (no VROK.INI) for its note too, read and put away.
up() {
    local first=1
    [ ! -e "$DIR/VROK.INI" ] || first=
    start "$@"
    main_window && { tray_icon || { no_sound_box; fail "no tray icon"; }; } &&
        { [ -z "$first" ] || vrok_drv balloon 10000 >/dev/null || fail "no note at the first start"; }
}
exit_code() { within 15 test -s "$DIR/exit-code"; cat "$DIR/exit-code" 2>/dev/null || echo running; }  # "running" after 15 s
quit() { vrok_drv close "${MAIN[@]}"; expect_eq "exit code" 0 "$(exit_code)"; }  # closes the description window

# Runs COMMAND... every 50 ms until it succeeds, for up to SECONDS.
within() { local deadline=$((SECONDS + $1)); shift; until "$@"; do [ $SECONDS -lt $deadline ] || return 1; sleep 0.05; done; }
# Waits until the tray shows the face's yellow (with "gone": until it no longer does).
tray_icon() { within 10 tray_yellow "${1:-}"; }  # tray_icon [gone]
tray_yellow() {
    local yellow
    yellow=$(import -window root -crop 40x20+760+580 -depth 8 txt:- | grep -ci '#FFFF00')
    if [ "$1" = gone ]; then [ "$yellow" -eq 0 ]; else [ "$yellow" -gt 20 ]; fi
}
pixel() { import -window root -crop "1x1+$1+$2" -depth 8 txt:- | awk 'NR == 2 { print $3 }'; }  # X Y: #RRGGBB
black_at() { within 5 eval '[ "$(pixel '"$1 $2"')" = "#000000" ]'; }  # X Y: waits until that pixel is black
# The description window shows its text: some thousands of black pixels inside its frame.
description_shown() {
    local x y w h black
    IFS=, read -r x y w h < <(vrok_drv list VROK | awk -F'\t' '$2 == "Death to Glitchcorp" && $3 {print $4}')
    black=$(import -window root -crop "$((w - 8))x$((h - 30))+$((x + 4))+$((y + 26))" -depth 8 txt:- | grep -c '#000000')
    [ "$black" -gt 500 ] || fail "no description window showing its text: $black black pixels in [$x $y $w $h]"
}
icon_pixels() { import -window root -crop 16x16+781+581 -depth 8 rgb:- | md5sum; }  # of the face in the tray
# NAME gets the rectangle (x y w h) of Wine's stand-in tray window outside a virtual desktop, once shown.
wine_tray() {
    local -n rect=$1
    vrok_drv shown __winex11_standalone_tray - 10000 || { fail "Wine's tray window never showed"; return 1; }
    IFS=, read -r -a rect < <(vrok_drv list __winex11_standalone_tray | cut -f4)
    [ ${#rect[@]} = 4 ] || { fail "Wine's tray window has no rectangle [${rect[*]}]"; return 1; }
}
click_tray() { xdotool mousemove 790 590 click --repeat "${2:-1}" --delay 60 "$1"; }  # BUTTON [REPEAT]

# Picks a tray menu item (see MENU_Y) with the mouse: keys typed into the menu were lost now and then.
menu() {
    click_tray 3
    vrok_drv wait '#32768' - 5000 >/dev/null || { fail "no tray menu"; return 1; }
    local x y
    IFS=, read -r x y _ < <(vrok_drv list '#32768' | awk -F'\t' '$3 == 1 {print $4; exit}')
    xdotool mousemove $((x + 40)) $((y + MENU_Y[$1])) sleep 0.2 click 1
    vrok_drv gone '#32768' - 5000 || fail "the tray menu stayed open"
}

dialog() { menu "$1" && { vrok_drv wait '#32770' "$2" 5000 >/dev/null || fail "no dialog \"$2\""; }; }  # ITEM CAPTION
# A loaded machine may take its time over the click (a help viewer starting, say): the dialog's end is waited for.
shut() { vrok_drv press "$1" "$(res_id "$2")"; vrok_drv gone '#32770' "$1" 20000 || fail "\"$1\" stayed open"; }
field() { vrok_drv text '#32770' "$1" $(res_id "${@:2}"); }      # CAPTION NAME...: controls' texts
checked() { vrok_drv checked '#32770' "$1" $(res_id "${@:2}"); }  # CAPTION NAME...: 1 checked, 0 not

# A message box CAPTION saying TEXT, answered with OK.
box() {
    local text
    text=$(vrok_drv box "$1" 15000) || { fail "no box \"$1\""; return 1; }
    expect_eq "\"$1\" says" "$2" "$text"
    vrok_drv press "$1" 1
}
no_sound_box() {  # fails for each sound box open now
    local c; for c in "DirectX Error" "Configuration Error" "DirectSound Error" "VROK note"; do ! vrok_drv box "$c" 0 >/dev/null || fail "a box \"$c\""; done
}

shot() { import -window root -depth 8 "ppm:$1"; }
# Waits until the screen is DIR/desktop.ppm with screen_check.py's OPTIONS applied; prints the rest.
screen() {
    local deadline=$((SECONDS + 5)) left
    until shot "$DIR/now.ppm" && left=$("$VROK_PYTHON" "$E2E/screen_check.py" "$DIR/desktop.ppm" "$DIR/now.ppm" "$@"); do
        [ $SECONDS -lt $deadline ] || { echo "$left"; return 1; }
    done
}

# Starts VROK over ini ARGS and keeps the desktop once settled.
ready() {  # ready NAME INI_ARGS...
    folder "$1" && ini "${@:2}" >"$DIR/VROK.INI" && up && xdotool mousemove 400 300 && settle
}
settle() {  # DIR/desktop.ppm: the screen alike twice over (the tray icon's wink takes half a second)
    local deadline=$((SECONDS + 10))
    shot "$DIR/desktop.ppm"
    until sleep 0.5 && shot "$DIR/now.ppm" && "$VROK_PYTHON" "$E2E/screen_check.py" "$DIR/desktop.ppm" "$DIR/now.ppm" >/dev/null; do
        mv "$DIR/now.ppm" "$DIR/desktop.ppm" && [ $SECONDS -lt $deadline ] || { fail "the screen never settled"; return 1; }
    done
}

# An activation begins: a full-screen window at high priority that leaves the desktop in sight.
shooting() {
    vrok_drv wait PIFFPOFF - 10000 >/dev/null || { fail "no shooting window"; return 1; }
    expect_eq "priority while shooting" 0x80 "$(vrok_drv priority PIFFPOFF -)"
    vrok_drv list PIFFPOFF | awk -F'\t' -v l="${SCREEN[0]}" -v w="${SCREEN[1]}" -v h="${SCREEN[2]}" '{split($4, r, ",")
        exit !($3 && r[1] <= l && r[2] <= 0 && r[1] + r[3] >= l + w && r[2] + r[4] >= h)}' || fail "no visible window over the whole screen"
    xdotool mousemove 400 300
    screen "${COVERED[@]}" || fail "the shooting window hides the desktop"
}

# Ends the activation with xdotool's ARGS at the centre: the window goes no sooner than the 2.2 s
# final sound, the desktop comes back clean, priority is normal, the program stays in the tray.
finish() {
    local ended=$(now_ms)
    xdotool mousemove 400 300 "$@"
    vrok_drv gone PIFFPOFF - 10000 || { fail "the shooting window stayed"; return 1; }
    [ $(($(now_ms) - ended)) -ge 1900 ] || fail "the window went $(($(now_ms) - ended)) ms after the end"
    screen "${CLEAN[@]}" || fail "the desktop was not repainted clean"
    expect_eq "priority after" 0x20 "$(vrok_drv priority "${MAIN[@]}")"
    [ ! -e "$DIR/exit-code" ] || fail "the program ended with the activation"
}

# Waits until the recording DIR/rec.raw holds COUNT sounds, each followed by 150 ms of silence;
# prints them (start s, length s, left-right dB).
sounds() {  # sounds COUNT
    local deadline=$((SECONDS + 6)) found ended
    while :; do
        found=$("$VROK_PYTHON" "$E2E/stereo_bursts.py" "$DIR/rec.raw")
        ended=$(awk -v s="$(($(stat -c %s "$DIR/rec.raw") / 4))" '$1 + $2 + 0.15 <= s / 48000' <<<"$found" | grep -c .)
        [ "$ended" -lt "$1" ] && [ $SECONDS -lt $deadline ] || { echo "$found"; [ "$ended" -ge "$1" ]; return; }
        sleep 0.1
    done
}
record() { vrok_record_stop; vrok_record_start "$DIR/rec.raw"; }  # one at a time
