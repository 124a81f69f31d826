// The toolbar in the main window: its layout from and to the settings, the
// system's Customize dialog with the two added lists (driven for real),
// Reset, the band following each choice, skins, tool tips and the picture
// lists it replaces.
#include "main_frame_fixture.h"

#include "dialog_test_driver.h"
#include "framework/program_folder.h"
#include "language.h"
#include "resource.h"
#include "toolbar/skin_toolbar.h"

#include <commctrl.h>

#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

namespace {

using mainframe_test::Pump;
using mainframe_test::PumpUntil;
using testing_support::WriteBytes;

constexpr UINT kToolbarBandId = 0xEB01;
constexpr int kResetButton = 202;
constexpr int kHelpButton = 205;
const char kDefaultLayout[] = "0,1,32770,32820,32795,0,32805,32825,32815,0,32855,32870,0,32800,32940,0,57664";
const std::vector<int> kResourceCommands{32910, 32915, 0,     32770, 32795, 32820, 0,     32805, 32815, 32825,
                                         0,     32855, 32870, 0,     32800, 32940, 32880, 0,     32790, 57664};

// A 24-bit bitmap file of one colour.
std::string BitmapFile(int width, int height, COLORREF colour) {
    const int row = (width * 3 + 3) / 4 * 4;
    std::string bytes(54 + static_cast<std::size_t>(row) * height, '\0');
    auto put = [&](std::size_t at, std::uint32_t value, int size) {
        for (int i = 0; i < size; ++i) bytes[at + i] = static_cast<char>((value >> (8 * i)) & 0xFF);
    };
    bytes[0] = 'B';
    bytes[1] = 'M';
    put(2, static_cast<std::uint32_t>(bytes.size()), 4);
    put(10, 54, 4);
    put(14, 40, 4);
    put(18, static_cast<std::uint32_t>(width), 4);
    put(22, static_cast<std::uint32_t>(height), 4);
    put(26, 1, 2);
    put(28, 24, 2);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const std::size_t at = 54 + static_cast<std::size_t>(y) * row + static_cast<std::size_t>(x) * 3;
            bytes[at] = static_cast<char>(GetBValue(colour));
            bytes[at + 1] = static_cast<char>(GetGValue(colour));
            bytes[at + 2] = static_cast<char>(GetRValue(colour));
        }
    }
    return bytes;
}

// The colour in the middle of a list's first picture, drawn on white.
COLORREF PictureColour(HIMAGELIST list) {
    HDC screen = ::GetDC(nullptr);
    HDC dc = ::CreateCompatibleDC(screen);
    HBITMAP canvas = ::CreateCompatibleBitmap(screen, 32, 32);
    HGDIOBJ old = ::SelectObject(dc, canvas);
    RECT all{0, 0, 32, 32};
    ::FillRect(dc, &all, static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));
    ImageList_Draw(list, 0, dc, 0, 0, ILD_NORMAL);
    const COLORREF colour = ::GetPixel(dc, 10, 10);
    ::SelectObject(dc, old);
    ::DeleteObject(canvas);
    ::DeleteDC(dc);
    ::ReleaseDC(nullptr, screen);
    return colour;
}

std::vector<std::string> ListTexts(HWND dialog, int id) {
    std::vector<std::string> texts;
    const int count = static_cast<int>(::SendDlgItemMessageA(dialog, id, CB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        char text[256] = "";
        ::SendDlgItemMessageA(dialog, id, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text));
        texts.emplace_back(text);
    }
    return texts;
}

// The Customize dialog once it has the added lists. (The system's dialog
// has a label of id -1, so it passes for a message box.)
bool HasOptionLists(HWND dialog) { return ::GetDlgItem(dialog, toolbar::CSkinToolBar::kTextOptionList) != nullptr; }

std::string Narrow(const std::wstring& wide) {
    std::string text(wide.size() * 2 + 1, '\0');
    const int length = ::WideCharToMultiByte(CP_ACP, 0, wide.c_str(), static_cast<int>(wide.size()), text.data(),
                                             static_cast<int>(text.size()), nullptr, nullptr);
    text.resize(static_cast<std::size_t>(std::max(0, length)));
    return text;
}

