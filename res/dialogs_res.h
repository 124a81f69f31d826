// Ids of the editing dialogs, their controls and the category icons.
#pragma once

// Dialogs
#define IDD_ABOUT 100
#define IDD_ADDCLASS 162
#define IDD_ADDHOMEPAGE 163
#define IDD_REPLACE 202
#define IDD_SELECTCLASS 209
#define IDD_MOVECLASSTO 210
#define IDD_ADDBOOKMARK 217

// Category icons of the tree views: closed and selected (open) folder
#define IDI_CLASS 204
#define IDI_CLASS_OPEN 205

// Controls. The same number serves different controls in different dialogs.
#define IDC_CLASS_NAME_LABEL 1000  // category: "书签类别:" / "书签子类别:"
#define IDC_REPLACE_ALL 1001
#define IDC_TITLE_EDIT 1003        // bookmark, homepage item: title; category: name
#define IDC_NAME_EDIT 1003
#define IDC_REMARK_EDIT 1004       // bookmark
#define IDC_REPLACE_NONE 1004
#define IDC_DIALOG_TAB 1005        // bookmark, category, homepage item
#define IDC_HOMEPAGE_LINK 1005     // about
#define IDC_REPLACE_YES 1006
#define IDC_REPLACE_NO 1007
#define IDC_REPLACE_NAME 1008
#define IDC_REPLACE_OLD_URL 1009
#define IDC_REPLACE_NEW_URL 1010
#define IDC_BROWSE_CLASS 1010      // bookmark
#define IDC_URL_EDIT 1011          // bookmark, homepage item
#define IDC_AS_SIBLING 1011        // move to
#define IDC_AS_CHILD 1012          // move to
#define IDC_CLASS_TREE 1013        // select category, move to
#define IDC_CLASS_NAME 1016        // bookmark: the category's name
#define IDC_TOP_LEVEL 1024         // select category
#define IDC_VERSION 1026           // about
#define IDC_TITLE_LABEL 1028
#define IDC_URL_LABEL 1029
#define IDC_REMARK_LABEL 1030
#define IDC_CLASS_LABEL 1031
#define IDC_REPLACE_EXISTS_LABEL 1032
#define IDC_REPLACE_OLD_LABEL 1033
#define IDC_REPLACE_NEW_LABEL 1034
// Pictures; ids of their own so that no translation ever reaches them.
#define IDC_DIALOG_ICON 1050
#define IDC_DIALOG_ICON2 1051
