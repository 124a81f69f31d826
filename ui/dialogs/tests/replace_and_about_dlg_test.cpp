#include "about_dlg.h"
#include "replace_dlg.h"

#include "dialog_test_driver.h"
#include "platform/executable_path.h"
#include "resource.h"
#include "test_support/temp_dir.h"

#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

namespace {

using dialog_test::DialogScript;
using dialog_test::ItemText;
using dialogs::CReplaceDlg;

TEST(ReplaceDialog, EachButtonReturnsItsIdAndTheTextsAreShown) {
    const std::pair<int, const char*> buttons[] = {
        {CReplaceDlg::kYes, "是(&Y)"}, {CReplaceDlg::kAll, "全部(&A)"}, {CReplaceDlg::kNo, "否(&N)"},
        {CReplaceDlg::kNone, "全否"},  {IDCANCEL, "取消"}};
    for (auto [id, caption] : buttons) {
        CReplaceDlg dialog;
        dialog.name = "新闻";
        dialog.existingUrl = "http://old.example";
        dialog.newUrl = "http://new.example";
        std::string name, oldUrl, newUrl, label;
        DialogScript script;
        script.OnDialogWith(IDC_REPLACE_NAME, [&](HWND d) {
            name = ItemText(d, IDC_REPLACE_NAME);
            oldUrl = ItemText(d, IDC_REPLACE_OLD_URL);
            newUrl = ItemText(d, IDC_REPLACE_NEW_URL);
            label = ItemText(d, id);
            dialog_test::Click(d, id);
        });
        EXPECT_EQ(dialog.DoModal(nullptr), id);
        ASSERT_TRUE(script.AllStepsRan()) << script.Failure();
        EXPECT_EQ(label, caption);
        EXPECT_EQ(name, "新闻");
        EXPECT_EQ(oldUrl, "http://old.example");
        EXPECT_EQ(newUrl, "http://new.example");
    }
}

TEST(ReplaceDialog, EnterReturnsOneThoughOkIsHiddenAndEscapeCancels) {
    const std::pair<UINT, INT_PTR> keys[] = {{VK_RETURN, IDOK}, {VK_ESCAPE, IDCANCEL}};
    for (auto [key, expected] : keys) {
        CReplaceDlg dialog;
        dialog.name = "x";
        bool okHidden = false;
        HWND focus = nullptr;
        DialogScript script;
        // The focus arrives at the dialog as when the user switches to it.
        script.OnDialogWith(IDC_REPLACE_NAME, [&](HWND d) {
                  okHidden = !::IsWindowVisible(::GetDlgItem(d, IDOK));
                  ::SetFocus(d);
                  focus = ::GetFocus();
              })
            .OnDialogWith(IDC_REPLACE_NAME, [&](HWND d) {
                EXPECT_EQ(focus, d) << "no button took the focus";
                dialog_test::PressKey(d, key);
            });
        EXPECT_EQ(dialog.DoModal(nullptr), expected) << key;
        ASSERT_TRUE(script.AllStepsRan()) << script.Failure();
        EXPECT_TRUE(okHidden);
    }
}

// Width of `text` in the label's font, and the label's own width.
std::pair<int, int> Widths(HWND label, const std::string& text) {
    HDC dc = ::GetDC(label);
    HGDIOBJ old = ::SelectObject(dc, reinterpret_cast<HGDIOBJ>(::SendMessageA(label, WM_GETFONT, 0, 0)));
    SIZE size{};
    ::GetTextExtentPoint32A(dc, text.c_str(), static_cast<int>(text.size()), &size);
    ::SelectObject(dc, old);
    ::ReleaseDC(label, dc);
    RECT client{};
    ::GetClientRect(label, &client);
    return {static_cast<int>(size.cx), static_cast<int>(client.right)};
}

TEST(ReplaceDialog, LongTextsAreShortenedToFitTheirLabels) {
    CReplaceDlg dialog;
    dialog.name = "每日新闻 Daily news with a rather long title that does not fit on one line at all, not even close";
    dialog.existingUrl = "http://example.com/" + std::string(2000, 'a');
    dialog.newUrl = "http://new.example";
    std::string name, oldUrl, newUrl;
    std::pair<int, int> nameWidths, urlWidths;
    DialogScript script;
    script.OnDialogWith(IDC_REPLACE_NAME, [&](HWND d) {
        name = ItemText(d, IDC_REPLACE_NAME);
        oldUrl = ItemText(d, IDC_REPLACE_OLD_URL);
        newUrl = ItemText(d, IDC_REPLACE_NEW_URL);
        nameWidths = Widths(::GetDlgItem(d, IDC_REPLACE_NAME), name);
        urlWidths = Widths(::GetDlgItem(d, IDC_REPLACE_OLD_URL), oldUrl);
        dialog_test::Click(d, IDCANCEL);
    });
    dialog.DoModal(nullptr);
    ASSERT_TRUE(script.AllStepsRan()) << script.Failure();
    EXPECT_EQ(newUrl, "http://new.example") << "a text that fits stays whole";
    for (const auto& [shown, whole] : {std::pair{name, dialog.name}, std::pair{oldUrl, dialog.existingUrl}}) {
        ASSERT_GT(shown.size(), 10u);
        EXPECT_EQ(shown.substr(shown.size() - 3), "...");
        EXPECT_EQ(whole.compare(0, shown.size() - 3, shown, 0, shown.size() - 3), 0) << shown;
    }
    EXPECT_NE(name[name.size() - 4], ' ') << "no space before the ellipsis";
    EXPECT_EQ(dialog.name[name.size() - 3], ' ') << "the name is cut before a space: " << name;
    EXPECT_LE(nameWidths.first, nameWidths.second);
    EXPECT_LE(urlWidths.first, urlWidths.second);
    EXPECT_GT(urlWidths.first, urlWidths.second * 3 / 4) << "the URL, one long word, is cut by character";
}

TEST(AboutDialog, VersionLineFromTheProgramsVersionResource) {
    dialogs::CAboutDlg dialog;
    int opened = 0;
    dialog.link.SetOpener([&](const std::string&) { return ++opened > 0; });
    std::string line, link;
    DialogScript script;
    script.OnDialogWith(IDC_VERSION, [&](HWND d) {
        line = ItemText(d, IDC_VERSION);
        link = ItemText(d, IDC_HOMEPAGE_LINK);
        dialog_test::PressKey(d, VK_RETURN);
    });
    EXPECT_EQ(dialog.DoModal(nullptr), IDOK);
    ASSERT_TRUE(script.AllStepsRan()) << script.Failure();
    EXPECT_EQ(line, std::string("zevLinkarbor Version ") + VER_FILEVERSION_TEXT);
    EXPECT_EQ(link, "请您访问软件主页");
    EXPECT_EQ(dialog.link.Target(), dialogs::kHomepageUrl);
    EXPECT_EQ(opened, 0) << "Enter at opening presses OK, not the link";
}

TEST(AboutDialog, FileWithoutVersionResourceGivesAnEmptyVersion) {
    testing_support::TempDir dir;
    const std::string plain = dir.File("plain.txt");
    std::ofstream(plain) << "no version here";
    EXPECT_EQ(dialogs::ReadProductVersion(plain), "");
    EXPECT_EQ(dialogs::ReadProductVersion(dir.File("missing.exe")), "");
    EXPECT_EQ(dialogs::ReadProductVersion(platform::ExecutablePath()), VER_FILEVERSION_TEXT);

    dialogs::CAboutDlg dialog;
    dialog.versionSource = plain;
    std::string line;
    DialogScript script;
    script.OnDialogWith(IDC_VERSION, [&](HWND d) {
        line = ItemText(d, IDC_VERSION);
        dialog_test::Click(d, IDOK);
    });
    dialog.DoModal(nullptr);
    ASSERT_TRUE(script.AllStepsRan()) << script.Failure();
    EXPECT_EQ(line, "zevLinkarbor Version ");
}

TEST(AboutDialog, LinkOpensTheWebPageOnClick) {
    dialogs::CAboutDlg dialog;
    std::vector<std::string> opened;
    dialog.link.SetOpener([&](const std::string& target) {
        opened.push_back(target);
        return true;
    });
    DialogScript script;
    script.OnDialogWith(IDC_HOMEPAGE_LINK, [&](HWND d) {
        HWND label = ::GetDlgItem(d, IDC_HOMEPAGE_LINK);
        const RECT text = dialog.link.TextRect();
        const LPARAM point = MAKELPARAM((text.left + text.right) / 2, (text.top + text.bottom) / 2);
        ::SendMessageA(label, WM_LBUTTONDOWN, MK_LBUTTON, point);
        ::SendMessageA(label, WM_LBUTTONUP, 0, point);
        dialog_test::Click(d, IDOK);
    });
    dialog.DoModal(nullptr);
    ASSERT_TRUE(script.AllStepsRan()) << script.Failure();
    EXPECT_EQ(opened, std::vector<std::string>{dialogs::kHomepageUrl});
    EXPECT_TRUE(dialog.link.Visited());
}

}  // namespace