// The entries of the dialog's list of the toolbar's buttons.
int ListedButtons(HWND dialog) { return static_cast<int>(::SendDlgItemMessageA(dialog, 203, LB_GETCOUNT, 0, 0)); }

int Selection(HWND dialog, int id) { return static_cast<int>(::SendDlgItemMessageA(dialog, id, CB_GETCURSEL, 0, 0)); }

// A choice as the user makes it: the list's selection and its notification.
void Choose(HWND dialog, int id, int index) {
    HWND list = ::GetDlgItem(dialog, id);
    ::SendMessageA(list, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
    ::SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE), reinterpret_cast<LPARAM>(list));
}

RECT ClientRectOf(HWND dialog, HWND child) {
    RECT rect{};
    ::GetWindowRect(child, &rect);
    ::MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

class MainFrameToolbar : public mainframe_test::MainFrameTest {
protected:
    HWND Show() {
        HWND hwnd = Create();
        if (!hwnd) return nullptr;
        ::MoveWindow(hwnd, 20, 20, 900, 560, TRUE);
        Frame().InitialShow();
        ::SetForegroundWindow(hwnd);
        Pump();
        return hwnd;
    }
    toolbar::CSkinToolBar& Bar() { return *Frame().ToolBar(); }
    std::vector<int> Commands() {
        std::vector<int> commands;
        HWND bar = Bar().Hwnd();
        const int count = static_cast<int>(::SendMessageA(bar, TB_BUTTONCOUNT, 0, 0));
        for (int i = 0; i < count; ++i) {
            TBBUTTON button{};
            ::SendMessageA(bar, TB_GETBUTTON, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&button));
            commands.push_back(button.fsStyle & BTNS_SEP ? 0 : button.idCommand);
        }
        return commands;
    }
    std::string ButtonText(int id) {
        char text[256] = "";
        TBBUTTONINFOA info{};
        info.cbSize = sizeof info;
        info.dwMask = TBIF_TEXT;
        info.pszText = text;
        info.cchText = sizeof text;
        ::SendMessageA(Bar().Hwnd(), TB_GETBUTTONINFOA, static_cast<WPARAM>(id), reinterpret_cast<LPARAM>(&info));
        return text;
    }
    bool ListStyle() { return (::GetWindowLongPtrA(Bar().Hwnd(), GWL_STYLE) & TBSTYLE_LIST) != 0; }
    int ButtonHeight() { return HIWORD(::SendMessageA(Bar().Hwnd(), TB_GETBUTTONSIZE, 0, 0)); }
    HIMAGELIST Pictures(UINT message) {
        return reinterpret_cast<HIMAGELIST>(::SendMessageA(Bar().Hwnd(), message, 0, 0));
    }
    int PictureSize(UINT message = TB_GETIMAGELIST) {
        int cx = 0, cy = 0;
        ImageList_GetIconSize(Pictures(message), &cx, &cy);
        return cx == cy ? cx : -1;
    }
    // The toolbar's band is as high as its buttons.
    bool BandFits() {
        HWND rebar = Frame().Rebar();
        const int index = static_cast<int>(::SendMessageA(rebar, RB_IDTOINDEX, kToolbarBandId, 0));
        REBARBANDINFOA band{};
        band.cbSize = sizeof band;
        band.fMask = RBBIM_CHILDSIZE;
        ::SendMessageA(rebar, RB_GETBANDINFOA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&band));
        return static_cast<int>(band.cyMinChild) == ButtonHeight() && static_cast<int>(band.cyChild) == ButtonHeight();
    }
    void Command(WORD id) { ::SendMessageA(Frame().Hwnd(), WM_COMMAND, id, 0); }

};

