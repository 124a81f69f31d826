#include "url_opener.h"

#include <objbase.h>
#include <shellapi.h>

#include <thread>

namespace integration {

namespace {

// Registry values of the fallback are read into buffers of this size.
constexpr DWORD kValueBufferSize = 520;

// The default value of HKEY_CLASSES_ROOT\`key` as text, by the length the
// registry reports (a value need not end in a zero). False when it cannot be
// read or does not fit.
bool ReadClassesDefault(const std::string& key, std::string& value) {
    HKEY handle = nullptr;
    if (::RegOpenKeyExA(HKEY_CLASSES_ROOT, key.c_str(), 0, KEY_QUERY_VALUE, &handle) != ERROR_SUCCESS) return false;
    char buffer[kValueBufferSize];
    DWORD size = sizeof buffer;
    DWORD type = 0;
    const LONG result = ::RegQueryValueExA(handle, nullptr, nullptr, &type, reinterpret_cast<BYTE*>(buffer), &size);
    ::RegCloseKey(handle);
    if (result != ERROR_SUCCESS || (type != REG_SZ && type != REG_EXPAND_SZ) || size > sizeof buffer) return false;
    value.assign(buffer, size);
    if (const std::size_t zero = value.find('\0'); zero != std::string::npos) value.resize(zero);
    return true;
}

}  // namespace

INT_PTR OpenUrl(const std::string& address, int showCommand) {
    if (address.empty()) return 0;
    const auto shell = reinterpret_cast<INT_PTR>(
        ::ShellExecuteA(nullptr, "open", address.c_str(), nullptr, nullptr, showCommand));
    if (shell > 32) return shell;

    std::string pageClass;
    if (!ReadClassesDefault(".htm", pageClass) || pageClass.empty()) return shell;
    std::string command;
    if (!ReadClassesDefault(pageClass + "\\shell\\open\\command", command) || command.empty()) return shell;
    const std::string line = BrowserCommandLine(command, address);
    return static_cast<INT_PTR>(::WinExec(line.c_str(), static_cast<UINT>(showCommand)));
}

bool StartOpener(AddressList addresses, std::shared_ptr<const std::atomic<bool>> stop) {
    if (!stop) return false;
    try {
        std::thread opener([list = std::move(addresses), stop = std::move(stop)] {
            try {
                // The shell may hand an address to a handler that needs COM.
                const HRESULT com = ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
                OpenerActions actions;
                actions.open = [](const std::string& address) { OpenUrl(address, SW_SHOWNORMAL); };
                actions.sleep = [](unsigned ms) { ::Sleep(ms); };
                RunOpenerList(list, *stop, actions);
                if (SUCCEEDED(com)) ::CoUninitialize();
            } catch (...) {
                // Nothing to report: an opener that fails simply ends.
            }
        });
        opener.detach();
        return true;
    } catch (...) {
        return false;  // no thread: the list goes with this frame
    }
}

}  // namespace integration
