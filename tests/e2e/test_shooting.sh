# Activations of the real VROK.exe: holes and craters on the screen, the sounds, the two ways out.

SCREEN_CHECK="$VROK_ROOT/tests/e2e/screen_check.py"
LOCH_BMP="$VROK_ROOT/resources/loch.bmp"
GRENADE_BMP="$VROK_ROOT/resources/grenade.bmp"
PRIORITY_NORMAL=0x20
PRIORITY_HIGH=0x80
FINAL_SOUND_S=2.2
# While the shooting window covers it, the task bar shows whatever it showed when the window
# appeared: at times the tray icon mid-wink or a button for the new window. Compared only after.
SHOOTING_COVERED=(--ignore 0 580 800 20)

# A settings file whose three Profiles fire at FIRE_SPEED, sound the gun at SOUND_SPEED and let
# grenades detonate after DELAY_MS; the description window stays hidden so nothing covers the shots.
shooting_ini() {  # shooting_ini FIRE_SPEED SOUND_SPEED DELAY_MS
    local i
    printf 'VROK32\r\n3.47\r\n0\r\n0\r\n'
    for i in 0 1 2; do
        printf '%s\r\n' "${WINDIR}vrokgun.wav" "${WINDIR}vrokgren.wav" "${WINDIR}vrokhlvb.wav" \
            "${WINDIR}vrokkuck.wav" "$1" "$2" "$3" 1 1
    done
}

shooting_screenshot() { import -window root -depth 8 "ppm:$1"; }

# Screenshot of a screen that has stopped changing: two taken half a second apart (longer than the
# tray icon's wink) are alike.
shooting_screenshot_settled() {  # shooting_screenshot_settled FILE
    local deadline=$((SECONDS + 10))
    shooting_screenshot "$1"
    while [ $SECONDS -lt $deadline ]; do
        sleep 0.5
        shooting_screenshot "$1.next"
        python3 "$SCREEN_CHECK" "$1" "$1.next" >/dev/null && return 0
        mv "$1.next" "$1"
    done
    fail "the screen never settled"
}

shooting_now_ms() { echo $(($(date +%s%N) / 1000000)); }

# Waits until the screen equals BEFORE with the given bitmaps ANDed in (screen_check.py's
# options); prints the last difference and keeps that screenshot for a look.
shooting_wait_screen() {  # shooting_wait_screen TIMEOUT_S BEFORE [OPTIONS...]
    local deadline=$((SECONDS + $1)) before=$2 now="$DIR/wait-screen.ppm" result
    shift 2
    while :; do
        shooting_screenshot "$now"
        result=$(python3 "$SCREEN_CHECK" "$before" "$now" "$@") && return 0
        if [ $SECONDS -ge $deadline ]; then
            cp "$now" "$DIR/wait-screen-failed-$(shooting_now_ms).ppm"
            echo "$result"
            return 1
        fi
        sleep 0.05
    done
}

# The priority class of the process owning a window, e.g. 0x20 for normal.
shooting_priority() { vrok_drv priority "$@" | tr -d '\r'; }

# Starts VROK from a fresh folder with shooting_ini's settings and screenshots the idle desktop
# into DIR/desktop.ppm.
start_for_shooting() {  # start_for_shooting NAME FIRE_SPEED SOUND_SPEED DELAY_MS
    fresh_folder "$1"
    shooting_ini "$2" "$3" "$4" >"$DIR/VROK.INI"
    start_vrok
    wait_main_window || { fail "no main window"; return 1; }
    wait_tray_icon || { fail "no tray icon"; return 1; }
    expect_eq "priority before the activation" $PRIORITY_NORMAL \
        "$(shooting_priority VROK "Death to Glitchcorp")"
    xdotool mousemove 400 300
    shooting_screenshot_settled "$DIR/desktop.ppm"
}

# After activating: the window is up, the process runs at high priority and the screen still
# shows the desktop, since the shooting window never paints.
expect_activation_running() {
    vrok_drv wait PIFFPOFF - 10000 >/dev/null || { fail "no shooting window"; return 1; }
    expect_eq "priority during the activation" $PRIORITY_HIGH "$(shooting_priority PIFFPOFF -)"
    xdotool mousemove 400 300
    local left
    left=$(shooting_wait_screen 5 "$DIR/desktop.ppm" "${SHOOTING_COVERED[@]}") \
        || fail "the shooting window hides the desktop: $left"
}

# After the end sequence: the window is gone no sooner than the final sound has played, the
# desktop is repainted clean, the priority is normal again and the program still runs in the tray.
expect_activation_ended() {  # expect_activation_ended ENDED_AT_MS
    vrok_drv gone PIFFPOFF - 10000 || { fail "the shooting window stayed"; return 1; }
    local took=$(($(shooting_now_ms) - $1)) left
    awk -v ms=$took -v s=$FINAL_SOUND_S 'BEGIN { exit !(ms >= 1000 * s - 300) }' \
        || fail "the window closed ${took} ms after the end, before the ${FINAL_SOUND_S} s final sound"
    left=$(shooting_wait_screen 5 "$DIR/desktop.ppm") \
        || fail "the desktop was not repainted clean: $left"
    expect_eq "priority after the activation" $PRIORITY_NORMAL \
        "$(shooting_priority VROK "Death to Glitchcorp")"
    expect_eq "exit code while in the tray" "" "$(cat "$DIR/exit-code" 2>/dev/null)"
}

shooting_close() {
    close_vrok
    expect_eq "exit code" 0 "$(wait_exit)"
}

