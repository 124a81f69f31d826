// Ids of the settings dialog, its pages, their controls and pictures.
#pragma once

#define IDD_OPTIONS 101
#define IDD_OPTIONS_GENERAL 138
#define IDD_OPTIONS_INTERFACE 211
#define IDD_OPTIONS_HOMEPAGE 212
#define IDD_OPTIONS_MISC 215

// The option trees' pictures: twelve 16 x 16 images (check boxes, radio
// buttons, their disabled forms, the group folder).
#define IDB_OPTION_IMAGES 236
// The page tree's pictures: seven 16 x 16 images.
#define IDB_OPTION_PAGES 1004

// The dialog
#define IDC_OPTIONS_PLACEHOLDER 1002
#define IDC_OPTIONS_DEFAULTS 1004
#define IDC_OPTIONS_BANNER 1007
#define IDC_OPTIONS_SEPARATOR 1100
// The page tree of the dialog and the one control of each page
#define IDC_OPTIONS_TREE 1013
// The homepage page
#define IDC_HOMEPAGE_DELETE 1000
#define IDC_HOMEPAGE_ADD 1001
#define IDC_HOMEPAGE_EDIT 1002
#define IDC_HOMEPAGE_HINT 1035
