# The dialogs of the tray menu in the real program: their texts, a configuration change that
# reaches VROK.INI, and the statistics after a burst.

# The text of control NAME (see res_id) in the open dialog CAPTION.
dialog_text() { vrok_drv controls "$1" | tr -d '\r' | awk -F'\t' -v id="$(res_id "$2")" '$1 == id {print $3; exit}'; }
dialog_checked() { vrok_drv controls "$1" | tr -d '\r' | awk -F'\t' -v id="$(res_id "$2")" '$1 == id {print $4; exit}'; }

# Opens a dialog from the tray menu and waits for it.
open_dialog() {  # open_dialog MENU_ITEM CAPTION
    tray_menu_choose "$1" || return 1
    vrok_drv wait '#32770' "$2" 5000 >/dev/null || { fail "no dialog \"$2\""; return 1; }
}

close_dialog() {  # close_dialog CAPTION BUTTON
    vrok_drv press "$1" "$(res_id "$2")"
    vrok_drv gone '#32770' "$1" 5000 || fail "\"$1\" stayed open"
}

test_dialogs_open_from_the_tray_menu_with_their_texts() {
    start_with_tray dialogs-open || return 1
    open_dialog configuration "VROK - Configuration" || return 1
    expect_eq "machine gun button" vrokgun.wav "$(dialog_text "VROK - Configuration" IDC_CONFIG_GUN_FILE)"
    expect_eq "cuckoo button" vrokkuck.wav "$(dialog_text "VROK - Configuration" IDC_CONFIG_CUCKOO_FILE)"
    expect_eq "fire speed" 495 "$(dialog_text "VROK - Configuration" IDC_CONFIG_FIRE_NUMBER)"
    expect_eq "grenade delay" 1500 "$(dialog_text "VROK - Configuration" IDC_CONFIG_GRENADE_DELAY)"
    expect_eq "Classic selected" 1 "$(dialog_checked "VROK - Configuration" IDC_CONFIG_PROFILE_CLASSIC)"
    expect_eq "DirectX sound checked" 1 "$(dialog_checked "VROK - Configuration" IDC_CONFIG_DIRECT_SOUND)"
    close_dialog "VROK - Configuration" IDC_CONFIG_CANCEL
    open_dialog statistics STATISTICS || return 1
    expect_eq "shots" 0 "$(dialog_text STATISTICS IDC_STATISTICS_SHOTS)"
    expect_eq "button" "Yeah!" "$(dialog_text STATISTICS IDC_DIALOG_OK)"
    close_dialog STATISTICS IDC_DIALOG_OK
    open_dialog about "About VROK..." || return 1
    expect_eq "version line" "Version 3.49 for Windows 98 / NT" "$(dialog_text "About VROK..." IDC_ABOUT_VERSION)"
    close_dialog "About VROK..." IDC_DIALOG_OK
    open_dialog aboutabout "About About ..." || return 1
    expect_eq "button" "I agree with your opinion about Crashdows" "$(dialog_text "About About ..." IDC_DIALOG_OK)"
    close_dialog "About About ..." IDC_DIALOG_OK
    tray_menu_choose close || return 1
    expect_eq "exit code" 0 "$(wait_exit)"
}

test_configuration_change_reaches_the_settings_file() {
    start_with_tray dialogs-config || return 1
    open_dialog configuration "VROK - Configuration" || return 1
    vrok_drv press "VROK - Configuration" "$(res_id IDC_CONFIG_PROFILE_USER_1)"
    # One page up on the Firespeed bar: 495 - 50.
    vrok_drv scroll "VROK - Configuration" "$(res_id IDC_CONFIG_FIRE_SCROLL)" 2
    expect_eq "fire speed shown" 445 "$(dialog_text "VROK - Configuration" IDC_CONFIG_FIRE_NUMBER)"
    close_dialog "VROK - Configuration" IDC_CONFIG_OK
    tray_menu_choose close || return 1
    expect_eq "exit code" 0 "$(wait_exit)"
    expect_eq "active Profile" 1 "$(sed -n 3p "$DIR/VROK.INI" | tr -d '\r')"
    expect_eq "fire speeds of the Profiles" "495 445 495" \
        "$(sed -n '9p;18p;27p' "$DIR/VROK.INI" | tr -d '\r' | tr '\n' ' ' | sed 's/ $//')"
}

