// The values the settings dialog edits, kept apart from CSetting while the
// dialog is open: each page reads its share when it is built and writes it
// back when the dialog is left with OK. Also the texts of the value items.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "opening_rules.h"

class CSetting;

namespace settings {

using integration::kMaxRandomOpenCount;

// Page "常规设置".
struct GeneralValues {
    bool autoRun = false;
    bool autoRunHidden = false;
    std::int32_t checkVersionMode = 0;
};

// Page "用户界面".
struct InterfaceValues {
    bool closeToTray = false;
    bool urlColumn = false;
    bool fullRowSelect = false;
    bool gridLines = false;
};

// Page "杂项".
struct MiscValues {
    bool promptDeleteClass = false;
    bool promptDeleteBookmark = false;
    bool addBookmarkDialog = false;  // else links go into the category at once
    std::int32_t randomOpenCount = 0;
    bool toolbarButton = false;
};

GeneralValues ReadGeneral(const CSetting& setting);
void WriteGeneral(const GeneralValues& values, CSetting& setting);
InterfaceValues ReadInterface(const CSetting& setting);
void WriteInterface(const InterfaceValues& values, CSetting& setting);
MiscValues ReadMisc(const CSetting& setting);
void WriteMisc(const MiscValues& values, CSetting& setting);

// The new-version check's three choices in the order of their modes
// (never, at every start, once a day), as the language pack words them.
using CheckVersionTexts = std::array<std::string, 3>;
CheckVersionTexts BuiltinCheckVersionTexts();
// The text of `mode`; empty for a mode outside the three.
std::string CheckVersionText(std::int32_t mode, const CheckVersionTexts& texts);
// The mode whose text `text` is (the first that matches); none when it is
// none of them.
std::optional<std::int32_t> CheckVersionMode(std::string_view text, const CheckVersionTexts& texts);

// The random-open count as the edit shows it: signed decimal.
std::string FormatRandomOpenCount(std::int32_t count);
// The count typed: read like atoi (leading blanks, a sign, the digits up to
// the first other character; no digits give 0), then kept between 0 and
// kMaxRandomOpenCount.
std::int32_t ParseRandomOpenCount(std::string_view text);

// The count the page keeps: the stored one while the text shown for it is
// untouched (a count stored above the limit stays as it is until the user
// edits it), else the text read as above.
std::int32_t RandomOpenCountAfterEdit(std::int32_t stored, std::string_view text);

}  // namespace settings