TEST_F(MainFrameToolbar, EmptyLayoutShowsTheResourceAndTheDialogSavesIt) {
    HWND hwnd = Show();
    ASSERT_NE(hwnd, nullptr);
    EXPECT_EQ(Commands(), kResourceCommands);
    EXPECT_FALSE(ListStyle());
    EXPECT_EQ(ButtonText(32805), "增加书签") << "labels below the pictures";
    EXPECT_EQ(PictureSize(), 28);
    EXPECT_EQ(settings_->GUI_ToolbarSkin, "Skin\\Toolbar\\Normal\\");
    EXPECT_EQ(Bar().SkinFolder(), folder_ + "Skin\\Toolbar\\Normal\\");
    EXPECT_TRUE(Frame().CommandEnabled(ID_VIEW_CUSTOMIZE));

    dialog_test::DialogScript script;
    script.On(HasOptionLists, [&](HWND d) {
        EXPECT_EQ(Bar().CustomizeDialog(), d);
        EXPECT_EQ(ListTexts(d, 5000), (std::vector<std::string>{"显示文字标签", "选择性的将文字置于右侧", "不显示文字标签"}));
        EXPECT_EQ(ListTexts(d, 5010), (std::vector<std::string>{"小图标", "大图标"}));
        EXPECT_EQ(Selection(d, 5000), 0);
        EXPECT_EQ(Selection(d, 5010), 1);
        EXPECT_FALSE(::IsWindowVisible(::GetDlgItem(d, kHelpButton)));
        // Every added control lies inside the client area and on no other
        // control; the labels read as the pack (here built-in) says.
        RECT client{};
        ::GetClientRect(d, &client);
        std::vector<HWND> children;
        for (HWND c = ::GetWindow(d, GW_CHILD); c; c = ::GetWindow(c, GW_HWNDNEXT)) {
            if (::IsWindowVisible(c)) children.push_back(c);
        }
        std::vector<std::string> labels;
        const int added = static_cast<int>(children.size());
        int checked = 0;
        for (HWND mine : children) {
            const int id = ::GetDlgCtrlID(mine);
            char name[32] = "";
            ::GetClassNameA(mine, name, sizeof name);
            const std::string text = dialog_test::Text(mine);
            const bool isLabel = std::strcmp(name, "Static") == 0 && (text == "标签选项:" || text == "图标选项:");
            if (id != 5000 && id != 5010 && !isLabel) continue;
            if (isLabel) labels.push_back(text);
            ++checked;
            const RECT r = ClientRectOf(d, mine);
            EXPECT_TRUE(r.left >= 0 && r.top >= 0 && r.right <= client.right && r.bottom <= client.bottom) << id;
            for (HWND other : children) {
                if (other == mine) continue;
                const RECT o = ClientRectOf(d, other);
                RECT overlap{};
                EXPECT_FALSE(::IntersectRect(&overlap, &r, &o))
                    << id << " overlaps " << ::GetDlgCtrlID(other) << " " << dialog_test::Text(other);
            }
        }
        EXPECT_EQ(checked, 4) << "of " << added << " controls";
        EXPECT_EQ(labels, (std::vector<std::string>{"标签选项:", "图标选项:"}));
        // In the middle of the screen.
        RECT window{}, work{};
        ::GetWindowRect(d, &window);
        ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
        EXPECT_LE(std::abs((window.left + window.right) - (work.left + work.right)), 2);
        EXPECT_LE(std::abs((window.top + window.bottom) - (work.top + work.bottom)), 2);
        dialog_test::Click(d, IDCANCEL);
    });
    Command(ID_VIEW_CUSTOMIZE);
    EXPECT_TRUE(script.AllStepsRan()) << script.Failure();
    EXPECT_EQ(Bar().CustomizeDialog(), nullptr);
    EXPECT_EQ(settings_->GUI_ToolbarData,
              "0,1,32910,32915,0,32770,32795,32820,0,32805,32815,32825,0,32855,32870,0,32800,32940,32880,0,32790,57664");
}

