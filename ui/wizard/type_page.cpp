// Page 1: what to import or export, and the folder or file.
#include "framework/centring.h"
#include "framework/message_box.h"
#include "framework/program_folder.h"
#include "framework/ui_text.h"
#include "import_export_wizard.h"
#include "resource.h"
#include "shell_paths.h"
#include "shortcut_file.h"
#include "wizard_pages.h"

#include <commdlg.h>
#include <objbase.h>
#include <shlobj.h>

#include <vector>

namespace wizard {

namespace {

constexpr char kSection[] = "dlg_wizardpage0";

// The folder browser opens at the current path.
int CALLBACK StartAtPath(HWND browser, UINT msg, LPARAM, LPARAM data) {
    if (msg == BFFM_INITIALIZED && data) ::SendMessageA(browser, BFFM_SETSELECTIONA, TRUE, data);
    return 0;
}

}  // namespace

CTypePage::CTypePage(CImportExportWizard& wizard) : CWizardPage(wizard, IDD_WIZARD_TYPE, kSection) {}

std::string CTypePage::Caption() const {
    return Wizard().exporting ? Text("title1", "请选择导出书签类型") : Text("title0", "请选择导入书签类型");
}

void CTypePage::OnInit() {
    HWND list = Item(IDC_WIZARD_TYPE);
    for (ImportType type : OfferedTypes(Wizard().exporting, Wizard().preset_)) {
        const std::string text = type == kFavoritesFolder ? Text("type0", "IE收藏夹")
                                 : type == kBookmarkFile  ? Text("type1", "软件自带书签")
                                                          : Text("type2", "浏览器书签文件 (HTML)");
        const auto index = ::SendMessageA(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
        if (index >= 0) ::SendMessageA(list, CB_SETITEMDATA, static_cast<WPARAM>(index), type);
    }
    ::SendMessageA(list, CB_SETCURSEL, 0, 0);
    ShowPathOf(SelectedType());
    framework::CenterWindow(Sheet());
}

void CTypePage::OnSetActive() {
    SetCaption(Caption());
    SetButtons(PSWIZB_NEXT);
}

int CTypePage::SelectedType() const {
    HWND list = Item(IDC_WIZARD_TYPE);
    const auto index = ::SendMessageA(list, CB_GETCURSEL, 0, 0);
    if (index < 0) return kFavoritesFolder;
    return static_cast<int>(::SendMessageA(list, CB_GETITEMDATA, static_cast<WPARAM>(index), 0));
}

void CTypePage::ShowPathOf(int type) {
    std::string path;
    if (type == kFavoritesFolder) {
        // Empty when the shell gives no path, or one the code page cannot hold.
        transfer::FavoritesFolderPath(path);
        SetItemText(IDC_WIZARD_PATH_LABEL, Text("10000", "IE收藏夹目录:"));
    } else if (type == kBrowserFile) {
        // The file is the user's to choose; an export offers a name.
        if (Wizard().exporting) path = framework::ProgramFolder() + "bookmarks.html";
        SetItemText(IDC_WIZARD_PATH_LABEL, Text("10006", "浏览器书签文件:"));
    } else {
        path = framework::ProgramFolder() + "default.xml";
        SetItemText(IDC_WIZARD_PATH_LABEL, Text("10001", "软件自带书签文件路径:"));
    }
    SetItemText(IDC_WIZARD_PATH, path);
}

bool CTypePage::OnCommand(WORD id, WORD code) {
    if (id == IDC_WIZARD_TYPE && code == CBN_SELCHANGE) {
        ShowPathOf(SelectedType());
        return true;
    }
    if (id == IDC_WIZARD_BROWSE_PATH && code == BN_CLICKED) {
        Browse();
        return true;
    }
    return false;
}

void CTypePage::Browse() {
    std::string chosen;
    const int type = SelectedType();
    const bool picked = type == kFavoritesFolder ? BrowseFolder(chosen) : BrowseFile(type, chosen);
    if (picked) SetItemText(IDC_WIZARD_PATH, chosen);
}

bool CTypePage::BrowseFolder(std::string& chosen) {
    const std::string prompt = Wizard().exporting ? Text("10004", "请您选择要导出书签的目录")
                                                  : Text("10003", "请您选择要导入书签的目录");
    const std::string start = framework::WindowTextOf(Item(IDC_WIZARD_PATH));
    char display[MAX_PATH] = {};
    BROWSEINFOA info{};
    info.hwndOwner = Sheet();
    info.pszDisplayName = display;
    info.lpszTitle = prompt.c_str();
    info.ulFlags = BIF_RETURNONLYFSDIRS;
    info.lpfn = StartAtPath;
    info.lParam = start.empty() ? 0 : reinterpret_cast<LPARAM>(start.c_str());
    PIDLIST_ABSOLUTE item = ::SHBrowseForFolderA(&info);
    if (!item) return false;
    const transfer::ShellPath result = transfer::AnsiPathOf(item, chosen);
    ::CoTaskMemFree(item);
    if (result == transfer::ShellPath::kOk) return true;
    RefusePath();
    return false;
}

bool CTypePage::BrowseFile(int type, std::string& chosen) {
    // The dialog is asked in UTF-16, so that a name outside the code page is
    // seen as such instead of arriving with '?' in it; its buffer has room
    // for the longest path.
    std::vector<wchar_t> file(32768, L'\0');
    const std::wstring current = transfer::WideFromAnsi(framework::WindowTextOf(Item(IDC_WIZARD_PATH)));
    if (current.size() < file.size()) std::copy(current.begin(), current.end(), file.begin());
    OPENFILENAMEW open{};
    open.lStructSize = sizeof open;
    open.hwndOwner = Sheet();
    // The filter: its name, a zero, its patterns, two zeros.
    std::wstring filter;
    if (type == kBrowserFile) {
        filter = transfer::WideFromAnsi(Text("10007", "HTML 文件")) + L" (*.html;*.htm)";
        filter += L'\0';
        filter += L"*.html;*.htm";
    } else {
        filter = L"xml File (*.xml)";
        filter += L'\0';
        filter += L"*.xml";
    }
    filter += L'\0';
    open.lpstrFilter = filter.c_str();
    open.lpstrFile = file.data();
    open.nMaxFile = static_cast<DWORD>(file.size());
    open.lpstrDefExt = type == kBrowserFile ? L"html" : L"xml";
    open.Flags = OFN_HIDEREADONLY | OFN_PATHMUSTEXIST | OFN_LONGNAMES;
    const bool saving = Wizard().exporting;
    open.Flags |= saving ? OFN_OVERWRITEPROMPT : OFN_FILEMUSTEXIST;
    if (!(saving ? ::GetSaveFileNameW(&open) : ::GetOpenFileNameW(&open))) return false;
    if (transfer::AnsiPathOf(std::wstring(file.data()), chosen) == transfer::ShellPath::kOk) return true;
    RefusePath();
    return false;
}

void CTypePage::RefusePath() {
    framework::ShowMessage(Sheet(), kSection, "10005",
                           "这个位置的名称含有当前语言无法表示的字符, 书签无法从这里导入或导出到这里。请选择其他位置。",
                           framework::BoxKind::kWarning, MB_OK);
}

LONG_PTR CTypePage::OnWizNext() {
    Wizard().importType = SelectedType();
    Wizard().path = framework::WindowTextOf(Item(IDC_WIZARD_PATH));
    return 0;
}

}  // namespace wizard
