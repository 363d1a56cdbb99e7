# Sound at start-up and through the real DirectSound: boxes, the settings they leave, stereo.

test_default_sounds_start_without_a_box() {
    fresh_folder sound-ok
    start_vrok
    wait_main_window || { fail "no main window"; return 1; }
    expect_no_sound_box
    close_vrok
    expect_eq "exit code" 0 "$(wait_exit)"
    expect_eq "useDirectSound of the Profiles" "1 1 1" "$(use_direct_sound_lines)"
}

test_missing_sound_file_is_reported_and_switches_sound_off() {
    fresh_folder sound-missing
    rm "$DIR/vrokhlvb.wav"
    start_vrok
    local text
    text=$(vrok_drv box "Configuration Error" 15000) || { fail "no Configuration Error box"; return 1; }
    expect_eq "box text" "$(printf 'Can\264t locate the sound file %svrokhlvb.wav. Select Configuration.' "$WINDIR")" \
        "$(tr -d '\r' <<<"$text")"
    vrok_drv press "Configuration Error" 1  # IDOK
    wait_main_window || { fail "no main window"; return 1; }
    close_vrok
    expect_eq "exit code" 0 "$(wait_exit)"
    expect_eq "useDirectSound of the Profiles" "0 0 0" "$(use_direct_sound_lines)"
}

# Runs VROK with the given DLL overrides and expects one DirectX box with TEXT.
expect_directx_box_then_silence() {  # NAME OVERRIDES TEXT
    fresh_folder "$1"
    rm -f "$DIR/exit-code"
    ( WINEDLLOVERRIDES="$WINEDLLOVERRIDES;$2" "$VROK_WINE" "${WINDIR}VROK.exe" >/dev/null 2>&1
      echo $? >"$DIR/exit-code" ) &
    local text
    text=$(vrok_drv box "DirectX Error" 15000) || { fail "no DirectX Error box"; return 1; }
    expect_eq "box text" "$3" "$(tr -d '\r' <<<"$text")"
    vrok_drv press "DirectX Error" 1  # IDOK
    wait_main_window || { fail "no main window"; return 1; }
    expect_no_sound_box
    close_vrok
    expect_eq "exit code" 0 "$(wait_exit)"
    expect_eq "useDirectSound of the Profiles" "0 0 0" "$(use_direct_sound_lines)"
}

test_no_sound_device_is_reported_and_switches_sound_off() {
    expect_directx_box_then_silence sound-nodevice "winepulse.drv,winealsa.drv=d" \
        "DirectX initialization error. Sound will not work!"
}

test_missing_directsound_is_reported_and_switches_sound_off() {
    expect_directx_box_then_silence sound-nodll "dsound=d" \
        "DirectX not installed or not availible. Sound will not work!"
}

test_panned_gun_is_25_db_louder_on_its_side() {
    local recording="$VROK_BUILD/e2e-pan.raw"
    vrok_record_start "$recording" || { fail "no recording"; return 1; }
    "$VROK_WINE" "$VROK_BIN/vrok_play_slot.exe" 1 -2500 1 2500 1 0 || fail "playing failed"
    sleep 0.3
    vrok_record_stop
    local found
    found=$(python3 "$VROK_ROOT/tests/e2e/stereo_bursts.py" "$recording")
    printf '    sounds (start, length, left-right dB):\n%s\n' "$(sed 's/^/      /' <<<"$found")"
    expect_eq "sounds recorded" 3 "$(wc -l <<<"$found")"
    local left right centre
    left=$(sed -n 1p <<<"$found" | cut -d' ' -f3)
    right=$(sed -n 2p <<<"$found" | cut -d' ' -f3)
    centre=$(sed -n 3p <<<"$found" | cut -d' ' -f3)
    awk -v l="$left" -v r="$right" -v c="$centre" 'BEGIN {
        exit !(l >= 22 && l <= 28 && r <= -22 && r >= -28) }' \
        || fail "pan -2500 gave $left dB, +2500 gave $right dB (want about +25 and -25)"
    # A pan of 0 leaves the buffer as the last play left it: an idle buffer 0 served all three
    # shots, so the third still has the second's pan of +2500.
    awk -v c="$centre" 'BEGIN { exit !(c <= -22 && c >= -28) }' \
        || fail "the shot with pan 0 gave $centre dB; it should keep its buffer's last pan"
}
