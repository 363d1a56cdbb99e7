# Start-up and shutdown of the real program: the settings file, a second copy, corrupt files.

test_first_start_writes_the_default_file_on_close() {
    fresh_folder first
    start_vrok
    wait_main_window || { fail "no main window"; return 1; }
    [ -e "$DIR/VROK.INI" ] && fail "settings written before the end"
    close_vrok
    expect_eq "exit code" 0 "$(wait_exit)"
    expect_eq "VROK.INI" "$(default_ini | od -c)" "$(od -c <"$DIR/VROK.INI")"
    expect_eq "lines" 31 "$(tr -cd '\n' <"$DIR/VROK.INI" | wc -c)"
    [ -e "$DIR/VROK.INI.new" ] && fail "the temporary file was left behind"
    return 0
}

test_second_copy_exits_42_and_leaves_the_first_alone() {
    fresh_folder second
    start_vrok
    local first
    first=$(vrok_drv wait VROK "Death to Glitchcorp" 15000) || { fail "no main window"; return 1; }
    local started=$SECONDS code
    "$VROK_WINE" "${WINDIR}VROK.exe" >/dev/null 2>&1
    code=$?
    expect_eq "second copy's exit code" 42 "$code"
    [ $((SECONDS - started)) -le 5 ] || fail "the second copy took $((SECONDS - started))s to end"
    expect_eq "main windows" 1 "$(vrok_drv list VROK | grep -c 'Death to Glitchcorp')"
    expect_eq "first copy's window" "$first" "$(vrok_drv wait VROK "Death to Glitchcorp" 1000)"
    [ -e "$DIR/VROK.INI" ] && fail "the second copy wrote the settings"
    close_vrok
    expect_eq "first copy's exit code" 0 "$(wait_exit)"
    [ -e "$DIR/VROK.INI" ] || fail "the first copy wrote no settings"
    return 0
}

test_corrupt_file_is_reported_then_defaults_are_used() {
    fresh_folder corrupt
    # A bad tag; line 4 still says "no description", which is the one value that survives.
    printf 'VROK31\r\n3.47\r\n2\r\n0\r\nx.wav\r\n' >"$DIR/VROK.INI"
    start_vrok
    local text
    text=$(vrok_drv box Error 15000) || { fail "no box with caption Error"; return 1; }
    expect_eq "box text" "Corrupt VROK.INI file!" "$(tr -d '\r' <<<"$text")"
    vrok_drv press Error 1 || fail "could not press OK"
    wait_main_window || { fail "no main window after the box"; return 1; }
    close_vrok
    expect_eq "exit code" 0 "$(wait_exit)"
    expect_eq "VROK.INI" "$(default_ini 0 | od -c)" "$(od -c <"$DIR/VROK.INI")"
}

# Nine lines of Profile $1 with values of its own, sounds from the program folder.
old_profile() {
    local cuckoo=vrokkuck.wav
    [ "$1" -eq 2 ] && cuckoo=teckuc1.wav
    printf '%s\r\n' "${WINDIR}vrokgun.wav" "${WINDIR}vrokgren.wav" "${WINDIR}vrokhlvb.wav" \
        "${WINDIR}$cuckoo" $((300 + $1)) $((200 + $1)) $((1000 + $1)) "$(($1 % 2))" 1
}

test_version_3_4_file_is_read_silently_and_saved_as_3_47() {
    fresh_folder old
    local i
    {
        printf 'VROK32\r\n3.4\r\n1\r\n'
        for i in 0 1 2; do
            old_profile $i
        done
    } >"$DIR/VROK.INI"
    start_vrok
    wait_main_window || { fail "no main window"; return 1; }
    vrok_drv box Error 1500 >/dev/null && fail "a box appeared for a good 3.4 file"
    expect_no_sound_box
    close_vrok
    expect_eq "exit code" 0 "$(wait_exit)"
    local expected
    expected=$({
        printf 'VROK32\r\n3.47\r\n1\r\n1\r\n'
        for i in 0 1 2; do
            old_profile $i
        done
    } | od -c)
    expect_eq "VROK.INI" "$expected" "$(od -c <"$DIR/VROK.INI")"
}
