#include "win32_file_system.h"

#include "platform/incoming_text.h"
#include "shortcut_file.h"

#include <windows.h>
#include <objbase.h>
#include <shlobj.h>

#include <algorithm>
#include <memory>

namespace transfer {
namespace {

std::wstring Wide(const std::string& native) { return LongPath(WideFromUtf8(native)); }

// A name in the ANSI code page; a character it cannot hold becomes '?'
// (which the titles then filter), never a byte sequence of another meaning.
std::string Ansi(const std::wstring& text) { return AnsiFromWide(text); }

struct FindCloser {
    void operator()(HANDLE find) const { ::FindClose(find); }
};

}  // namespace

void CWin32FileSystem::BeginThread() {
    const HRESULT result = ::CoInitialize(nullptr);
    comStarted_ = SUCCEEDED(result);
}

void CWin32FileSystem::EndThread() {
    if (comStarted_) ::CoUninitialize();
    comStarted_ = false;
}

std::string CWin32FileSystem::NativePath(const std::string& ansiPath) const {
    return Utf8FromWide(WideFromAnsi(ansiPath));
}

std::string CWin32FileSystem::AnsiText(const std::string& native) const { return Ansi(WideFromUtf8(native)); }

bool CWin32FileSystem::ListFolder(const std::string& folder, std::vector<TransferEntry>& entries) {
    entries.clear();
    const std::wstring pattern = Wide(folder + "*");
    WIN32_FIND_DATAW data;
    HANDLE handle = ::FindFirstFileExW(pattern.c_str(), FindExInfoBasic, &data, FindExSearchNameMatch, nullptr,
                                       FIND_FIRST_EX_LARGE_FETCH);
    if (handle == INVALID_HANDLE_VALUE) {
        return ::GetLastError() == ERROR_FILE_NOT_FOUND && KindOf(folder) == PathKind::kFolder;
    }
    std::unique_ptr<void, FindCloser> find(handle);
    do {
        const std::wstring name = data.cFileName;
        if (name == L"." || name == L"..") continue;
        TransferEntry entry;
        entry.name = Utf8FromWide(name);
        entry.ansiName = platform::NameFromUtf16(std::u16string_view(reinterpret_cast<const char16_t*>(name.data()),
                                                                    name.size()));
        entry.isFolder = (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
        entry.isLink = (data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
        entry.size = (static_cast<std::uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
        entries.push_back(std::move(entry));
    } while (::FindNextFileW(handle, &data));
    return true;
}

bool CWin32FileSystem::FolderIdentity(const std::string& folder, FolderId& id) {
    HANDLE handle = ::CreateFileW(Wide(folder).c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                  nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (handle == INVALID_HANDLE_VALUE) return false;
    BY_HANDLE_FILE_INFORMATION info{};
    const bool ok = ::GetFileInformationByHandle(handle, &info) != FALSE;
    ::CloseHandle(handle);
    if (!ok) return false;
    id.volume = info.dwVolumeSerialNumber;
    id.index = (static_cast<std::uint64_t>(info.nFileIndexHigh) << 32) | info.nFileIndexLow;
    return true;
}

PathKind CWin32FileSystem::KindOf(const std::string& path) {
    const DWORD attributes = ::GetFileAttributesW(Wide(path).c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return PathKind::kNone;
    return (attributes & FILE_ATTRIBUTE_DIRECTORY) ? PathKind::kFolder : PathKind::kFile;
}

bool CWin32FileSystem::CreateFolder(const std::string& path) {
    return ::CreateDirectoryW(Wide(path).c_str(), nullptr) != FALSE;
}

bool CWin32FileSystem::ReadFile(const std::string& path, std::string& data) {
    data.clear();
    HANDLE file = ::CreateFileW(Wide(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    LARGE_INTEGER size{};
    bool ok = ::GetFileSizeEx(file, &size) && size.QuadPart >= 0 &&
              static_cast<std::uint64_t>(size.QuadPart) < (std::uint64_t{1} << 31);
    if (ok) {
        try {
            data.resize(static_cast<std::size_t>(size.QuadPart));
        } catch (...) {
            ok = false;
        }
    }
    std::size_t got = 0;
    while (ok && got < data.size()) {
        DWORD read = 0;
        const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(data.size() - got, 1 << 24));
        if (!::ReadFile(file, data.data() + got, chunk, &read, nullptr) || read == 0) break;
        got += read;
    }
    ::CloseHandle(file);
    data.resize(got);
    return ok;
}

std::string CWin32FileSystem::ReadShortcutUrl(const std::string& file) {
    return transfer::ReadShortcutUrl(WideFromUtf8(file));
}

bool CWin32FileSystem::WriteShortcut(const std::string& url, const std::string& file) {
    return transfer::WriteShortcut(url, WideFromUtf8(file));
}

// Written beside the file first, then put in its place, so that a failure
// leaves an existing file as it was.
bool CWin32FileSystem::WriteFile(const std::string& path, std::string_view data) {
    const std::wstring target = Wide(path);
    const std::wstring temporary = target + L".tmp";
    HANDLE file = ::CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                                nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    bool ok = true;
    std::size_t written = 0;
    while (ok && written < data.size()) {
        DWORD done = 0;
        const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(data.size() - written, 1 << 24));
        ok = ::WriteFile(file, data.data() + written, chunk, &done, nullptr) && done == chunk;
        written += done;
    }
    ok = ::FlushFileBuffers(file) && ok;
    ok = ::CloseHandle(file) && ok;
    if (ok) ok = ::MoveFileExW(temporary.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
    if (!ok) ::DeleteFileW(temporary.c_str());
    return ok;
}

}  // namespace transfer
