// The status bar's line about the highlighted menu item and the tool tips
// that reach the main window: both from the language pack's [message]
// section, keyed by the command id ("prompt\ntool tip").
#include "mainframe/main_frame.h"

#include "framework/tool_tip_text.h"
#include "framework/ui_text.h"
#include "toolbar/skin_toolbar.h"

#include <commctrl.h>

#include <string>

namespace {

// System commands and a few others share the prompts of one id each.
UINT PromptIdOf(UINT id) {
    if (id >= 0xF000 && id < 0xF1F0) return (id - 0xF000) / 16 + 0xEF00;
    if (id >= 0xE110 && id <= 0xE11F) return 0xEFDA;
    if (id > 0xFEFF) return 0xEF1F;
    return id;
}

std::string MessageText(UINT id) { return framework::UiText("message", std::to_string(id), ""); }

}  // namespace

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
    if (!(flags & MF_POPUP) && !(flags & MF_SEPARATOR)) {
        const std::string text = MessageText(PromptIdOf(item));
        const std::size_t cut = text.find('\n');
        if (cut != std::string::npos) prompt = text.substr(0, cut);
    }
    ::SendMessageA(bar, SB_SIMPLE, TRUE, 0);
    ::SendMessageA(bar, SB_SETTEXTA, SB_SIMPLEID | SBT_NOBORDERS, reinterpret_cast<LPARAM>(prompt.c_str()));
}

bool CMainFrame::OnNotify(const NMHDR& header, LRESULT& result) {
    if (toolbar_ && toolbar_->OnNotify(header, result)) return true;
    if (framework::IsToolTipTextRequest(header) && header.idFrom <= 0xFFFF) {
        const std::string text = MessageText(static_cast<UINT>(header.idFrom));
        const std::size_t cut = text.find('\n');
        framework::FillToolTipText(header, cut == std::string::npos ? std::string() : text.substr(cut + 1));
        result = 0;
        return true;
    }
    return false;
}
