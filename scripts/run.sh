#!/usr/bin/env bash
# Installs what is missing, builds VROK and runs it under Wine in a private prefix.
# With a DISPLAY it opens a Wine desktop with a task bar there and runs until you choose
# "Close" from the tray icon's menu. Without one it starts its own Xvfb and sound sink, runs VROK in
# the virtual desktop, plays one activation (burst, grenade, Escape), saves what a person would
# see and hear under build/run/ and ends the program again.
# "bash scripts/run.sh two-monitors" does either on two monitors side by side (Xephyr's screens,
# nested in the display), the desktop a picture over both, without a task bar.
# "bash scripts/run.sh scaled [PERCENT]" does either on a display scaled to PERCENT (default 150);
# headless on a screen of 800x600 at that scale (1200x900 at 150 %), the pictures under
# build/run-PERCENT/.
set -u
. "$(dirname "$0")/common.sh"

MONITORS=()
[ "${1:-}" = two-monitors ] && MONITORS=(-origin 0,0 -screen 800x600 -origin 800,0 -screen 640x480)
PERCENT=100
[ "${1:-}" = scaled ] && PERCENT=${2:-150}
[[ $PERCENT =~ ^[1-9][0-9]*$ ]] || { vrok_log "not a percentage: $PERCENT"; exit 2; }
px() { echo $(($1 * PERCENT / 100)); }  # a length of the 100 % screen at the scale
id_of() { awk -v n="$1" '$2 == n {print $3}' "$VROK_ROOT/resources/resource.h"; }
CMD_ACTIVATE=$(id_of CMD_ACTIVATE)

vrok_install_packages || exit 1
mkdir -p "$VROK_BUILD"
vrok_log "building VROK.exe"
vrok_build_win64 || exit 1

