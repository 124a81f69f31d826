// Answers a tool tip's request for its text (TTN_GETDISPINFO, byte or wide
// form) with `text`, cut to the record's own buffer of 80 characters: the
// byte form between characters, the wide form after converting from the
// ANSI code page.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <string>

namespace framework {

bool IsToolTipTextRequest(const NMHDR& header);
void FillToolTipText(const NMHDR& header, const std::string& text);

}  // namespace framework
