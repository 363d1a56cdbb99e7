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

/* The version record. */
#define VERSION_RECORD_ID 1

#ifndef RC_INVOKED
/* Resources are looked up by name; the resource script names them with the same words. */
#define RES_ICON_MAIN "MegaIcon"
#define RES_ICON_WINK_HALF "MEGAICON3"
#define RES_ICON_WINK_SHUT "MEGAICON4"
#define RES_CURSOR_SHOOTING "MegaCursor"
#define RES_CURSOR_MAIN "GAEHN"
#define RES_BITMAP_HOLE "LOCH"
#define RES_BITMAP_CRATER "GRENADE"
#define RES_MENU_TRAY "MENU"
#endif
