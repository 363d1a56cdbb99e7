# The tray icon and its menu in the Wine desktop: activation, Close, Help, the description window.

# Starts VROK from a fresh folder and waits for its tray icon.
start_with_tray() {  # start_with_tray NAME [with-help]
    fresh_folder "$@"
    start_vrok
    wait_main_window || { fail "no main window"; return 1; }
    wait_tray_icon || { fail "no tray icon"; return 1; }
}

# Expects a full-screen shooting window, then closes it (it has no way out of its own yet).
expect_shooting_window() {
    vrok_drv wait PIFFPOFF - 10000 >/dev/null || { fail "no shooting window"; return 1; }
    local shown rect
    shown=$(vrok_drv list PIFFPOFF | cut -f3)
    rect=$(vrok_drv list PIFFPOFF | cut -f4)
    expect_eq "shooting window visible" 1 "$shown"
    # Maximized, so its border may lie just outside the screen.
    awk -F, '{ exit !($1 <= 0 && $2 <= 0 && $1 + $3 >= 800 && $2 + $4 >= 600) }' <<<"$rect" \
        || fail "the shooting window $rect does not cover the 800 x 600 screen"
    vrok_drv close PIFFPOFF -
    vrok_drv gone PIFFPOFF - 5000 || fail "the shooting window did not close"
}

test_double_click_on_the_tray_icon_activates() {
    start_with_tray tray-double || return 1
    click_tray 1 2
    expect_shooting_window
    # The description is shown by default while shooting starts.
    expect_eq "main window visible" 1 "$(vrok_drv list VROK | cut -f3)"
}

test_activate_from_the_menu_and_close_from_the_menu() {
    start_with_tray tray-menu || return 1
    tray_menu_choose activate || return 1
    expect_shooting_window
    tray_menu_choose close || return 1
    expect_eq "exit code" 0 "$(wait_exit)"
    wait_tray_icon gone || fail "the tray icon stayed after Close"
    expect_eq "settings lines" 31 "$(tr -cd '\n' <"$DIR/VROK.INI" | wc -c)"
}

test_invisible_description_is_never_shown() {
    fresh_folder tray-invisible
    default_ini 0 >"$DIR/VROK.INI"
    start_vrok
    wait_main_window || { fail "no main window"; return 1; }
    wait_tray_icon || { fail "no tray icon"; return 1; }
    vrok_drv command VROK "Death to Glitchcorp" "$(res_id CMD_ACTIVATE)"
    vrok_drv wait PIFFPOFF - 10000 >/dev/null || fail "no shooting window"
    expect_eq "main window visible" 0 "$(vrok_drv list VROK | cut -f3)"
    vrok_drv close PIFFPOFF -
}

test_closing_the_description_window_ends_the_program() {
    start_with_tray tray-description || return 1
    vrok_drv command VROK "Death to Glitchcorp" "$(res_id CMD_ACTIVATE)"
    expect_shooting_window
    expect_eq "main window visible" 1 "$(vrok_drv list VROK | cut -f3)"
    close_vrok
    expect_eq "exit code" 0 "$(wait_exit)"
    wait_tray_icon gone || fail "the tray icon stayed"
    [ -s "$DIR/VROK.INI" ] || fail "no settings written"
}

test_help_without_its_file_names_the_path_it_tried() {
    start_with_tray tray-help || return 1
    tray_menu_choose help || return 1
    local text
    text=$(vrok_drv box "Help Error" 5000) || { fail "no Help Error box"; return 1; }
    expect_eq "box text" \
        "$(printf 'Can\264t locate the help file %sVROK.HLP. Copy the help file VROK.HLP to that location.' "$WINDIR")" \
        "$(tr -d '\r' <<<"$text")"
    vrok_drv press "Help Error" 1  # IDOK
    # Help is not one of the guarded dialogs: the program goes on as before.
    vrok_drv gone '#32770' "Help Error" 5000 || fail "the box did not close"
    tray_menu_choose close || return 1
    expect_eq "exit code" 0 "$(wait_exit)"
}

test_help_opens_winhelp_on_the_help_file() {
    start_with_tray tray-winhelp with-help || return 1
    tray_menu_choose help || return 1
    vrok_drv wait MS_WINHELP - 10000 >/dev/null || { fail "no WinHelp window"; return 1; }
    local shown=0 deadline=$((SECONDS + 5))
    while [ $SECONDS -lt $deadline ]; do
        shown=$(vrok_drv list MS_WINHELP | cut -f3 | head -n 1)
        [ "$shown" = 1 ] && break
        sleep 0.2
    done
    expect_eq "WinHelp window visible" 1 "$shown"
    vrok_drv box "Help Error" 0 >/dev/null && fail "a Help Error box with the help file present"
    vrok_drv close MS_WINHELP -
    tray_menu_choose close || return 1
    expect_eq "exit code" 0 "$(wait_exit)"
}
