#include "framework/tool_tip_text.h"

#include "ini_file.h"

#include <algorithm>

namespace framework {

bool IsToolTipTextRequest(const NMHDR& header) {
    return header.code == TTN_GETDISPINFOA || header.code == TTN_GETDISPINFOW;
}

void FillToolTipText(const NMHDR& header, const std::string& text) {
    if (header.code == TTN_GETDISPINFOA) {
        auto& info = const_cast<NMTTDISPINFOA&>(reinterpret_cast<const NMTTDISPINFOA&>(header));
        std::string cut = text;
        ini_text::CutToBytes(cut, sizeof info.szText - 1);
        const std::size_t length = cut.size();
        cut.copy(info.szText, length);
        info.szText[length] = '\0';
        info.lpszText = info.szText;
        info.hinst = nullptr;
        return;
    }
    if (header.code != TTN_GETDISPINFOW) return;
    auto& info = const_cast<NMTTDISPINFOW&>(reinterpret_cast<const NMTTDISPINFOW&>(header));
    std::wstring wide;
    const int needed = ::MultiByteToWideChar(CP_ACP, 0, text.c_str(), static_cast<int>(text.size()), nullptr, 0);
    if (needed > 0) {
        wide.resize(static_cast<std::size_t>(needed));
        ::MultiByteToWideChar(CP_ACP, 0, text.c_str(), static_cast<int>(text.size()), wide.data(), needed);
    }
    const std::size_t room = sizeof info.szText / sizeof info.szText[0] - 1;
    std::size_t length = std::min(wide.size(), room);
    // Never half a surrogate pair.
    if (length < wide.size() && length > 0 && wide[length - 1] >= 0xD800 && wide[length - 1] <= 0xDBFF) --length;
    wide.copy(info.szText, length);
    info.szText[length] = L'\0';
    info.lpszText = info.szText;
    info.hinst = nullptr;
}

}  // namespace framework
