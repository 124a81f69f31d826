// Opens the settings dialog on one page and keeps it on the screen until
// told to close, so that a script can take its picture.
//
// usage: settings_gallery PAGE READY_FILE DONE_FILE [editor] [LANGUAGE_FOLDER PACK]
// PAGE: 0 to 3. "editor" opens the page's in-place editor (the list dropped
// down on page 0, the edit box on page 3). READY_FILE is written once the
// dialog is up; it closes when DONE_FILE appears.
#include "homepage_group.h"
#include "language.h"
#include "option_pages.h"
#include "options_sheet.h"
#include "resource.h"
#include "setting.h"
#include "framework/ui_text.h"
#include "settings_test_support.h"
#include "test_support/temp_dir.h"

#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

namespace {

std::string g_ready, g_done;
bool g_editor = false;
bool g_signalled = false;

bool Exists(const std::string& path) { return ::GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

// Selects the value item of the shown page, which opens its editor.
void OpenEditor(HWND sheet) {
    HWND tree = settings_test::OptionTree(sheet);
    for (const settings_test::Item& item : settings_test::Items(tree)) {
        if (item.text.find(": ") == std::string::npos) continue;
        settings_test::Select(tree, item.handle);
        if (HWND list = settings_test::Editor(tree, WC_COMBOBOXA)) ::SendMessageA(list, CB_SHOWDROPDOWN, TRUE, 0);
        return;
    }
}

void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
    settings::COptionsSheet* sheet = settings::COptionsSheet::Open();
    if (!sheet || !sheet->Hwnd()) return;
    if (!g_signalled) {
        g_signalled = true;
        if (g_editor) OpenEditor(sheet->Hwnd());
        ::RedrawWindow(sheet->Hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
        ::GdiFlush();
        std::ofstream(g_ready) << "ready\n";
        return;
    }
    if (Exists(g_done)) ::PostMessageA(sheet->Hwnd(), WM_COMMAND, IDCANCEL, 0);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 4) {
        std::fprintf(stderr, "usage: settings_gallery PAGE READY_FILE DONE_FILE [editor] [LANGUAGE_FOLDER PACK]\n");
        return 2;
    }
    const int page = std::atoi(argv[1]);
    g_ready = argv[2];
    g_done = argv[3];
    int next = 4;
    if (argc > next && std::strcmp(argv[next], "editor") == 0) {
        g_editor = true;
        ++next;
    }
    if (argc > next + 1) CLanguage::Instance()->Init(argv[next], argv[next + 1]);

    testing_support::TempDir dir;
    CSetting::Instance()->Load(dir.File("setting.xml"));
    CSetting::Instance()->Other_IEToolbarButton = 0;
    CHomepageGroup group;
    group.Add("新浪首页", "http://www.sina.com.cn/");
    group.Add("Example Domain", "http://example.com/");
    group.Add("岚舟链匣的博客", "http://blog.example.org/");

    settings::CGeneralPage general;
    settings::CInterfacePage face;
    settings::CHomepagePage homepage(&group);
    settings::CMiscPage misc;
    settings::COptionsSheet sheet;
    sheet.AddPage(&general, framework::UiText("mainframe", "10004", "常规设置"), 0);
    sheet.AddPage(&face, framework::UiText("mainframe", "10005", "用户界面"), 1);
    sheet.AddPage(&homepage, framework::UiText("mainframe", "10006", "主页组"), 2);
    sheet.AddPage(&misc, framework::UiText("mainframe", "10007", "杂项"), 3);
    sheet.SetStartPage(page);
    ::SetTimer(nullptr, 0, 100, &Tick);
    sheet.DoModal(nullptr);
    return 0;
}
