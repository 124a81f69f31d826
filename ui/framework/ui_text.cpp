#include "framework/ui_text.h"

#include "language.h"

namespace framework {

std::string UiText(std::string_view section, std::string_view key, std::string_view builtin) {
    return CLanguage::Instance()->GetText(section, key, builtin);
}

void TranslateDialog(HWND dialog, std::string_view section) {
    CLanguage::Instance()->TranslateWindow(dialog, section);
}

}  // namespace framework
