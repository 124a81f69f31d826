// Ids of the main window's own dialogs and their controls.
#pragma once

// The question when the bookmark file cannot be saved at closing time.
#define IDD_SAVEFAILED 300
#define IDC_SAVEFAILED_TEXT 1100
#define IDC_SAVE_ELSEWHERE 1101
#define IDC_LOSE_CHANGES 1102
#define IDC_SAVEFAILED_ICON 1103
