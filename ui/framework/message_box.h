// Message boxes of the program: the text comes from the language packs, the
// caption from section "common" with the icon that goes with it.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

namespace framework {

enum class BoxKind {
    kWarning,  // caption "warning" (警告), warning icon
    kHint,     // caption "hint" (提示), information icon
    kError,    // caption "error" (错误), stop icon
    kPlain,    // empty caption, no icon
};

// Shows `text`; `buttons` may add an icon of its own (a question mark), which
// then replaces the kind's. Returns the pressed button's id.
int ShowMessageBox(HWND owner, const std::string& text, BoxKind kind, UINT buttons = MB_OK);

// Shows the text [section] key (the built-in text without a pack).
int ShowMessage(HWND owner, std::string_view section, std::string_view key, std::string_view builtin,
                BoxKind kind, UINT buttons = MB_OK);

// `pattern` with every "%u" replaced by `id` and "%%" by "%"; anything else,
// other conversions included, is kept as written (the text may come from a
// language pack, so it is never handed to a printf).
std::string FormatControlId(std::string_view pattern, unsigned id);

// The exchange-failure message for control `id` of `dialog` ("common",
// "ddxerror", warning), then the focus goes to that control.
void ShowExchangeError(HWND dialog, int id);

}  // namespace framework
