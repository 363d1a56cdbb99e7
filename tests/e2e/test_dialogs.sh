# The dialogs of the tray menu in the real program: their texts, a configuration change that
# reaches VROK.INI, and the statistics after a burst.

# The text of control ID in the open dialog CAPTION.
dialog_text() { vrok_drv controls "$1" | tr -d '\r' | awk -F'\t' -v id="$2" '$1 == id {print $3; exit}'; }
dialog_checked() { vrok_drv controls "$1" | tr -d '\r' | awk -F'\t' -v id="$2" '$1 == id {print $4; exit}'; }

# Opens a dialog from the tray menu and waits for it.
open_dialog() {  # open_dialog MENU_ITEM CAPTION
    tray_menu_choose "$1" || return 1
    vrok_drv wait '#32770' "$2" 5000 >/dev/null || { fail "no dialog \"$2\""; return 1; }
}

close_dialog() {  # close_dialog CAPTION BUTTON_ID
    vrok_drv press "$1" "$2"
    vrok_drv gone '#32770' "$1" 5000 || fail "\"$1\" stayed open"
}

test_dialogs_open_from_the_tray_menu_with_their_texts() {
    start_with_tray dialogs-open || return 1
    open_dialog configuration "VROK - Configuration" || return 1
    expect_eq "machine gun button" vrokgun.wav "$(dialog_text "VROK - Configuration" 111)"
    expect_eq "cuckoo button" vrokkuck.wav "$(dialog_text "VROK - Configuration" 114)"
    expect_eq "fire speed" 495 "$(dialog_text "VROK - Configuration" 104)"
    expect_eq "grenade delay" 1500 "$(dialog_text "VROK - Configuration" 106)"
    expect_eq "Classic selected" 1 "$(dialog_checked "VROK - Configuration" 1003)"
    expect_eq "DirectX sound checked" 1 "$(dialog_checked "VROK - Configuration" 1006)"
    close_dialog "VROK - Configuration" 109
    open_dialog statistics STATISTICS || return 1
    expect_eq "shots" 0 "$(dialog_text STATISTICS 103)"
    expect_eq "button" "Yeah!" "$(dialog_text STATISTICS 101)"
    close_dialog STATISTICS 101
    open_dialog about "About VROK..." || return 1
    expect_eq "version line" "Version 3.49 for Windows 98 / NT" "$(dialog_text "About VROK..." 1234)"
    close_dialog "About VROK..." 101
    open_dialog aboutabout "About About ..." || return 1
    expect_eq "button" "I agree with your opinion about Crashdows" "$(dialog_text "About About ..." 101)"
    close_dialog "About About ..." 101
    tray_menu_choose close || return 1
    expect_eq "exit code" 0 "$(wait_exit)"
}

test_configuration_change_reaches_the_settings_file() {
    start_with_tray dialogs-config || return 1
    open_dialog configuration "VROK - Configuration" || return 1
    vrok_drv press "VROK - Configuration" 1004
    # One page up on the Firespeed bar: 495 - 50.
    vrok_drv scroll "VROK - Configuration" 105 2
    expect_eq "fire speed shown" 445 "$(dialog_text "VROK - Configuration" 104)"
    close_dialog "VROK - Configuration" 108
    tray_menu_choose close || return 1
    expect_eq "exit code" 0 "$(wait_exit)"
    expect_eq "active Profile" 1 "$(sed -n 3p "$DIR/VROK.INI" | tr -d '\r')"
    expect_eq "fire speeds of the Profiles" "495 445 495" \
        "$(sed -n '9p;18p;27p' "$DIR/VROK.INI" | tr -d '\r' | tr '\n' ' ' | sed 's/ $//')"
}

test_statistics_count_the_holes_of_a_burst() {
    start_for_shooting dialogs-statistics 1 490 3000 || return 1
    click_tray 1 2
    vrok_drv wait PIFFPOFF - 10000 >/dev/null || { fail "no shooting window"; shooting_close; return 1; }
    xdotool mousemove 400 300 click 1
    local left
    left=$(shooting_wait_screen 5 "$DIR/desktop.ppm" "${SHOOTING_COVERED[@]}" \
        --and "$LOCH_BMP" 392 292 --and "$LOCH_BMP" 415 287) || fail "not the two holes: $left"
    xdotool key Escape
    vrok_drv gone PIFFPOFF - 10000 || fail "the shooting window stayed"
    open_dialog statistics STATISTICS || { shooting_close; return 1; }
    expect_eq "shots" 2 "$(dialog_text STATISTICS 103)"
    expect_eq "grenades" 0 "$(dialog_text STATISTICS 104)"
    close_dialog STATISTICS 101
    shooting_close
}

test_configuration_help_opens_the_configuration_topic() {
    start_with_tray dialogs-help with-help || return 1
    open_dialog configuration "VROK - Configuration" || return 1
    # Posted, so a Help that never returns shows as a dialog that no longer closes.
    vrok_drv command '#32770' "VROK - Configuration" 199
    vrok_drv wait MS_WINHELP - 10000 >/dev/null || { fail "no WinHelp window"; return 1; }
    local text="" deadline=$((SECONDS + 10))
    while [ $SECONDS -lt $deadline ]; do
        text=$(vrok_drv text MS_WINHELP - 1793 | tr -d '\r')
        [ -n "$text" ] && break
        sleep 0.2
    done
    expect_eq "topic shown" "Chapter 4: The configuration dialog" "$(head -n 1 <<<"$text")"
    expect_eq "WinHelp window visible" 1 "$(vrok_drv list MS_WINHELP | cut -f3 | head -n 1)"
    close_dialog "VROK - Configuration" 109
    vrok_drv close MS_WINHELP -
    tray_menu_choose close || return 1
    expect_eq "exit code" 0 "$(wait_exit)"
}
