#include "shortcut_file.h"

#include "platform/incoming_text.h"
#include "shortcut_text.h"
#include "transfer_file_system.h"

#include <windows.h>
#include <ole2.h>
#include <intshcut.h>
#include <isguids.h>

namespace transfer {
namespace {

// A COM pointer released once.
template <class T>
class ComPtr {
public:
    ComPtr() = default;
    ~ComPtr() {
        if (p_) p_->Release();
    }
    ComPtr(const ComPtr&) = delete;
    ComPtr& operator=(const ComPtr&) = delete;
    T** Out() { return &p_; }
    void** OutVoid() { return reinterpret_cast<void**>(&p_); }
    T* operator->() const { return p_; }
    explicit operator bool() const { return p_ != nullptr; }

private:
    T* p_ = nullptr;
};

std::wstring Convert(UINT codePage, const std::string& text) {
    if (text.empty()) return {};
    const int length = ::MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    if (length <= 0) return {};
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    ::MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), wide.data(), length);
    return wide;
}

std::string Convert(UINT codePage, const std::wstring& text) {
    if (text.empty()) return {};
    const int length = ::WideCharToMultiByte(codePage, 0, text.data(), static_cast<int>(text.size()), nullptr, 0,
                                             nullptr, nullptr);
    if (length <= 0) return {};
    std::string narrow(static_cast<std::size_t>(length), '\0');
    ::WideCharToMultiByte(codePage, 0, text.data(), static_cast<int>(text.size()), narrow.data(), length, nullptr,
                          nullptr);
    return narrow;
}

bool CreateShortcutObject(ComPtr<IUniformResourceLocatorA>& locator) {
    return SUCCEEDED(::CoCreateInstance(CLSID_InternetShortcut, nullptr, CLSCTX_INPROC_SERVER,
                                        IID_IUniformResourceLocatorA, locator.OutVoid()));
}

// The bytes of a file of at most kMaxShortcutSize.
bool ReadSmallFile(const std::wstring& path, std::string& bytes) {
    HANDLE file = ::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    bytes.resize(static_cast<std::size_t>(kMaxShortcutSize));
    DWORD read = 0;
    const bool ok = ::ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr) != FALSE;
    ::CloseHandle(file);
    bytes.resize(ok ? read : 0);
    return ok;
}

constexpr wchar_t kTemporarySuffix[] = L".quorva-new";

// Whether the object can take the path whole (it cuts longer ones).
bool FitsShortcutObject(const std::wstring& path) { return path.size() < MAX_PATH; }

}  // namespace

std::wstring WideFromAnsi(const std::string& text) { return Convert(CP_ACP, text); }
std::wstring WideFromUtf8(const std::string& text) { return Convert(CP_UTF8, text); }
std::string Utf8FromWide(const std::wstring& text) { return Convert(CP_UTF8, text); }
std::string AnsiFromWide(const std::wstring& text) { return Convert(CP_ACP, text); }

std::wstring LongPath(const std::wstring& path) {
    if (path.size() < MAX_PATH - 12 || path.compare(0, 4, L"\\\\?\\") == 0) return path;
    std::wstring full = path;
    const DWORD needed = ::GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
    if (needed > 0) {
        std::wstring buffer(needed, L'\0');
        const DWORD written = ::GetFullPathNameW(path.c_str(), needed, buffer.data(), nullptr);
        if (written > 0 && written < needed) full.assign(buffer.data(), written);
    }
    if (full.compare(0, 2, L"\\\\") == 0) return L"\\\\?\\UNC\\" + full.substr(2);
    if (full.size() >= 3 && full[1] == L':' && full[2] == L'\\') return L"\\\\?\\" + full;
    return path;
}

std::string ReadShortcutUrl(const std::wstring& file) {
    // The object keeps file names in buffers of MAX_PATH units: a longer
    // name would be opened cut short, so such a file is not handed to it.
    if (!FitsShortcutObject(file)) return {};
    const std::wstring& path = file;
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!::GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data) ||
        (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
        return {};
    }
    const std::uint64_t size = (static_cast<std::uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    if (size > kMaxShortcutSize) return {};

    // The whole address when the file holds it in Unicode beside the form
    // of the code page.
    std::string text;
    if (ReadSmallFile(path, text)) {
        const std::u16string unicode = UnicodeUrlOfShortcutText(text);
        if (!unicode.empty()) return platform::AddressFromUtf16(unicode);
    }

    // A fresh object for every file: one that failed to load keeps the URL
    // of the file it loaded before.
    ComPtr<IUniformResourceLocatorW> locator;
    if (FAILED(::CoCreateInstance(CLSID_InternetShortcut, nullptr, CLSCTX_INPROC_SERVER, IID_IUniformResourceLocatorW,
                                  locator.OutVoid()))) {
        return {};
    }
    ComPtr<IPersistFile> persist;
    if (FAILED(locator->QueryInterface(IID_IPersistFile, persist.OutVoid()))) return {};
    if (FAILED(persist->Load(path.c_str(), STGM_READ))) return {};
    wchar_t* address = nullptr;
    // S_FALSE with no text means the file holds no URL.
    const HRESULT got = locator->GetURL(&address);
    std::string url;
    if (got == S_OK && address) url = platform::AddressFromUtf16(reinterpret_cast<const char16_t*>(address));
    if (address) ::CoTaskMemFree(address);
    return url;
}

std::string ReadShortcutUrl(const std::string& ansiFile) { return ReadShortcutUrl(WideFromAnsi(ansiFile)); }

bool WriteShortcut(const std::string& url, const std::wstring& file) {
    if (!FitsShortcutObject(file + kTemporarySuffix)) return false;
    ComPtr<IUniformResourceLocatorA> locator;
    if (!CreateShortcutObject(locator)) return false;
    if (FAILED(locator->SetURL(url.c_str(), IURL_SETURL_FL_GUESS_PROTOCOL))) return false;
    ComPtr<IPersistFile> persist;
    if (FAILED(locator->QueryInterface(IID_IPersistFile, persist.OutVoid()))) return false;
    const std::wstring& target = file;
    const std::wstring temporary = file + kTemporarySuffix;
    if (FAILED(persist->Save(temporary.c_str(), TRUE))) {
        ::DeleteFileW(temporary.c_str());
        return false;
    }
    if (!::MoveFileExW(temporary.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        ::DeleteFileW(temporary.c_str());
        return false;
    }
    return true;
}

}  // namespace transfer
