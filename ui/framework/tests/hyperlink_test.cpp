#include "framework/dialog_base.h"
#include "framework/hyperlink.h"

#include "dialog_test_driver.h"
#include "framework_test_ids.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <string>
#include <vector>

namespace {

using dialog_test::DialogScript;
using framework::LinkColors;

TEST(AnchorColor, ParsesThreeDecimalNumbersAndRefusesTheRest) {
    struct Case {
        const char* text;
        bool ok;
        COLORREF colour;
    };
    const Case cases[] = {
        {"0,0,255", true, RGB(0, 0, 255)},
        {"128,0,128", true, RGB(128, 0, 128)},
        {" 12 , 34 ,56 ", true, RGB(12, 34, 56)},
        {"255,255,255", true, RGB(255, 255, 255)},
        {"256,0,0", false, 0},
        {"0,0", false, 0},
        {"0,0,0,0", false, 0},
        {"0,,0", false, 0},
        {"a,b,c", false, 0},
        {"-1,0,0", false, 0},
        {"0x10,0,0", false, 0},
        {"1000,0,0", false, 0},
        {"", false, 0},
        {"1 2,3,4", false, 0},
    };
    for (const auto& c : cases) {
        COLORREF colour = RGB(1, 2, 3);
        EXPECT_EQ(framework::ParseAnchorColor(c.text, colour), c.ok) << c.text;
        EXPECT_EQ(colour, c.ok ? c.colour : RGB(1, 2, 3)) << c.text;
    }
}

// A key of its own under HKCU, removed afterwards.
class RegistryColors : public testing::Test {
protected:
    void SetUp() override {
        path = "Software\\quorva-tests\\colors-" + std::to_string(::GetCurrentProcessId());
        ASSERT_EQ(::RegCreateKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                                    nullptr),
                  ERROR_SUCCESS);
    }
    void TearDown() override {
        ::RegCloseKey(key);
        ::RegDeleteKeyA(HKEY_CURRENT_USER, path.c_str());
        ::RegDeleteKeyA(HKEY_CURRENT_USER, "Software\\quorva-tests");
    }
    void Set(const char* name, const std::string& value, DWORD type = REG_SZ) {
        ::RegSetValueExA(key, name, 0, type, reinterpret_cast<const BYTE*>(value.c_str()),
                         static_cast<DWORD>(value.size() + 1));
    }
    std::string path;
    HKEY key = nullptr;
};

TEST_F(RegistryColors, ValuesPresentAreUsed) {
    Set("Anchor Color", "10,20,30");
    Set("Anchor Color Visited", "40,50,60");
    const LinkColors c = framework::ReadLinkColors(HKEY_CURRENT_USER, path.c_str());
    EXPECT_EQ(c.link, RGB(10, 20, 30));
    EXPECT_EQ(c.visited, RGB(40, 50, 60));
}

TEST_F(RegistryColors, MissingOrMalformedValuesFallBackOneByOne) {
    Set("Anchor Color", "10,20");
    Set("Anchor Color Visited", "1,2,3");
    LinkColors c = framework::ReadLinkColors(HKEY_CURRENT_USER, path.c_str());
    EXPECT_EQ(c.link, RGB(0, 0, 255));
    EXPECT_EQ(c.visited, RGB(1, 2, 3));

    ::RegDeleteValueA(key, "Anchor Color Visited");
    Set("Anchor Color", "7,8,9");
    c = framework::ReadLinkColors(HKEY_CURRENT_USER, path.c_str());
    EXPECT_EQ(c.link, RGB(7, 8, 9));
    EXPECT_EQ(c.visited, RGB(128, 0, 128));

    Set("Anchor Color", std::string(200, '1'));  // longer than any colour
    Set("Anchor Color Visited", "1,2,3", REG_BINARY);
    c = framework::ReadLinkColors(HKEY_CURRENT_USER, path.c_str());
    EXPECT_EQ(c.link, RGB(0, 0, 255));
    EXPECT_EQ(c.visited, RGB(128, 0, 128));

    c = framework::ReadLinkColors(HKEY_CURRENT_USER, "Software\\quorva-tests\\no such key");
    EXPECT_EQ(c.link, RGB(0, 0, 255));
    EXPECT_EQ(c.visited, RGB(128, 0, 128));
}

constexpr COLORREF kLink = RGB(0, 0, 250);
constexpr COLORREF kVisited = RGB(130, 0, 120);

class LinkDialog : public framework::CDialogBase {
public:
    LinkDialog() : CDialogBase(IDD_FRAMEWORK_TEST) {}
    framework::CHyperLink link;
    std::vector<std::string> opened;
    bool openerSucceeds = true;

protected:
    bool OnInitDialog() override {
        link.SetColors({kLink, kVisited});
        link.SetOpener([this](const std::string& target) {
            opened.push_back(target);
            return openerSucceeds;
        });
        link.Attach(Item(IDC_TEST_LINK), "http://example.invalid/home");
        return true;
    }
};

// How many pixels of `colour` the label draws (into a bitmap of its own, so
// that no other window on the screen can hide it).
int CountPixels(HWND label, COLORREF colour) {
    RECT rect{};
    ::GetClientRect(label, &rect);
    HDC screen = ::GetDC(label);
    HDC memory = ::CreateCompatibleDC(screen);
    HBITMAP bitmap = ::CreateCompatibleBitmap(screen, rect.right, rect.bottom);
    HGDIOBJ old = ::SelectObject(memory, bitmap);
    ::SendMessageA(label, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(memory), PRF_CLIENT | PRF_ERASEBKGND);
    int count = 0;
    for (int y = rect.top; y < rect.bottom; ++y)
        for (int x = rect.left; x < rect.right; ++x) count += ::GetPixel(memory, x, y) == colour;
    ::SelectObject(memory, old);
    ::DeleteObject(bitmap);
    ::DeleteDC(memory);
    ::ReleaseDC(label, screen);
    return count;
}

