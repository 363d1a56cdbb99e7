# The same activation on a composed desktop (Windows 10, Wine's own client-side drawing) and on
# an uncomposed one (Windows XP, ClientSideGraphics="N").

APP_KEY='HKCU\Software\Wine\AppDefaults\VROK.exe'

# Makes VROK see Windows VERSION, with drawing as DRAWING says: "client" or "N".
vrok_app_defaults() {  # vrok_app_defaults VERSION DRAWING
    "$VROK_WINE" reg add "$APP_KEY" /v Version /d "$1" /f >/dev/null
    if [ "$2" = client ]; then
        "$VROK_WINE" reg delete "$APP_KEY\\X11 Driver" /v ClientSideGraphics /f >/dev/null
    else
        "$VROK_WINE" reg add "$APP_KEY\\X11 Driver" /v ClientSideGraphics /d "$2" /f >/dev/null
    fi
}

vrok_app_defaults_restore() {
    "$VROK_WINE" reg delete "$APP_KEY" /v Version /f >/dev/null 2>&1
    "$VROK_WINE" reg add "$APP_KEY\\X11 Driver" /v ClientSideGraphics /d N /f >/dev/null
}

test_composed_windows_10_desktop_shows_the_holes_and_comes_back_clean() {
    vrok_app_defaults win10 client
    test_shooting_short_burst_leaves_the_first_two_holes_and_escape_cleans_up
    local status=$?
    vrok_app_defaults_restore
    return $status
}

test_uncomposed_windows_xp_desktop_shows_the_holes_and_comes_back_clean() {
    vrok_app_defaults winxp N
    test_shooting_short_burst_leaves_the_first_two_holes_and_escape_cleans_up
    local status=$?
    vrok_app_defaults_restore
    return $status
}