test_shooting_short_burst_leaves_the_first_two_holes_and_escape_cleans_up() {
    # 500 ms between bullets: a quick click fires the immediate bullet and the posted one only.
    start_for_shooting shoot-burst 1 490 3000 || return 1
    click_tray 1 2
    expect_activation_running || { shooting_close; return 1; }
    local left
    xdotool mousemove 400 300 click 1
    # A fresh run's first bullets land at (0, 0) and (23, -5) from the cursor; holes sit 8 up-left.
    left=$(shooting_wait_screen 5 "$DIR/desktop.ppm" "${SHOOTING_COVERED[@]}" \
        --and "$LOCH_BMP" 392 292 --and "$LOCH_BMP" 415 287) \
        || fail "not exactly the first two holes: $left"
    # Nothing can signal a bullet that should not come: look again after more than one period.
    sleep 0.7
    shooting_screenshot "$DIR/holes.ppm"
    left=$(python3 "$SCREEN_CHECK" "$DIR/desktop.ppm" "$DIR/holes.ppm" "${SHOOTING_COVERED[@]}" \
        --and "$LOCH_BMP" 392 292 --and "$LOCH_BMP" 415 287) \
        || fail "the gun fired on after the release: $left"
    # With no window manager keys go to the window under the pointer.
    local ended
    ended=$(shooting_now_ms)
    xdotool mousemove 400 300 key Escape
    expect_activation_ended "$ended"
    shooting_close
}

test_shooting_grenade_craters_where_the_cursor_was_and_right_double_click_ends() {
    local delay=1500
    start_for_shooting shoot-grenade 495 490 $delay || return 1
    tray_menu_choose activate || { shooting_close; return 1; }
    expect_activation_running || { shooting_close; return 1; }
    local thrown left elapsed=
    thrown=$(shooting_now_ms)
    xdotool mousemove 200 200 click 3 mousemove 600 420
    while [ $(($(shooting_now_ms) - thrown)) -lt $((delay + 3000)) ]; do
        shooting_screenshot "$DIR/crater.ppm"
        if ! python3 "$SCREEN_CHECK" "$DIR/desktop.ppm" "$DIR/crater.ppm" "${SHOOTING_COVERED[@]}" \
            >/dev/null; then
            elapsed=$(($(shooting_now_ms) - thrown))
            break
        fi
    done
    if [ -z "$elapsed" ]; then
        fail "no crater within $((delay + 3000)) ms of the throw"
    else
        [ "$elapsed" -ge $((delay - 50)) ] \
            || fail "the crater came ${elapsed} ms after the throw, before the ${delay} ms delay"
        # Centred where the cursor was at the throw, not where it is now.
        left=$(shooting_wait_screen 3 "$DIR/desktop.ppm" "${SHOOTING_COVERED[@]}" \
            --and "$GRENADE_BMP" 136 136) \
            || fail "not the crater at the throw: $left"
    fi
    local ended
    ended=$(shooting_now_ms)
    xdotool click --repeat 2 --delay 60 3
    expect_activation_ended "$ended"
    shooting_close
}

# Waits until the recording holds COUNT sounds followed by 150 ms of silence; prints them.
shooting_wait_sounds() {  # shooting_wait_sounds RECORDING COUNT TIMEOUT_S
    local deadline=$((SECONDS + $3)) found ended
    while :; do
        found=$(python3 "$VROK_ROOT/tests/e2e/stereo_bursts.py" "$1")
        ended=$(awk -v seconds="$(($(stat -c %s "$1") / 4))" \
            '$1 + $2 + 0.15 <= seconds / 48000 { n++ } END { print n + 0 }' <<<"$found")
        [ "$ended" -ge "$2" ] && { echo "$found"; return 0; }
        [ $SECONDS -ge $deadline ] && { echo "$found"; return 1; }
        sleep 0.1
    done
}

test_shooting_sounds_gun_grenade_and_final_sound_in_stereo() {
    start_for_shooting shoot-sound 495 490 800 || return 1
    local recording="$DIR/activation.raw" found
    vrok_record_start "$recording" || { fail "no recording"; return 1; }
    click_tray 1 2
    expect_activation_running || { vrok_record_stop; shooting_close; return 1; }
    # Each sound must end before the next starts, so that the recording shows them apart.
    xdotool mousemove 20 300 click 1
    shooting_wait_sounds "$recording" 1 5 >/dev/null || fail "no gun sound"
    xdotool mousemove 760 300 click 3
    shooting_wait_sounds "$recording" 2 5 >/dev/null || fail "no grenade sound"
    local ended
    ended=$(shooting_now_ms)
    xdotool mousemove 400 300 key Escape
    expect_activation_ended "$ended"
    found=$(shooting_wait_sounds "$recording" 3 5) || fail "no final sound"
    vrok_record_stop
    printf '    sounds (start, length, left-right dB):\n%s\n' "$(sed 's/^/      /' <<<"$found")"
    expect_eq "sounds recorded" 3 "$(wc -l <<<"$found")"
    # Gun (85 ms, from x = 20 - 800/20/2 - 8: pan -2550), grenade (1.7 s, from the crater's left
    # edge 760 - 64: pan +1850), final sound (2.2 s, no position). Pan is hundredths of a dB.
    awk 'NR == 1 && !($2 <= 0.4 && $3 >= 23 && $3 <= 28) { print "gun: " $0; bad = 1 }
         NR == 2 && !($2 >= 1.5 && $2 <= 1.9 && $3 >= -21 && $3 <= -16) {
             print "grenade: " $0; bad = 1 }
         NR == 3 && !($2 >= 2.0 && $2 <= 2.4 && $3 >= -1 && $3 <= 1) { print "final: " $0; bad = 1 }
         END { exit bad }' <<<"$found" >"$DIR/sound-faults.txt" \
        || fail "unexpected sounds: $(tr '\n' ';' <"$DIR/sound-faults.txt")"
    shooting_close
}