LPARAM ClientPoint(int x, int y) { return MAKELPARAM(x, y); }

TEST(HyperLink, LooksLikeALinkAndClickOnTheTextOpensIt) {
    LinkDialog dialog;
    LONG_PTR style = 0;
    std::string tip;
    int linkPixels = 0, visitedPixels = 0, visitedAfter = 0;
    DialogScript script;
    script.OnDialogWith(IDC_TEST_LINK, [&](HWND d) {
        HWND label = dialog.link.Label();
        style = ::GetWindowLongPtrA(label, GWL_STYLE);
        char buffer[256] = "";
        TOOLINFOA tool{};
        tool.cbSize = sizeof tool;
        tool.hwnd = d;
        tool.uId = reinterpret_cast<UINT_PTR>(label);
        tool.lpszText = buffer;
        ::SendMessageA(dialog.link.Tooltip(), TTM_GETTEXTA, sizeof buffer, reinterpret_cast<LPARAM>(&tool));
        tip = buffer;
        linkPixels = CountPixels(label, kLink);
        visitedPixels = CountPixels(label, kVisited);

        const RECT text = dialog.link.TextRect();
        const LPARAM inside = ClientPoint((text.left + text.right) / 2, (text.top + text.bottom) / 2);
        ::SendMessageA(label, WM_LBUTTONDOWN, MK_LBUTTON, inside);
        ::SendMessageA(label, WM_LBUTTONUP, 0, inside);
        visitedAfter = CountPixels(label, kVisited);
        dialog_test::Click(d, IDCANCEL);
    });
    dialog.DoModal(nullptr);
    ASSERT_TRUE(script.AllStepsRan()) << script.Failure();
    EXPECT_TRUE(style & SS_NOTIFY);
    EXPECT_EQ(tip, "http://example.invalid/home");
    EXPECT_GT(linkPixels, 10) << "text drawn in the link colour";
    EXPECT_EQ(visitedPixels, 0);
    EXPECT_EQ(dialog.opened, std::vector<std::string>{"http://example.invalid/home"});
    EXPECT_TRUE(dialog.link.Visited());
    EXPECT_GT(visitedAfter, 10) << "redrawn in the visited colour";
}

TEST(HyperLink, PressAndReleaseMustBothBeOnTheText) {
    LinkDialog dialog;
    DialogScript script;
    script.OnDialogWith(IDC_TEST_LINK, [&](HWND d) {
        HWND label = dialog.link.Label();
        const RECT text = dialog.link.TextRect();
        RECT client{};
        ::GetClientRect(label, &client);
        ASSERT_LT(text.right + 5, client.right) << "the label is wider than its text";
        const LPARAM inside = ClientPoint(text.left + 2, text.top + 2);
        const LPARAM beside = ClientPoint(client.right - 2, text.top + 2);
        ::SendMessageA(label, WM_LBUTTONDOWN, MK_LBUTTON, beside);
        ::SendMessageA(label, WM_LBUTTONUP, 0, beside);
        ::SendMessageA(label, WM_LBUTTONDOWN, MK_LBUTTON, inside);
        ::SendMessageA(label, WM_LBUTTONUP, 0, beside);
        ::SendMessageA(label, WM_LBUTTONDOWN, MK_LBUTTON, beside);
        ::SendMessageA(label, WM_LBUTTONUP, 0, inside);
        dialog_test::Click(d, IDCANCEL);
    });
    dialog.DoModal(nullptr);
    ASSERT_TRUE(script.AllStepsRan()) << script.Failure();
    EXPECT_TRUE(dialog.opened.empty());
    EXPECT_FALSE(dialog.link.Visited());
}

TEST(HyperLink, EnterAndSpaceOpenItWhileFocusedAndTheDialogStaysOpen) {
    LinkDialog dialog;
    DialogScript script;
    const auto focusLink = [&](HWND) { ::SetFocus(dialog.link.Label()); };
    const auto opened = [&](std::size_t n) { return [&dialog, n](HWND) { return dialog.opened.size() == n; }; };
    script.OnDialogWith(IDC_TEST_LINK, focusLink)
        .On([&](HWND) { return ::GetFocus() == dialog.link.Label(); },
            [](HWND d) { dialog_test::PressKey(d, VK_RETURN); })
        .On(opened(1), [](HWND d) { dialog_test::PressKey(d, VK_SPACE); })
        .On(opened(2), [](HWND d) { dialog_test::Click(d, IDCANCEL); });
    EXPECT_EQ(dialog.DoModal(nullptr), IDCANCEL) << "Enter went to the link, not to the OK button";
    EXPECT_TRUE(script.AllStepsRan()) << script.Failure();
    EXPECT_EQ(dialog.opened.size(), 2u);
}

TEST(HyperLink, FailedOpenLeavesItUnvisited) {
    LinkDialog dialog;
    dialog.openerSucceeds = false;
    DialogScript script;
    script.OnDialogWith(IDC_TEST_LINK, [&](HWND d) {
        EXPECT_FALSE(dialog.link.Open());
        dialog_test::Click(d, IDCANCEL);
    });
    dialog.DoModal(nullptr);
    EXPECT_TRUE(script.AllStepsRan()) << script.Failure();
    EXPECT_EQ(dialog.opened.size(), 1u);
    EXPECT_FALSE(dialog.link.Visited());
}

}  // namespace
