// "备份书签文件": a copy of the bookmark file, with every change made so
// far, into a folder the user picks. The copy is written beside the target
// first and then put in its place, so a failure keeps the old backup.
#include "mainframe/main_frame.h"

#include "framework/message_box.h"
#include "framework/program_folder.h"
#include "framework/ui_text.h"
#include "framework/unique_handle.h"

#include <shlobj.h>

#include <string>

namespace {

bool FileExists(const std::string& path) {
    const DWORD attributes = ::GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool AnyExists(const std::string& path) { return ::GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

// Judged by characters: a trail byte 0x5C is not a backslash.
bool EndsWithBackslash(const std::string& path) {
    const char* last = nullptr;
    for (const char* p = path.c_str(); *p;) {
        last = p;
        const char* next = ::CharNextA(p);
        if (next == p) break;
        p = next;
    }
    return last && *last == '\\' && last + 1 == path.c_str() + path.size();
}

std::string SystemErrorText(DWORD error) {
    char* buffer = nullptr;
    const DWORD length = ::FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                                              FORMAT_MESSAGE_IGNORE_INSERTS,
                                          nullptr, error, 1033, reinterpret_cast<LPSTR>(&buffer), 0, nullptr);
    std::string text = length && buffer ? std::string(buffer, length) : std::string();
    if (buffer) ::LocalFree(buffer);
    return text;
}

std::string PickFolder(HWND owner) {
    const std::string title =
        framework::UiText("mainframe", "10010", "请选择您要备份的书签文件的存储路径!");
    BROWSEINFOA info{};
    info.hwndOwner = owner;
    info.lpszTitle = title.c_str();
    info.ulFlags = BIF_RETURNONLYFSDIRS;
    PIDLIST_ABSOLUTE chosen = ::SHBrowseForFolderA(&info);
    if (!chosen) return {};
    char path[MAX_PATH] = "";
    const bool named = ::SHGetPathFromIDListA(chosen, path) != FALSE;
    ::CoTaskMemFree(chosen);
    return named ? std::string(path) : std::string();
}

}  // namespace

std::string CMainFrame::BookmarkFilePath() const { return framework::ProgramFolder() + "bookmark.xml"; }

void CMainFrame::BackUpBookmarkFile() {
    // The copy holds the changes of the last seconds too.
    SaveBookmarksNow();
    const std::string source = BookmarkFilePath();
    if (!FileExists(source)) {
        framework::ShowMessage(Hwnd(), "mainframe", "10009", "书签文件不存在!", framework::BoxKind::kPlain, MB_OK);
        return;
    }
    std::string folder = folderPicker_ ? folderPicker_(Hwnd()) : PickFolder(Hwnd());
    if (folder.empty()) return;
    if (!EndsWithBackslash(folder)) folder += '\\';
    const std::string target = folder + "bookmark.xml";
    if (AnyExists(target)) {
        const std::string question =
            framework::UiText("mainframe", "10011", "书签文件已存在,是否要用新的书签文件覆盖?");
        const std::string caption = framework::UiText("common", "hint", "提示");
        if (::MessageBoxA(Hwnd(), question.c_str(), caption.c_str(), MB_YESNO) != IDYES) return;
    }
    const std::string temporary = folder + "bookmark.xml.backup-tmp";
    DWORD error = 0;
    if (!::CopyFileA(source.c_str(), temporary.c_str(), FALSE)) {
        error = ::GetLastError();
    } else if (!::MoveFileExA(temporary.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        error = ::GetLastError();
        ::DeleteFileA(temporary.c_str());
    } else {
        return;
    }
    std::string text = SystemErrorText(error);
    if (text.empty()) text = framework::UiText("mainframe", "10014", "无法备份书签文件。");
    ::MessageBoxA(Hwnd(), text.c_str(), "", MB_OK);
}