TEST_F(MainFrameToolbar, ChoicesApplyAtOnceAndResetGivesTheDefaultLayout) {
    ASSERT_NE(Show(), nullptr);
    const int labelledHeight = ButtonHeight();
    dialog_test::DialogScript script;
    script.On(HasOptionLists, [&](HWND d) { Choose(d, 5000, 2); })
        .On([&](HWND) { return ButtonHeight() < labelledHeight && BandFits(); },
            [&](HWND d) {
                EXPECT_EQ(ButtonText(32805), "");
                EXPECT_EQ(Bar().TextOption(), 2);
                Choose(d, 5010, 0);
            })
        .On([&](HWND) { return PictureSize() == 20 && BandFits(); },
            [&](HWND d) {
                EXPECT_EQ(PictureSize(TB_GETHOTIMAGELIST), 20);
                EXPECT_EQ(PictureSize(TB_GETDISABLEDIMAGELIST), 20);
                Choose(d, 5000, 1);
            })
        .On([&](HWND) { return ListStyle() && BandFits(); },
            [&](HWND d) {
                EXPECT_EQ(ButtonText(32805), "增加书签");
                dialog_test::Click(d, kResetButton);
            })
        .On([&](HWND d) { return Commands().size() == 15 && BandFits() && ListedButtons(d) == 16; },
            [&](HWND d) {
                // The dialog lists the buttons Reset placed (and its closing
                // entry), not the ones before.
                EXPECT_EQ(Selection(d, 5000), 0);
                EXPECT_EQ(Selection(d, 5010), 1);
                EXPECT_FALSE(ListStyle());
                EXPECT_EQ(PictureSize(), 28);
                dialog_test::Click(d, IDCANCEL);
            });
    Command(ID_VIEW_CUSTOMIZE);
    EXPECT_TRUE(script.AllStepsRan()) << script.Failure();
    EXPECT_EQ(Commands(), (std::vector<int>{32770, 32820, 32795, 0, 32805, 32825, 32815, 0, 32855, 32870, 0, 32800,
                                            32940, 0, 57664}));
    EXPECT_EQ(settings_->GUI_ToolbarData, kDefaultLayout);
}

TEST_F(MainFrameToolbar, RightClickOffersCustomizingInItsMenu) {
    ASSERT_NE(Show(), nullptr);
    static std::string s_item;
    s_item.clear();
    const UINT_PTR timer = ::SetTimer(nullptr, 0, 50, [](HWND, UINT, UINT_PTR, DWORD) {
        HWND popup = nullptr;
        ::EnumThreadWindows(::GetCurrentThreadId(), [](HWND w, LPARAM found) -> BOOL {
            char name[16] = "";
            ::GetClassNameA(w, name, sizeof name);
            if (std::string(name) != "#32768" || !::IsWindowVisible(w)) return TRUE;
            *reinterpret_cast<HWND*>(found) = w;
            return FALSE;
        }, reinterpret_cast<LPARAM>(&popup));
        if (!popup || !s_item.empty()) return;
        HMENU menu = reinterpret_cast<HMENU>(::SendMessageA(popup, MN_GETHMENU, 0, 0));
        char text[64] = "";
        ::GetMenuStringA(menu, 0, text, sizeof text, MF_BYPOSITION);
        s_item = text;
        ::PostMessageA(popup, WM_KEYDOWN, VK_DOWN, 0);
        ::PostMessageA(popup, WM_KEYDOWN, VK_RETURN, 0);
    });
    dialog_test::DialogScript script;
    script.On(HasOptionLists, [](HWND d) { dialog_test::Click(d, IDCANCEL); });
    RECT button{};
    ::SendMessageA(Bar().Hwnd(), TB_GETRECT, 32805, reinterpret_cast<LPARAM>(&button));
    ::SendMessageA(Bar().Hwnd(), WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(button.left + 4, button.top + 4));
    ::SendMessageA(Bar().Hwnd(), WM_RBUTTONUP, 0, MAKELPARAM(button.left + 4, button.top + 4));
    ::KillTimer(nullptr, timer);
    EXPECT_EQ(s_item, "定制工具栏");
    EXPECT_TRUE(script.AllStepsRan()) << script.Failure();
    EXPECT_EQ(settings_->GUI_ToolbarData.substr(0, 4), "0,1,") << "saved when the dialog closed";
}

