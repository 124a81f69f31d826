#include "framework/message_box.h"

#include "framework/ui_text.h"

namespace framework {
namespace {

constexpr std::string_view kCommon = "common";

}  // namespace

int ShowMessageBox(HWND owner, const std::string& text, BoxKind kind, UINT buttons) {
    std::string caption;
    UINT icon = 0;
    switch (kind) {
        case BoxKind::kWarning:
            caption = UiText(kCommon, "warning", "警告");
            icon = MB_ICONWARNING;
            break;
        case BoxKind::kHint:
            caption = UiText(kCommon, "hint", "提示");
            icon = MB_ICONINFORMATION;
            break;
        case BoxKind::kError:
            caption = UiText(kCommon, "error", "错误");
            icon = MB_ICONERROR;
            break;
        case BoxKind::kPlain:
            break;
    }
    if (buttons & MB_ICONMASK) icon = 0;
    return ::MessageBoxA(owner, text.c_str(), caption.c_str(), buttons | icon);
}

int ShowMessage(HWND owner, std::string_view section, std::string_view key, std::string_view builtin,
                BoxKind kind, UINT buttons) {
    return ShowMessageBox(owner, UiText(section, key, builtin), kind, buttons);
}

std::string FormatControlId(std::string_view pattern, unsigned id) {
    std::string out;
    out.reserve(pattern.size() + 10);
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        if (pattern[i] == '%' && i + 1 < pattern.size()) {
            if (pattern[i + 1] == 'u') {
                out += std::to_string(id);
                ++i;
                continue;
            }
            if (pattern[i + 1] == '%') {
                out += '%';
                ++i;
                continue;
            }
        }
        out += pattern[i];
    }
    return out;
}

void ShowExchangeError(HWND dialog, int id) {
    const std::string pattern = UiText(kCommon, "ddxerror", "DDX error during exchange with control: %u");
    ShowMessageBox(dialog, FormatControlId(pattern, static_cast<unsigned>(id)), BoxKind::kWarning);
    if (HWND control = ::GetDlgItem(dialog, id)) ::SetFocus(control);
}

}  // namespace framework
