#include "framework/message_box.h"
#include "framework/ui_text.h"

#include "dialog_test_driver.h"
#include "language.h"
#include "test_support/temp_dir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

namespace {

using dialog_test::DialogScript;
using framework::BoxKind;

TEST(FormatControlId, OnlyTheIdConversionIsExpanded) {
    const std::pair<const char*, const char*> cases[] = {
        {"DDX error during exchange with control: %u", "DDX error during exchange with control: 1003"},
        {"%u/%u", "1003/1003"},
        {"100%% %u", "100% 1003"},
        {"%s%n%d", "%s%n%d"},  // a pack's stray conversions stay text
        {"end %", "end %"},
        {"", ""},
        {"控件 %u 出错", "控件 1003 出错"},
    };
    for (auto [pattern, expected] : cases) EXPECT_EQ(framework::FormatControlId(pattern, 1003), expected) << pattern;
}

struct BoxSeen {
    std::string text, caption;
    HICON icon = nullptr;
};

// The icon a message box shows: the image of its icon label, if any.
HICON BoxIcon(HWND box) {
    for (HWND child = ::GetWindow(box, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
        if ((::GetWindowLongPtrA(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON)
            return reinterpret_cast<HICON>(::SendMessageA(child, STM_GETICON, 0, 0));
    }
    return nullptr;
}

BoxSeen Show(BoxKind kind, UINT buttons, int& result) {
    BoxSeen seen;
    DialogScript script;
    script.OnMessageBox([&](HWND box) {
        seen.text = dialog_test::MessageBoxText(box);
        seen.caption = dialog_test::Text(box);
        seen.icon = BoxIcon(box);
        dialog_test::Click(box, (buttons & MB_TYPEMASK) == MB_YESNO ? IDNO : IDOK);
    });
    result = framework::ShowMessage(nullptr, "mainview", "10003", "您真的要删除该分类吗?", kind, buttons);
    EXPECT_TRUE(script.AllStepsRan()) << script.Failure();
    return seen;
}

TEST(MessageBoxes, CaptionAndIconFollowTheKind) {
    struct Case {
        BoxKind kind;
        const char* caption;
        LPCSTR icon;
    };
    const Case cases[] = {
        {BoxKind::kWarning, "警告", IDI_WARNING},
        {BoxKind::kHint, "提示", IDI_INFORMATION},
        {BoxKind::kError, "错误", IDI_ERROR},
        {BoxKind::kPlain, "", nullptr},
    };
    for (const auto& c : cases) {
        int result = 0;
        const BoxSeen seen = Show(c.kind, MB_OK, result);
        EXPECT_EQ(result, IDOK);
        EXPECT_EQ(seen.text, "您真的要删除该分类吗?");
        EXPECT_EQ(seen.caption, c.caption);
        EXPECT_EQ(seen.icon, c.icon ? ::LoadIconA(nullptr, c.icon) : nullptr) << c.caption;
    }
}

TEST(MessageBoxes, IconOfTheButtonsWinsAndTheAnswerIsReturned) {
    int result = 0;
    const BoxSeen seen = Show(BoxKind::kHint, MB_YESNO | MB_ICONQUESTION, result);
    EXPECT_EQ(result, IDNO);
    EXPECT_EQ(seen.caption, "提示");
    EXPECT_EQ(seen.icon, ::LoadIconA(nullptr, IDI_QUESTION));
}

// A language pack "Tester" in a fresh folder, active for one test.
class WithPack : public testing::Test {
protected:
    void SetUp() override {
        std::ofstream pack(dir.Path() / "Tester.ini", std::ios::binary);
        pack << "[Info]\r\nLanguage=Tester\r\n"
             << "[common]\r\nwarning=Attention\r\nddxerror=Field %u failed\r\n"
             << "[mainview]\r\n10003=Really delete?\\nIt cannot be undone.\r\n";
        pack.close();
        CLanguage::DestroyInstance();
        ASSERT_TRUE(CLanguage::Instance()->Init(dir.Path().string(), "Tester"));
        ASSERT_TRUE(CLanguage::Instance()->IsActive());
    }
    void TearDown() override { CLanguage::DestroyInstance(); }

    testing_support::TempDir dir;
};

TEST_F(WithPack, TextAndCaptionComeFromThePack) {
    int result = 0;
    const BoxSeen seen = Show(BoxKind::kWarning, MB_OK, result);
    EXPECT_EQ(seen.text, "Really delete?\nIt cannot be undone.");
    EXPECT_EQ(seen.caption, "Attention");
    EXPECT_EQ(framework::UiText("common", "hint", "提示"), "提示") << "a key the pack lacks";
}

TEST_F(WithPack, ExchangeErrorUsesThePacksPatternAndFocusesTheControl) {
    HWND owner = ::CreateWindowExA(0, "STATIC", "owner", WS_POPUP | WS_VISIBLE, 0, 0, 300, 200, nullptr, nullptr,
                                   ::GetModuleHandleA(nullptr), nullptr);
    HWND edit = ::CreateWindowExA(0, "EDIT", "", WS_CHILD | WS_VISIBLE, 0, 0, 100, 20, owner,
                                  reinterpret_cast<HMENU>(1011), ::GetModuleHandleA(nullptr), nullptr);
    ASSERT_TRUE(owner && edit);
    std::string text, caption;
    DialogScript script;
    script.OnMessageBox([&](HWND box) {
        text = dialog_test::MessageBoxText(box);
        caption = dialog_test::Text(box);
        dialog_test::Click(box, IDOK);
    });
    framework::ShowExchangeError(owner, 1011);
    EXPECT_TRUE(script.AllStepsRan()) << script.Failure();
    EXPECT_EQ(text, "Field 1011 failed");
    EXPECT_EQ(caption, "Attention");
    EXPECT_EQ(::GetFocus(), edit);
    ::DestroyWindow(owner);
}

}  // namespace