TEST_F(MainFrameToolbar, LayoutFromTheSettingsSkipsUnknownButtons) {
    settings_->GUI_ToolbarData = "2,0,32805,99999,0,57664";
    ASSERT_NE(Show(), nullptr);
    EXPECT_EQ(Commands(), (std::vector<int>{32805, 0, 57664}));
    EXPECT_EQ(ButtonText(32805), "");
    EXPECT_EQ(PictureSize(), 20);
    EXPECT_TRUE(BandFits());
    Bar().SaveLayout();
    EXPECT_EQ(settings_->GUI_ToolbarData, "2,0,32805,0,57664");

    // A second copy of a button is left out; separators may repeat; every
    // button placed shows its label.
    Bar().RestoreLayout("1,1,32805,0,32805,0,32910");
    EXPECT_EQ(Commands(), (std::vector<int>{32805, 0, 0, 32910}));
    EXPECT_TRUE(ListStyle());
    EXPECT_EQ(ButtonText(32805), "增加书签");
    EXPECT_EQ(ButtonText(32910), "导入书签");
    EXPECT_EQ(PictureSize(), 28);
}

TEST_F(MainFrameToolbar, SkinStripsReplaceTheirOwnSlotOnly) {
    ASSERT_NE(Show(), nullptr);
    testing_support::TempDir skin;
    const COLORREF green = RGB(12, 200, 34);
    WriteBytes(skin.File("Toolbar28H.bmp"), BitmapFile(476, 28, green));
    Bar().SetSkinFolder(skin.Path().string());
    EXPECT_EQ(Bar().SkinFile(4), skin.File("Toolbar28H.bmp"));
    for (int strip : {0, 1, 2, 3, 5}) EXPECT_EQ(Bar().SkinFile(strip), "") << strip;
    EXPECT_EQ(Bar().SkinFolder().back(), '\\');
    Bar().SetIconOption(1);
    EXPECT_EQ(PictureColour(Pictures(TB_GETHOTIMAGELIST)), green);
    EXPECT_NE(PictureColour(Pictures(TB_GETIMAGELIST)), green);

    // A file that is no bitmap, and a strip of the small height in the large
    // slot: the program's strips fill both.
    WriteBytes(skin.File("Toolbar28C.bmp"), "not a picture");
    WriteBytes(skin.File("Toolbar28U.bmp"), BitmapFile(476, 20, green));
    Bar().SetSkinFolder(skin.Path().string());
    Bar().SetIconOption(1);
    for (UINT message : {TB_GETIMAGELIST, TB_GETDISABLEDIMAGELIST}) {
        EXPECT_EQ(PictureSize(message), 28);
        EXPECT_EQ(ImageList_GetImageCount(Pictures(message)), 17);
        EXPECT_NE(PictureColour(Pictures(message)), green);
    }
    EXPECT_EQ(PictureColour(Pictures(TB_GETHOTIMAGELIST)), green);
}

TEST_F(MainFrameToolbar, ReplacedPictureListsAreFreed) {
    ASSERT_NE(Show(), nullptr);
    int survivors = 0;
    for (int i = 0; i < 100; ++i) {
        std::vector<HBITMAP> before;
        for (UINT message : {TB_GETIMAGELIST, TB_GETHOTIMAGELIST, TB_GETDISABLEDIMAGELIST}) {
            IMAGEINFO info{};
            ASSERT_TRUE(ImageList_GetImageInfo(Pictures(message), 0, &info));
            before.push_back(info.hbmImage);
        }
        Bar().SetIconOption(i % 2);
        for (HBITMAP old : before) survivors += ::GetObjectType(old) != 0;
    }
    EXPECT_EQ(survivors, 0) << "picture strips left behind by 100 changes";
    IMAGEINFO info{};
    ASSERT_TRUE(ImageList_GetImageInfo(Pictures(TB_GETIMAGELIST), 0, &info));
    EXPECT_EQ(::GetObjectType(info.hbmImage), static_cast<DWORD>(OBJ_BITMAP));
}

