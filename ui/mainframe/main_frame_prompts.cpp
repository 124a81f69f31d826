// The status bar's line about the highlighted menu item and the tool tips
// that reach the main window: both from the language pack's [message]
// section, keyed by the command id ("prompt\ntool tip").
#include "mainframe/main_frame.h"

#include "framework/tool_tip_text.h"
#include "language.h"
#include "language_prompts.h"

#include <commctrl.h>

#include <string>

void CMainFrame::OnMenuSelect(WPARAM wParam, LPARAM lParam) {
    const UINT item = LOWORD(wParam);
    const UINT flags = HIWORD(wParam);
    HMENU menu = reinterpret_cast<HMENU>(lParam);
    menuBar_.OnMenuSelect(menu, flags);
    HWND bar = statusBar_.Hwnd();
    if (!bar) return;
    if (flags == 0xFFFF && !menu) {
        ::SendMessageA(bar, SB_SIMPLE, FALSE, 0);
        return;
    }
    std::string prompt;
    if (!(flags & MF_POPUP) && !(flags & MF_SEPARATOR)) prompt = MenuPrompt(*CLanguage::Instance(), item);
    ::SendMessageA(bar, SB_SIMPLE, TRUE, 0);
    ::SendMessageA(bar, SB_SETTEXTA, SB_SIMPLEID | SBT_NOBORDERS, reinterpret_cast<LPARAM>(prompt.c_str()));
}

// The toolbar answers its own notifications before they get here.
bool CMainFrame::OnNotify(const NMHDR& header, LRESULT& result) {
    if (framework::IsToolTipTextRequest(header) && header.idFrom <= 0xFFFF) {
        framework::FillToolTipText(header, CommandToolTip(*CLanguage::Instance(), static_cast<unsigned>(header.idFrom)));
        result = 0;
        return true;
    }
    return false;
}