# Activating does not wait for the open statistics dialog, which shows the new count at the end.
test_statistics_open_during_an_activation_count_its_holes() {
    start_for_shooting dialogs-statistics 1 490 3000 || return 1
    open_dialog statistics STATISTICS || return 1
    expect_eq "shots before" 0 "$(dialog_text STATISTICS IDC_STATISTICS_SHOTS)"
    local rect
    rect=$(vrok_drv list '#32770' | awk -F'\t' '$2 == "STATISTICS" {print $4}' | tr ',' ' ')
    click_tray 1 2
    vrok_drv wait PIFFPOFF - 10000 >/dev/null || { fail "no shooting window"; shooting_close; return 1; }
    xdotool mousemove 400 300 click 1
    local left
    # shellcheck disable=SC2086 # the dialog's rectangle, four numbers
    left=$(shooting_wait_screen 5 "$DIR/desktop.ppm" "${SHOOTING_COVERED[@]}" --ignore $rect \
        --and "$LOCH_BMP" 392 292 --and "$LOCH_BMP" 415 287) || fail "not the two holes: $left"
    xdotool key Escape
    vrok_drv gone PIFFPOFF - 10000 || fail "the shooting window stayed"
    expect_eq "shots" 2 "$(dialog_text STATISTICS IDC_STATISTICS_SHOTS)"
    expect_eq "grenades" 0 "$(dialog_text STATISTICS IDC_STATISTICS_GRENADES)"
    close_dialog STATISTICS IDC_DIALOG_OK
    shooting_close
}

test_configuration_help_opens_the_configuration_topic() {
    start_with_tray dialogs-help with-help || return 1
    open_dialog configuration "VROK - Configuration" || return 1
    # Posted, so a Help that never returns shows as a dialog that no longer closes.
    vrok_drv command '#32770' "VROK - Configuration" "$(res_id IDC_CONFIG_HELP)"
    vrok_drv wait MS_WINHELP - 10000 >/dev/null || { fail "no WinHelp window"; return 1; }
    local text="" deadline=$((SECONDS + 10))
    while [ $SECONDS -lt $deadline ]; do
        text=$(vrok_drv text MS_WINHELP - 1793 | tr -d '\r')  # WinHelp's own topic control
        [ -n "$text" ] && break
        sleep 0.2
    done
    expect_eq "topic shown" "Chapter 4: The configuration dialog" "$(head -n 1 <<<"$text")"
    expect_eq "WinHelp window visible" 1 "$(vrok_drv list MS_WINHELP | cut -f3 | head -n 1)"
    close_dialog "VROK - Configuration" IDC_CONFIG_CANCEL
    vrok_drv close MS_WINHELP -
    tray_menu_choose close || return 1
    expect_eq "exit code" 0 "$(wait_exit)"
}

# Prints how many sounds the sink played while COMMAND... ran, between half-second margins (the
# recording's first third of a second may be what the FIFO held from before).
sounds_during() {
    local recording="$DIR/during.raw"
    vrok_record_start "$recording" || return 1
    sleep 0.5
    "$@"
    sleep 0.5
    vrok_record_stop
    python3 "$VROK_ROOT/tests/e2e/stereo_bursts.py" "$recording" | awk '$1 >= 0.4' | wc -l
}

CONFIG="VROK - Configuration"
CHOOSER="Select sound for machinegun"

test_an_activation_during_test_fire_and_preview_leaves_both_working() {
    start_with_tray seam-dialog || return 1
    open_dialog configuration "$CONFIG" || return 1
    vrok_drv press "$CONFIG" "$(res_id IDC_CONFIG_PLAY_GUN)"
    vrok_drv command '#32770' "$CONFIG" "$(res_id IDC_CONFIG_GUN_FILE)"
    vrok_drv wait '#32770' "$CHOOSER" 5000 >/dev/null || { fail "no chooser"; return 1; }
    vrok_drv press "$CHOOSER" "$(res_id IDC_CHOOSER_PLAY)"
    click_tray 1 2
    vrok_drv wait PIFFPOFF - 10000 >/dev/null || { fail "no shooting window"; return 1; }
    xdotool mousemove 400 300 mousedown 1 sleep 0.3 mouseup 1 sleep 0.2 key Escape
    vrok_drv gone PIFFPOFF - 10000 || fail "the shooting window stayed"
    # The activation stopped the test fire; a dialog that went on firing into a shut-down engine
    # opened a box on every tick.
    sleep 1
    expect_no_sound_box
    expect_eq "test fire box after the activation" 0 "$(dialog_checked "$CONFIG" IDC_CONFIG_PLAY_GUN)"
    expect_eq "main window enabled while its modal dialog is open" 0 "$(vrok_drv list VROK | cut -f5 | tr -d "\r")"
    expect_eq "preview heard" 1 "$(sounds_during vrok_drv press "$CHOOSER" "$(res_id IDC_CHOOSER_PLAY)")"
    vrok_drv press "$CHOOSER" "$(res_id IDC_CHOOSER_STOP)"
    close_dialog "$CHOOSER" 2  # IDCANCEL of the system's file dialog
    [ "$(sounds_during eval 'vrok_drv press "$CONFIG" "$(res_id IDC_CONFIG_PLAY_GUN)"; sleep 0.6
        vrok_drv press "$CONFIG" "$(res_id IDC_CONFIG_PLAY_GUN)"')" -ge 1 ] || fail "no test fire after the activation"
    expect_no_sound_box
    close_dialog "$CONFIG" IDC_CONFIG_CANCEL
    tray_menu_choose close || return 1
    expect_eq "exit code" 0 "$(wait_exit)"
    expect_eq "settings lines" 31 "$(tr -cd '\n' <"$DIR/VROK.INI" 2>/dev/null | wc -c)"
}
