// The one list of resource and command ids of the program.
#pragma once

// Main frame: menu, accelerators, icon and the title string share this id.
#define IDR_MAINFRAME 128

// The page the browser's context-menu entry runs (resource type 23, RT_HTML).
#define IDR_LINK_PAGE 234
#define IDB_PIN 222
#define IDB_DROP_WINDOW 235  // the floating drop window, 32 x 32
#define IDB_TOOLBAR20_NORMAL 237
#define IDB_TOOLBAR20_HOT 238
#define IDB_TOOLBAR20_DISABLED 239
#define IDB_TOOLBAR28_NORMAL 240
#define IDB_TOOLBAR28_HOT 241
#define IDB_TOOLBAR28_DISABLED 242
#define ID_PIN_BUTTON 1625
// The tray icon's menu and its click.
#define IDR_TRAY_MENU 206
#define ID_TRAY_SHOWHIDE 32780
#define ID_PANE_CLOSE 57682

// Strings
#define IDS_IDLE_MESSAGE 57345  // status bar text when nothing is going on

// Commands offered by the accelerator table (taken by it, handled nowhere)
#define ID_FILE_NEW 57600
#define ID_FILE_OPEN 57601
#define ID_FILE_SAVE 57603
#define ID_FILE_PRINT 57607
#define ID_EDIT_COPY 57634
#define ID_EDIT_CUT 57635
#define ID_EDIT_PASTE 57637
#define ID_EDIT_UNDO 57643
#define ID_NEXT_PANE 57680
#define ID_PREV_PANE 57681

// Commands of the main frame
#define ID_APP_ABOUT 57664
#define ID_APP_EXIT 57665
#define ID_EDIT_MOVEUP 32855    // the category or the bookmark, by focus
#define ID_EDIT_MOVEDOWN 32870
#define ID_VIEW_TOOLBAR 59392
#define ID_VIEW_STATUS_BAR 59393
#define ID_VIEW_CLASSPANE 32890
#define ID_VIEW_REMARKPANE 32935
#define ID_VIEW_DRAGWINDOW 32960
#define ID_VIEW_CUSTOMIZE 32785
#define ID_TOOLS_OPTIONS 32790
#define ID_TOOLS_HOMEPAGE_GROUP 32800
#define ID_TOOLS_RANDOM_OPEN 32940
#define ID_EDIT_FIND 32985
#define ID_TOOLS_FIND_DUPLICATES 32990
#define ID_TOOLS_BACKUP 32880
#define ID_HELP_BLOG 32955
// The language packs' submenu: one command per pack from here on.
#define ID_LANGUAGE_FIRST 8888
#define ID_LANGUAGE_LAST 8988

// Version resource
#define VER_FILEVERSION 1, 0, 0, 0
#define VER_FILEVERSION_TEXT "1.0.0.0"

// The editing dialogs and the category icons.
#include "dialogs_res.h"
// The context menus and their commands.
#include "classtree_res.h"
// The import/export wizard.
#include "wizard_res.h"
// The settings dialog.
#include "settings_res.h"