if [ -n "${DISPLAY:-}" ]; then
    vrok_prefix_setup 1024x768
    vrok_prefix_composed
    [ "$PERCENT" = 100 ] || vrok_prefix_dpi $((96 * PERCENT / 100))
    trap 'vrok_stop_monitors; vrok_stop_wine' EXIT
    if [ ${#MONITORS[@]} -gt 0 ]; then
        vrok_start_monitors "${MONITORS[@]}" || exit 1
        vrok_log "running $VROK_BIN/VROK.exe on two monitors in Xephyr's windows (the tray icon is in Wine's small tray window)"
    else
        vrok_log "running $VROK_BIN/VROK.exe (the tray icon is at the right end of the Wine task bar)"
    fi
    "$VROK_WINE" "$VROK_BIN/VROK.exe"
    status=$?
    vrok_log "VROK ended with exit code $status; settings in $VROK_BIN/VROK.INI"
    exit $status
fi

out=$VROK_BUILD/run
[ "${1:-}" = scaled ] && out=$VROK_BUILD/run-$PERCENT
rm -rf "$out"
mkdir -p "$out"
trap 'vrok_record_stop; vrok_stop_monitors; vrok_stop_wine; vrok_stop_pulse; vrok_stop_xvfb' EXIT
width=$(px 800) height=$(px 600)
vrok_start_xvfb "${width}x$height" || exit 1
vrok_start_pulse || exit 1
vrok_prefix_setup "${width}x$height"
vrok_prefix_composed
[ "$PERCENT" = 100 ] || vrok_prefix_dpi $((96 * PERCENT / 100))
# Where the bursts go (x,y ...), the grenade, and the tray icon's place (none on two monitors).
bursts="$(px 300),$(px 250)" grenade=$(px 520),$(px 330) tray=$((width - 10)),$((height - 10)) mask="point -1,-1"
if [ ${#MONITORS[@]} -gt 0 ]; then
    vrok_start_monitors "${MONITORS[@]}" || exit 1
    bursts="300,250 1100,200" grenade=1000,330 tray=
fi

# Polls COMMAND every 0.1 s for up to 10 s.
wait_until() { local i; for i in $(seq 100); do "$@" && return 0; sleep 0.1; done; return 1; }
tray_icon_shown() {
    [ "$(import -window root -crop "40x20+$((width - 40))+$((height - 20))" -depth 8 txt:- | grep -c -i '#FFFF00')" -gt 20 ]
}
# A picture of the screen's rectangle x,y,w,h (as vrokdrv lists it) once it looks the same twice.
picture() {  # picture RECTANGLE FILE
    local x y w h
    IFS=, read -r x y w h <<<"$1"
    crop() { import -window root png:- | convert - -crop "${w}x$h+$x+$y" +repage "$1"; }
    crop "$2.new.png"
    until sleep 0.2; crop "$2"; [ "$(compare -metric AE "$2" "$2.new.png" null: 2>&1)" = 0 ]; do
        mv "$2" "$2.new.png"; done
    rm -f "$2.new.png"
}
# Opens a dialog with the main window's COMMAND, takes its picture as NAME.png, closes it with BUTTON.
dialog_picture() {  # dialog_picture COMMAND CAPTION BUTTON NAME
    vrok_drv command VROK "Death to Glitchcorp" "$(id_of "$1")"
    vrok_drv wait '#32770' "$2" 5000 >/dev/null || { vrok_log "no dialog \"$2\""; return 1; }
    picture "$(vrok_drv list '#32770' | awk -F'\t' -v c="$2" '$2 == c {print $4; exit}')" "$out/$4.png"
    vrok_drv press "$2" "$(id_of "$3")"
    vrok_drv gone '#32770' "$2" 5000
}
pixel_is_black() {
    [ "$(import -window root -crop "1x1+$1+$2" -depth 8 txt:- | awk 'NR == 2 { print $3 }')" = "#000000" ]
}
screen_is() {  # masked: Wine's tray window shows itself active or not as the shooting window comes and goes
    import -window root png:- | convert - -fill black -draw "$mask" "$out/now.png" &&
        [ "$(compare -metric AE "$1" "$out/now.png" null: 2>&1)" = 0 ]
}
# The sink writes true zeros between sounds: the last 0.3 s all zero means the sound has ended.
recording_quiet() { [ "$(tail -c 57600 "$1" | tr -d '\0' | wc -c)" -eq 0 ]; }

vrok_log "running VROK.exe on $DISPLAY${tray:+ in a virtual desktop}, as a first start"
rm -f "$VROK_BIN/VROK.INI"
("$VROK_WINE" "$VROK_BIN/VROK.exe"; echo $? >"$out/exit-code") &
vrok_drv wait VROK "Death to Glitchcorp" 20000 >/dev/null || { vrok_log "VROK did not start"; exit 1; }
if [ -n "$tray" ]; then
    wait_until tray_icon_shown || { vrok_log "no tray icon"; exit 1; }
    # The note of a first start, then read and put away.
    vrok_drv balloon 10000 keep >/dev/null && sleep 0.5 && import -window root "$out/first-start.png" ||
        vrok_log "no note at the first start"
    vrok_drv balloon 0 >/dev/null
else
    vrok_drv wait __winex11_standalone_tray - 10000 >/dev/null && sleep 1  # Wine's tray drawn
    IFS=, read -r x y w h < <(vrok_drv list __winex11_standalone_tray | cut -f4)
    mask="rectangle $x,$y $((x + w)),$((y + h))"  # Windows' position is X's on these monitors
fi
import -window root "$out/desktop.png"
convert "$out/desktop.png" -fill black -draw "$mask" "$out/desktop-masked.png"
vrok_drv list VROK >"$out/windows.txt"
if [ -n "$tray" ]; then
    # The notification area four times enlarged, to see the icon's pixels.
    convert "$out/desktop.png" -gravity southeast -crop "$(px 60)x$(px 40)+0+0" +repage -scale 400% "$out/tray.png"
    dialog_picture CMD_CONFIGURATION "VROK - Configuration" IDC_CONFIG_CANCEL configuration
    dialog_picture CMD_STATISTICS STATISTICS IDC_DIALOG_OK statistics
    dialog_picture CMD_ABOUT "About VROK..." IDC_DIALOG_OK about
    dialog_picture CMD_ABOUT_ABOUT "About About ..." IDC_DIALOG_OK aboutabout
fi

vrok_log "activating: a burst at each of $bursts, a grenade at $grenade, then Escape"
vrok_record_start "$out/activation.raw"
if [ -n "$tray" ]; then
    xdotool mousemove ${tray/,/ } click --repeat 2 --delay 60 1
else
    vrok_drv command VROK "Death to Glitchcorp" "$CMD_ACTIVATE"
fi
vrok_drv wait PIFFPOFF - 10000 >/dev/null || { vrok_log "no shooting window"; exit 1; }
for burst in $bursts; do xdotool mousemove ${burst/,/ } mousedown 1 sleep 0.3 mouseup 1; done
# The crater lands where the cursor was at the throw, after the Profile's grenade delay.
xdotool mousemove ${grenade/,/ } click 3 mousemove 600 400
wait_until pixel_is_black ${grenade/,/ } || vrok_log "no crater within 10 s"
import -window root "$out/activation.png"
convert "$out/activation.png" -strip "$out/readme.png"  # the README's picture, resources/readme.png
[ -z "$tray" ] || picture "$(vrok_drv list VROK | awk -F'\t' '$2 == "Death to Glitchcorp" {print $4; exit}')" "$out/description.png"
xdotool mousemove 400 300 key Escape
# The window goes once the final sound has played; then the desktop is repainted clean.
vrok_drv gone PIFFPOFF - 10000 || vrok_log "the shooting window stayed"
wait_until screen_is "$out/desktop-masked.png" || vrok_log "the desktop was not repainted clean"
import -window root "$out/after.png"
rm -f "$out/now.png" "$out/desktop-masked.png"
wait_until recording_quiet "$out/activation.raw"
vrok_record_stop
python3 - "$out/activation.raw" "$out/activation.wav" <<'EOF_WAVE'
import sys, wave
data = open(sys.argv[1], "rb").read()
with wave.open(sys.argv[2], "wb") as out:
    out.setnchannels(2)
    out.setsampwidth(2)
    out.setframerate(48000)
    out.writeframes(data[:len(data) // 4 * 4])
EOF_WAVE
rm -f "$out/activation.raw"

vrok_drv close VROK "Death to Glitchcorp"
for _ in $(seq 100); do [ -s "$out/exit-code" ] && break; sleep 0.1; done
cp "$VROK_BIN/VROK.INI" "$out/VROK.INI" 2>/dev/null
vrok_log "VROK ended with exit code $(cat "$out/exit-code" 2>/dev/null || echo '?')"
vrok_log "saved in $out: desktop.png (the desktop with VROK's tray icon), activation.png (holes and"
vrok_log "  a crater; readme.png is the same for the README), after.png (the desktop repainted clean),"
vrok_log "  activation.wav (the sound of the activation: gun, grenade, final sound), windows.txt, VROK.INI"
[ -z "$tray" ] || vrok_log "  and first-start.png (the note of a first start), tray.png (the tray icon enlarged),
  description.png, configuration.png, statistics.png, about.png, aboutabout.png (the description window
  and the dialogs)"
