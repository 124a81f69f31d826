// Opens one editing dialog with sample contents and keeps it on the screen
// until told to close, so that a script can take its picture.
//
// usage: dialog_gallery NAME READY_FILE DONE_FILE [LANGUAGE_FOLDER PACK]
// NAME: bookmark, bookmark-refused, class, homepage, select, move, replace,
// about. READY_FILE is written once the dialog (or its message box) is up;
// the dialog closes when DONE_FILE appears.
#include "about_dlg.h"
#include "bookmark_dlg.h"
#include "class_dlg.h"
#include "homepage_dlg.h"
#include "move_class_dlg.h"
#include "replace_dlg.h"
#include "select_class_dlg.h"

#include "bookmark_store.h"
#include "store_test_helpers.h"
#include "dialog_test_driver.h"
#include "language.h"
#include "resource.h"

#include <windows.h>

#include <cstdio>
#include <fstream>
#include <memory>
#include <string>

namespace {

using store_test::AddChild;

bool Exists(const std::string& path) { return ::GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

}  // namespace

int main(int argc, char** argv) {
    if (argc != 4 && argc != 6) {
        std::fprintf(stderr, "usage: dialog_gallery NAME READY_FILE DONE_FILE [LANGUAGE_FOLDER PACK]\n");
        return 2;
    }
    const std::string name = argv[1], ready = argv[2], done = argv[3];
    if (argc == 6) CLanguage::Instance()->Init(argv[4], argv[5]);

    CBookmarkStore store;
    ClassRecord* news = AddChild(store, nullptr, "新闻资讯");
    ClassRecord* world = AddChild(store, news, "国际新闻");
    AddChild(store, world, "欧洲");
    AddChild(store, news, "体育");
    ClassRecord* tools = AddChild(store, nullptr, "常用工具");
    AddChild(store, tools, "Search engines");
    ClassRecord* music = AddChild(store, nullptr, "音乐");
    AddChild(store, music, "Jazz");
    store.SetExpanded(news, true);
    store.SetExpanded(music, true);

    std::unique_ptr<framework::CDialogBase> dialog;
    int waitFor = IDCANCEL;  // a control of the dialog to recognise it by
    bool refuse = false;
    if (name == "bookmark" || name == "bookmark-refused") {
        auto d = std::make_unique<dialogs::CBookmarkDlg>();
        d->title = name == "bookmark" ? "岚舟链匣 - 书签管理" : "新闻: 今日要闻";
        d->url = "https://news.example.com/world/today.html";
        d->remark = "每天早上看一眼。\r\nRead every morning.";
        d->category = world;
        d->root = store.Root();
        refuse = name == "bookmark-refused";
        waitFor = IDC_REMARK_EDIT;
        dialog = std::move(d);
    } else if (name == "class") {
        auto d = std::make_unique<dialogs::CClassDlg>();
        d->mode = dialogs::CClassDlg::kAddSubClass;
        d->name = "编程语言";
        waitFor = IDC_NAME_EDIT;
        dialog = std::move(d);
    } else if (name == "homepage") {
        auto d = std::make_unique<dialogs::CHomepageDlg>();
        d->mode = 1;
        d->title = "我的主页";
        d->url = "https://www.example.org/";
        waitFor = IDC_URL_EDIT;
        dialog = std::move(d);
    } else if (name == "select") {
        auto d = std::make_unique<dialogs::CSelectClassDlg>();
        d->root = store.Root();
        d->initial = world;
        waitFor = IDC_TOP_LEVEL;
        dialog = std::move(d);
    } else if (name == "move") {
        auto d = std::make_unique<dialogs::CMoveClassDlg>();
        d->root = store.Root();
        d->classToMove = tools;
        waitFor = IDC_AS_CHILD;
        dialog = std::move(d);
    } else if (name == "replace") {
        auto d = std::make_unique<dialogs::CReplaceDlg>();
        d->name = "每日新闻 Daily news with a rather long title that does not fit on one line";
        d->existingUrl = "https://news.example.com/archive/2026/12/07/the-front-page-of-the-day.html";
        d->newUrl = "https://news.example.com/today.html";
        waitFor = IDC_REPLACE_NAME;
        dialog = std::move(d);
    } else if (name == "about") {
        auto d = std::make_unique<dialogs::CAboutDlg>();
        d->link.SetOpener([](const std::string&) { return true; });
        waitFor = IDC_VERSION;
        dialog = std::move(d);
    } else {
        std::fprintf(stderr, "unknown dialog %s\n", name.c_str());
        return 2;
    }

    dialog_test::DialogScript script(std::chrono::minutes(2));
    const auto signalReady = [&](HWND d) {
        ::RedrawWindow(d, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
        ::GdiFlush();
        std::ofstream(ready) << "ready\n";
    };
    const auto closeWhenDone = [&](HWND d) { ::PostMessageA(d, WM_COMMAND, IDCANCEL, 0); };
    if (refuse) {
        script.OnDialogWith(waitFor, [](HWND d) { dialog_test::Click(d, IDOK); })
            .OnMessageBox(signalReady)
            .On([&](HWND) { return Exists(done); }, [](HWND box) { dialog_test::Click(box, IDOK); })
            .OnDialogWith(waitFor, closeWhenDone);
    } else {
        script.OnDialogWith(waitFor, signalReady).On([&](HWND) { return Exists(done); }, closeWhenDone);
    }
    dialog->DoModal(nullptr);
    if (!script.Failure().empty()) std::fprintf(stderr, "%s\n", script.Failure().c_str());
    return script.AllStepsRan() ? 0 : 1;
}
