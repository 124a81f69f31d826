#include "framework/data_exchange.h"

#include "framework/message_box.h"

#include <vector>

namespace framework {

bool CDataExchange::Text(int id, std::string& value) {
    if (Failed()) return false;
    HWND control = ::GetDlgItem(dialog_, id);
    if (!control) return Fail(id);
    if (!save_) return ::SetWindowTextA(control, value.c_str()) ? true : Fail(id);

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
