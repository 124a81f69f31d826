// Moving values between a dialog's controls and its fields. A control that
// cannot take or give its text gets the exchange-failure message and the
// focus; the rest of that exchange is skipped.
#pragma once

#include <windows.h>

#include <string>

namespace framework {

class CDataExchange {
public:
    // `save`: read the controls into the fields; otherwise fill the controls.
    CDataExchange(HWND dialog, bool save) : dialog_(dialog), save_(save) {}

    // Exchanges the whole text of control `id` with `value`. False when it
    // failed now or an earlier exchange failed.
    // A Unicode control's text (framework/unicode_edit.h) is read with the
    // rules for text from outside: what the code page lacks shows as a
    // full-width question mark.
    bool Text(int id, std::string& value);
    // The same for an address: what the code page lacks is percent-encoded.
    bool Address(int id, std::string& value);

    bool Failed() const { return failed_; }
    int FailedId() const { return failedId_; }

private:
    enum class Kind { kText, kAddress };
    bool Exchange(int id, std::string& value, Kind kind);
    bool Fail(int id);

    HWND dialog_;
    bool save_;
    bool failed_ = false;
    int failedId_ = 0;
};

}  // namespace framework