TEST_F(MainFrameToolbar, ToolTipIsTheDescriptionCutInsideTheRecordsBuffer) {
    // The 79-byte cut would fall inside a character.
    // The longest value a pack holds is 259 bytes: 254 of description, the
    // escaped line break and the label.
    std::string description = "ab";
    for (int i = 0; i < 126; ++i) description += "书";
    ASSERT_EQ(description.size(), 254u);
    std::filesystem::create_directories(folder_ + "Language");
    WriteBytes(folder_ + "Language\\Test.ini", "[Info]\r\nLanguage=Test\r\nCodepage=936\r\n[message]\r\n32805=" +
                                                   description + "\\nAdd\r\n");
    settings_->General_Language = "Test";
    HWND hwnd = Show();
    ASSERT_NE(hwnd, nullptr);
    EXPECT_EQ(ButtonText(32805), "Add");
    EXPECT_EQ(ButtonText(32815), "删除书签") << "no key: the string table's label";
    HWND tips = reinterpret_cast<HWND>(::SendMessageA(Bar().Hwnd(), TB_GETTOOLTIPS, 0, 0));
    ASSERT_NE(tips, nullptr);

    struct {
        NMTTDISPINFOA info;
        char guard[300];
    } narrow{};
    std::memset(narrow.guard, 0x5A, sizeof narrow.guard);
    narrow.info.hdr = NMHDR{tips, 32805, TTN_GETDISPINFOA};
    ::SendMessageA(hwnd, WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&narrow.info));
    ASSERT_NE(narrow.info.lpszText, nullptr);
    EXPECT_EQ(std::string(narrow.info.lpszText), description.substr(0, 78));
    EXPECT_EQ(std::string(narrow.guard, sizeof narrow.guard), std::string(sizeof narrow.guard, 0x5A));

    struct {
        NMTTDISPINFOW info;
        wchar_t guard[300];
    } wide{};
    std::wmemset(wide.guard, 0x5A5A, 300);
    wide.info.hdr = NMHDR{tips, 32805, TTN_GETDISPINFOW};
    ::SendMessageA(hwnd, WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&wide.info));
    ASSERT_NE(wide.info.lpszText, nullptr);
    const std::string expected = description.substr(0, 2 + 77 * 2);  // 79 characters
    EXPECT_EQ(Narrow(wide.info.lpszText), expected);
    EXPECT_EQ(std::wstring(wide.guard, 300), std::wstring(300, 0x5A5A));

    // A button the pack does not name: the string table's description.
    narrow.info.hdr.idFrom = 32815;
    ::SendMessageA(hwnd, WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&narrow.info));
    EXPECT_STREQ(narrow.info.lpszText, "删除书签");

    // An id that is no button: an empty tip.
    narrow.info.hdr.idFrom = 4242;
    ::SendMessageA(hwnd, WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&narrow.info));
    EXPECT_STREQ(narrow.info.lpszText, "");

    // A real hover over the button shows the description.
    RECT button{};
    ::SendMessageA(Bar().Hwnd(), TB_GETRECT, 32805, reinterpret_cast<LPARAM>(&button));
    ::MapWindowPoints(Bar().Hwnd(), nullptr, reinterpret_cast<POINT*>(&button), 2);
    for (int step = 0; step < 3; ++step) {
        dialog_test::MoveMouseTo(button.left + 5 + step, button.top + 5 + step);
        Pump();
    }
    ASSERT_TRUE(PumpUntil([&] { return ::IsWindowVisible(tips) != FALSE; })) << "no tool tip came";
    wchar_t shown[128] = L"";
    TTTOOLINFOW tool{};
    tool.cbSize = sizeof tool;
    ASSERT_TRUE(::SendMessageW(tips, TTM_GETCURRENTTOOLW, 0, reinterpret_cast<LPARAM>(&tool)));
    EXPECT_EQ(tool.uId, 32805u);
    tool.lpszText = shown;
    ::SendMessageW(tips, TTM_GETTEXTW, 128, reinterpret_cast<LPARAM>(&tool));
    // The toolbar of this window asks in the byte form.
    EXPECT_EQ(Narrow(shown), description.substr(0, 78));
}

}  // namespace
