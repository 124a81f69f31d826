#include "option_values.h"

#include "setting.h"

#include <algorithm>
#include <cctype>
#include <cstdio>

namespace settings {

GeneralValues ReadGeneral(const CSetting& s) {
    return {s.General_AutoRun != 0, s.General_AutoRunMinToTry != 0, s.General_CheckVerMode};
}

void WriteGeneral(const GeneralValues& v, CSetting& s) {
    s.General_AutoRun = v.autoRun ? 1 : 0;
    s.General_AutoRunMinToTry = v.autoRunHidden ? 1 : 0;
    s.General_CheckVerMode = v.checkVersionMode;
}

InterfaceValues ReadInterface(const CSetting& s) {
    return {s.Other_CloseToTray != 0, s.GUI_BookmarkCol1Show != 0, s.GUI_BookmarkViewFullRowSel != 0,
            s.GUI_BoolmarkViewShowLine != 0};
}

void WriteInterface(const InterfaceValues& v, CSetting& s) {
    s.Other_CloseToTray = v.closeToTray ? 1 : 0;
    s.GUI_BookmarkCol1Show = v.urlColumn ? 1 : 0;
    s.GUI_BookmarkViewFullRowSel = v.fullRowSelect ? 1 : 0;
    s.GUI_BoolmarkViewShowLine = v.gridLines ? 1 : 0;
}

MiscValues ReadMisc(const CSetting& s) {
    return {s.Other_PromptWhenDelClass != 0, s.Other_PromptWhenDelBookmark != 0, s.Other_DisplayAddBookmarkDlg != 0,
            s.Other_RandOpenCount, s.Other_IEToolbarButton != 0};
}

void WriteMisc(const MiscValues& v, CSetting& s) {
    s.Other_PromptWhenDelClass = v.promptDeleteClass ? 1 : 0;
    s.Other_PromptWhenDelBookmark = v.promptDeleteBookmark ? 1 : 0;
    s.Other_DisplayAddBookmarkDlg = v.addBookmarkDialog ? 1 : 0;
    s.Other_RandOpenCount = v.randomOpenCount;
    s.Other_IEToolbarButton = v.toolbarButton ? 1 : 0;
}

CheckVersionTexts BuiltinCheckVersionTexts() { return {"不检查", "每次启动检查", "每天检查一次"}; }

std::string CheckVersionText(std::int32_t mode, const CheckVersionTexts& texts) {
    if (mode < 0 || mode >= static_cast<std::int32_t>(texts.size())) return {};
    return texts[static_cast<std::size_t>(mode)];
}

std::optional<std::int32_t> CheckVersionMode(std::string_view text, const CheckVersionTexts& texts) {
    for (std::size_t i = 0; i < texts.size(); ++i) {
        if (texts[i] == text) return static_cast<std::int32_t>(i);
    }
    return std::nullopt;
}

std::string FormatRandomOpenCount(std::int32_t count) {
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%d", static_cast<int>(count));
    return buffer;
}

std::int32_t ParseRandomOpenCount(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && std::isspace(static_cast<unsigned char>(text[i]))) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    std::int64_t value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        value = std::min<std::int64_t>(value * 10 + (text[i] - '0'), kMaxRandomOpenCount + 1);
    }
    if (negative) return 0;
    return static_cast<std::int32_t>(std::min<std::int64_t>(value, kMaxRandomOpenCount));
}

std::int32_t RandomOpenCountAfterEdit(std::int32_t stored, std::string_view text) {
    return text == FormatRandomOpenCount(stored) ? stored : ParseRandomOpenCount(text);
}

}  // namespace settings
