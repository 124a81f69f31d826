#include "framework/data_exchange.h"

#include "framework/message_box.h"
#include "framework/unicode_edit.h"
#include "platform/incoming_text.h"

#include <vector>

namespace framework {

bool CDataExchange::Text(int id, std::string& value) { return Exchange(id, value, Kind::kText); }
bool CDataExchange::Address(int id, std::string& value) { return Exchange(id, value, Kind::kAddress); }

bool CDataExchange::Exchange(int id, std::string& value, Kind kind) {
    if (Failed()) return false;
    HWND control = ::GetDlgItem(dialog_, id);
    if (!control) return Fail(id);
    if (!save_) return ::SetWindowTextA(control, value.c_str()) ? true : Fail(id);
    if (::IsWindowUnicode(control)) {
        const std::u16string text = WindowTextUtf16(control);
        value = kind == Kind::kAddress ? platform::AddressFromUtf16(text) : platform::RemarkFromUtf16(text);
        return true;
    }

    const int length = ::GetWindowTextLengthA(control);
    if (length < 0) return Fail(id);
    std::vector<char> buffer(static_cast<std::size_t>(length) + 1);
    const int copied = length ? ::GetWindowTextA(control, buffer.data(), length + 1) : 0;
    value.assign(buffer.data(), static_cast<std::size_t>(copied > 0 ? copied : 0));
    return true;
}

bool CDataExchange::Fail(int id) {
    failed_ = true;
    failedId_ = id;
    ShowExchangeError(dialog_, id);
    return false;
}

}  // namespace framework
