#include "framework/ui_text.h"

#include "language.h"

#include <vector>

namespace framework {

std::string UiText(std::string_view section, std::string_view key, std::string_view builtin) {
    return CLanguage::Instance()->GetText(section, key, builtin);
}

void TranslateDialog(HWND dialog, std::string_view section) {
    CLanguage::Instance()->TranslateWindow(dialog, section);
}

std::string WindowTextOf(HWND window) {
    if (!window) return {};
    const int length = ::GetWindowTextLengthA(window);
    if (length <= 0) return {};
    std::vector<char> buffer(static_cast<std::size_t>(length) + 1);
    const int copied = ::GetWindowTextA(window, buffer.data(), length + 1);
    return std::string(buffer.data(), static_cast<std::size_t>(copied > 0 ? copied : 0));
}

}  // namespace framework
