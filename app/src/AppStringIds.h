// Ids of the program's string resources, shared by the resource script and the code.
#pragma once

#define IDS_TRAY_OPEN 200
#define IDS_TRAY_EXIT 201
#define IDS_PICKER_TITLE 202
#define IDS_HOTKEY_TAKEN 203  // %s: the combination
#define IDS_HOTKEY_ALTGR 204
#define IDS_HOTKEY_NONE 205
#define IDS_KEY_CTRL 206
#define IDS_KEY_ALT 207
#define IDS_KEY_SHIFT 208
#define IDS_KEY_WIN 209
// A second start found the running instance's window missing or not answering.
#define IDS_INSTANCE_CAPTION 230
#define IDS_INSTANCE_NOT_ANSWERING 231
#define IDS_FILTER_NO_MATCH 210
#define IDS_UNDO_REMOVED 211  // %s: the removed favourite's name
