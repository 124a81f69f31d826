// Ids of the context menus and of the commands they offer.
#pragma once

// Context menus, one popup each: "Normal_Tree", "Normal_List", "List_Head",
// "DropDown", "DragWindow".
#define IDR_CONTEXT_MENUS 134

// Category commands
#define ID_CLASS_ADD 32770
#define ID_CLASS_ADDSUB 32775
#define ID_CLASS_DELETE 32795
#define ID_CLASS_EDIT 32820
#define ID_CLASS_MOVEUP 32845
#define ID_CLASS_MOVEDOWN 32850
#define ID_CLASS_MOVETO 32965
#define ID_FILE_IMPORT 32910
#define ID_FILE_EXPORT 32915

// Bookmark commands
#define ID_BOOKMARK_ADD 32805
#define ID_BOOKMARK_DELETE 32815
#define ID_BOOKMARK_EDIT 32825
#define ID_BOOKMARK_MOVEDOWN 32860
#define ID_BOOKMARK_MOVEUP 32885
#define ID_BOOKMARK_TO_HOMEPAGE 32980
#define ID_BOOKMARK_SELECTALL 32905
#define ID_BOOKMARK_OPEN 32995
#define ID_LIST_COLUMN_TITLE 32865
#define ID_LIST_COLUMN_URL 32875

// Floating drop window
#define ID_DRAGWINDOW_HIDE 32975
