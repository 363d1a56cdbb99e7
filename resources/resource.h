/* Every resource, command and control id of VROK, shared by VROK.rc and the code. */
#pragma once

/* Commands of the tray popup menu and the extra system-menu entries. */
#define CMD_ACTIVATE 200
#define CMD_CLOSE 201
#define CMD_CONFIGURATION 202
#define CMD_STATISTICS 203
#define CMD_HELP 204
#define CMD_ABOUT 205
#define CMD_ABOUT_ABOUT 206

/* Dialog controls shared by the information dialogs. */
#define IDC_DIALOG_OK 101
#define IDC_STATISTICS_RESET 102
#define IDC_STATISTICS_SHOTS 103
#define IDC_STATISTICS_GRENADES 104
#define IDC_ABOUT_VERSION 1234
#define IDC_ABOUT_COMMENTS 103
#define IDC_ABOUT_CONTACT_1 106
#define IDC_ABOUT_CONTACT_2 107
#define IDC_ABOUT_CONTACT_3 108

/* The configuration dialog. */
#define IDC_CONFIG_FIRE_NUMBER 104
#define IDC_CONFIG_FIRE_SCROLL 105
#define IDC_CONFIG_GRENADE_DELAY 106
#define IDC_CONFIG_SOUND_SCROLL 107
#define IDC_CONFIG_OK 108
#define IDC_CONFIG_CANCEL 109
#define IDC_CONFIG_SOUND_NUMBER 110
#define IDC_CONFIG_GUN_FILE 111
#define IDC_CONFIG_GRENADE_FILE 112
#define IDC_CONFIG_FINAL_FILE 113
#define IDC_CONFIG_CUCKOO_FILE 114
#define IDC_CONFIG_HELP 199
#define IDC_CONFIG_WITH_CUCKOO 1002
#define IDC_CONFIG_PROFILE_CLASSIC 1003
#define IDC_CONFIG_PROFILE_USER_1 1004
#define IDC_CONFIG_PROFILE_USER_2 1005
#define IDC_CONFIG_DIRECT_SOUND 1006
#define IDC_CONFIG_PLAY_GUN 1007
#define IDC_CONFIG_INVISIBLE_DESCRIPTION 1008

/* The buttons the sound file chooser gets from "OPENFILEEXTENTION". */
#define IDC_CHOOSER_PLAY 1198
#define IDC_CHOOSER_STOP 1200

/* The application manifest (CREATEPROCESS_MANIFEST_RESOURCE_ID). */
#define VROK_MANIFEST_ID 1

/* The version record. */
#define VERSION_RECORD_ID 1

/* Resources are looked up by name; VROK.rc declares them with these macros. */
#define RES_ICON_MAIN "MegaIcon"
#define RES_ICON_WINK_HALF "MEGAICON3"
#define RES_ICON_WINK_SHUT "MEGAICON4"
#define RES_CURSOR_SHOOTING "MegaCursor"
#define RES_CURSOR_MAIN "GAEHN"
#define RES_BITMAP_HOLE "LOCH"
#define RES_BITMAP_CRATER "GRENADE"
/* The hole and the crater drawn for 125, 150 and 200 %, run-length coded (shooting/shot_scale.h). */
#define RES_ART_HOLE_120 "LOCH120"
#define RES_ART_HOLE_144 "LOCH144"
#define RES_ART_HOLE_192 "LOCH192"
#define RES_ART_CRATER_120 "GRENADE120"
#define RES_ART_CRATER_144 "GRENADE144"
#define RES_ART_CRATER_192 "GRENADE192"
#define RES_MENU_TRAY "MENU"
#define RES_DIALOG_CONFIG "CONFIG"
#define RES_DIALOG_STATISTICS "STATISTIK"
#define RES_DIALOG_ABOUT "MEGAABOUT"
#define RES_DIALOG_ABOUT_ABOUT "ABOUTABOUT"
#define RES_DIALOG_FILE_PREVIEW "OPENFILEEXTENTION"

#ifndef RC_INVOKED
/* Context number of the configuration topic in VROK.HLP (the build maps the help file's topic
   "configuration" to it). */
#define HELP_CONTEXT_CONFIGURATION 1
/* Its page in VROK.CHM (halibut names each page after its section's keyword). */
#define HELP_PAGE_CONFIGURATION "config.html"
#endif
