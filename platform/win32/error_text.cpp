#include "platform/error_text.h"

#include <windows.h>

#include <cstring>

namespace platform {

std::string FileErrorText(int errnoValue) {
    const DWORD code = ::GetLastError();
    if (code != ERROR_SUCCESS) {
        char text[512] = {};
        DWORD n = ::FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code, 0, text,
                                   sizeof text, nullptr);
        while (n > 0 && (text[n - 1] == '\r' || text[n - 1] == '\n' || text[n - 1] == ' ')) text[--n] = 0;
        if (n > 0) return text;
    }
    return std::strerror(errnoValue);
}

}  // namespace platform
