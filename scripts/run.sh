#!/usr/bin/env bash
# Installs what is missing, builds VROK and runs it under Wine in a private prefix.
# With a DISPLAY it opens a Wine desktop with a task bar there and runs until you choose
# "Close" from the tray icon's menu. Without one it starts its own Xvfb, runs VROK in the virtual
# desktop, saves what a person would see under build/run/ and ends the program again.
set -u
. "$(dirname "$0")/common.sh"

vrok_install_packages || exit 1
mkdir -p "$VROK_BUILD"
vrok_log "building VROK.exe"
vrok_build_win64 || exit 1

if [ -n "${DISPLAY:-}" ]; then
    vrok_prefix_setup 1024x768
    trap vrok_stop_wine EXIT
    vrok_log "running $VROK_BIN/VROK.exe (the tray icon is at the right end of the Wine task bar)"
    "$VROK_WINE" "$VROK_BIN/VROK.exe"
    status=$?
    vrok_log "VROK ended with exit code $status; settings in $VROK_BIN/VROK.INI"
    exit $status
fi

out=$VROK_BUILD/run
rm -rf "$out"
mkdir -p "$out"
trap 'vrok_stop_wine; vrok_stop_xvfb' EXIT
vrok_start_xvfb 800x600 || exit 1
vrok_prefix_setup 800x600
vrok_log "running VROK.exe in a virtual desktop on $DISPLAY"
("$VROK_WINE" "$VROK_BIN/VROK.exe"; echo $? >"$out/exit-code") &
vrok_drv wait VROK "Death to Glitchcorp" 20000 >/dev/null || { vrok_log "VROK did not start"; exit 1; }
# Give the task bar a moment to draw the new tray icon.
sleep 1
import -window root "$out/desktop.png"
vrok_drv list VROK >"$out/windows.txt"
vrok_drv close VROK "Death to Glitchcorp"
for _ in $(seq 100); do [ -s "$out/exit-code" ] && break; sleep 0.1; done
cp "$VROK_BIN/VROK.INI" "$out/VROK.INI" 2>/dev/null
vrok_log "VROK ended with exit code $(cat "$out/exit-code" 2>/dev/null || echo '?')"
vrok_log "saved in $out: desktop.png (the desktop with VROK's tray icon), windows.txt, VROK.INI"
