#include "toolbar/skin_toolbar.h"

#include "classtree_res.h"
#include "framework/tool_tip_text.h"
#include "framework/ui_text.h"
#include "language.h"
#include "language_prompts.h"
#include "resource.h"
#include "setting.h"

#include <algorithm>

namespace toolbar {

namespace {

constexpr int kImageWidth = 16;  // the pictures of toolbar resource 128
constexpr int kImageHeight = 15;
constexpr int kDropDownSubmenu = 3;
constexpr WORD kToolbarResourceType = 241;

// The commands of the toolbar resource's entries, 0 for a separator. The
// resource compiler of the Windows SDK writes WORDs (version 1, picture
// width and height, count, commands); the GNU one writes DWORDs without the
// version (width, height, count, commands). Both are read.
std::vector<WORD> ToolbarCommands(const BYTE* data, std::size_t size) {
    std::vector<WORD> commands;
    auto word = [&](std::size_t at) { return static_cast<WORD>(data[at] | (data[at + 1] << 8)); };
    auto dword = [&](std::size_t at) { return static_cast<DWORD>(word(at) | (static_cast<DWORD>(word(at + 2)) << 16)); };
    if (size >= 8 && word(0) == 1 && 8 + static_cast<std::size_t>(word(6)) * 2 <= size) {
        for (std::size_t i = 0; i < word(6); ++i) commands.push_back(word(8 + i * 2));
    } else if (size >= 12 && dword(8) <= (size - 12) / 4) {
        for (std::size_t i = 0; i < dword(8); ++i) commands.push_back(static_cast<WORD>(dword(12 + i * 4)));
    }
    return commands;
}

std::string StringTableText(HINSTANCE instance, UINT id) {
    char text[512] = "";
    ::LoadStringA(instance, id, text, sizeof text);
    return text;
}

}  // namespace

CSkinToolBar::~CSkinToolBar() {
    if (hook_) ::UnhookWindowsHookEx(hook_);
    if (topLevel_ && ::IsWindow(topLevel_)) {
        ::RemoveWindowSubclass(topLevel_, &CSkinToolBar::TopLevelProc, reinterpret_cast<UINT_PTR>(this));
    }
    if (bar_ && ::IsWindow(bar_)) {
        for (int list : {TB_SETIMAGELIST, TB_SETHOTIMAGELIST, TB_SETDISABLEDIMAGELIST}) {
            ::SendMessageA(bar_, static_cast<UINT>(list), 0, 0);
        }
    }
    for (HIMAGELIST& list : images_) {
        if (list) ImageList_Destroy(list);
        list = nullptr;
    }
}

bool CSkinToolBar::RegisterClass() const {
    WNDCLASSEXA existing{};
    existing.cbSize = sizeof existing;
    if (::GetClassInfoExA(instance_, kClassName, &existing)) return true;
    WNDCLASSEXA system{};
    system.cbSize = sizeof system;
    if (!::GetClassInfoExA(nullptr, TOOLBARCLASSNAMEA, &system)) return false;
    system.hInstance = instance_;
    system.lpszClassName = kClassName;
    return ::RegisterClassExA(&system) != 0;
}

bool CSkinToolBar::CreateToolBar(HWND parent, HINSTANCE instance) {
    instance_ = instance;
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_BAR_CLASSES};
    ::InitCommonControlsEx(&controls);
    if (!RegisterClass()) return false;
    bar_ = ::CreateWindowExA(0, kClassName, "", kStyle, 0, 0, 100, 40, parent, nullptr, instance_, nullptr);
    if (!bar_) return false;
    ::SendMessageA(bar_, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    ::SendMessageA(bar_, TB_SETEXTENDEDSTYLE, 0,
                   TBSTYLE_EX_DRAWDDARROWS | TBSTYLE_EX_MIXEDBUTTONS | TBSTYLE_EX_HIDECLIPPEDBUTTONS);
    ::SendMessageA(bar_, WM_SETFONT, reinterpret_cast<WPARAM>(::GetStockObject(DEFAULT_GUI_FONT)), FALSE);
    if (!LoadButtons()) return false;
    SetIconOption(kDefaultIconOption);
    SetTextOption(kDefaultTextOption);
    // Its notifications reach the top-level window through the rebar: the
    // toolbar takes its own there, before that window's handler.
    topLevel_ = ::GetAncestor(parent, GA_ROOT);
    if (topLevel_) {
        ::SetWindowSubclass(topLevel_, &CSkinToolBar::TopLevelProc, reinterpret_cast<UINT_PTR>(this),
                            reinterpret_cast<DWORD_PTR>(this));
    }
    return true;
}

void CSkinToolBar::SetSkinFolder(std::string folder) {
    if (!folder.empty() && folder.back() != '\\' && folder.back() != '/') folder += '\\';
    skinFolder_ = folder;
    static constexpr const char* kNames[kStripCount] = {"Toolbar20C.bmp", "Toolbar20H.bmp", "Toolbar20U.bmp",
                                                         "Toolbar28C.bmp", "Toolbar28H.bmp", "Toolbar28U.bmp"};
    for (int i = 0; i < kStripCount; ++i) {
        const std::string path = folder + kNames[i];
        const DWORD attributes = ::GetFileAttributesA(path.c_str());
        const bool present = attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
        skinFiles_[i] = present ? path : std::string();
    }
}

// The entries of toolbar resource 128, each with its string-table text.
bool CSkinToolBar::LoadButtons() {
    HRSRC found = ::FindResourceA(instance_, MAKEINTRESOURCEA(IDR_MAINFRAME), MAKEINTRESOURCEA(kToolbarResourceType));
    HGLOBAL loaded = found ? ::LoadResource(instance_, found) : nullptr;
    const auto* data = loaded ? static_cast<const BYTE*>(::LockResource(loaded)) : nullptr;
    const DWORD size = found ? ::SizeofResource(instance_, found) : 0;
    if (!data) return false;
    const std::vector<WORD> ids = ToolbarCommands(data, size);
    if (ids.empty()) return false;
    const std::size_t count = ids.size();
    int image = 0;
    for (std::size_t i = 0; i < count; ++i) {
        ToolButtonInfo info;
        const WORD id = ids[i];
        if (id == 0) {
            info.button.fsStyle = BTNS_SEP;
        } else {
            info.button.iBitmap = image++;
            info.button.idCommand = id;
            info.button.fsState = TBSTATE_ENABLED;
            info.button.fsStyle = BTNS_BUTTON | BTNS_AUTOSIZE | (id == kDropDownCommand ? BTNS_DROPDOWN : 0);
            const ButtonTexts texts = SplitButtonText(StringTableText(instance_, id));
            info.label = texts.label;
            info.description = texts.description;
        }
        table_.push_back(info);
    }
    std::vector<TBBUTTON> buttons;
    for (const ToolButtonInfo& info : table_) buttons.push_back(info.button);
    ::SendMessageA(bar_, TB_ADDBUTTONSA, buttons.size(), reinterpret_cast<LPARAM>(buttons.data()));
    return true;
}

void CSkinToolBar::RefreshTexts() {
    for (ToolButtonInfo& info : table_) {
        if (info.button.fsStyle & BTNS_SEP) continue;
        const UINT id = static_cast<UINT>(info.button.idCommand);
        const std::string text =
            framework::UiText("message", std::to_string(id), StringTableText(instance_, id));
        const ButtonTexts texts = SplitButtonText(text);
        info.label = texts.label;
        info.description = texts.description;
    }
    SetTextOption(textOption_ < 0 ? 0 : textOption_);
}

// One strip as an image list of `size`-pixel pictures: the skin's file when
// it loads as a bitmap of that height, else the program's own.
HIMAGELIST CSkinToolBar::LoadStrip(int strip, int builtinId, int size) const {
    HBITMAP bitmap = nullptr;
    if (!skinFiles_[strip].empty()) {
        bitmap = static_cast<HBITMAP>(
            ::LoadImageA(nullptr, skinFiles_[strip].c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE | LR_CREATEDIBSECTION));
        BITMAP info{};
        if (bitmap && (::GetObjectA(bitmap, sizeof info, &info) == 0 || info.bmHeight != size || info.bmWidth < size)) {
            ::DeleteObject(bitmap);
            bitmap = nullptr;
        }
    }
    if (!bitmap) {
        bitmap = static_cast<HBITMAP>(
            ::LoadImageA(instance_, MAKEINTRESOURCEA(builtinId), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    }
    if (!bitmap) return nullptr;
    BITMAP info{};
    ::GetObjectA(bitmap, sizeof info, &info);
    HIMAGELIST list = ImageList_Create(size, size, ILC_COLOR24 | ILC_MASK, std::max(1L, info.bmWidth / size), 0);
    if (list && ImageList_AddMasked(list, bitmap, kMaskColour) < 0) {
        ImageList_Destroy(list);
        list = nullptr;
    }
    ::DeleteObject(bitmap);
    return list;
}

// The toolbar hands back the list it drops; this object made it, so it
// destroys it.
void CSkinToolBar::ApplyImages() {
    const bool small = iconOption_ == 0;
    const int size = small ? kSmallSize : kLargeSize;
    const int ids[3] = {small ? IDB_TOOLBAR20_NORMAL : IDB_TOOLBAR28_NORMAL,
                        small ? IDB_TOOLBAR20_HOT : IDB_TOOLBAR28_HOT,
                        small ? IDB_TOOLBAR20_DISABLED : IDB_TOOLBAR28_DISABLED};
    const UINT messages[3] = {TB_SETIMAGELIST, TB_SETHOTIMAGELIST, TB_SETDISABLEDIMAGELIST};
    for (int i = 0; i < 3; ++i) {
        HIMAGELIST list = LoadStrip((small ? 0 : 3) + i, ids[i], size);
        ::SendMessageA(bar_, messages[i], 0, reinterpret_cast<LPARAM>(list));
        if (images_[i] && images_[i] != list) ImageList_Destroy(images_[i]);
        images_[i] = list;
    }
}

void CSkinToolBar::SetIconOption(int option) {
    iconOption_ = option == 0 || option == 1 ? option : kDefaultIconOption;
    if (!bar_) return;
    ApplyImages();
    if (textOption_ >= 0) SetTextOption(textOption_);
}

int CSkinToolBar::TextHeight() const {
    HDC dc = ::GetDC(bar_);
    HGDIOBJ old = ::SelectObject(dc, reinterpret_cast<HGDIOBJ>(::SendMessageA(bar_, WM_GETFONT, 0, 0)));
    TEXTMETRICA metrics{};
    ::GetTextMetricsA(dc, &metrics);
    ::SelectObject(dc, old);
    ::ReleaseDC(bar_, dc);
    return metrics.tmHeight;
}

const ToolButtonInfo* CSkinToolBar::RecordOf(int command) const {
    for (const ToolButtonInfo& info : table_) {
        if (!(info.button.fsStyle & BTNS_SEP) && info.button.idCommand == command) return &info;
    }
    return nullptr;
}

std::string CSkinToolBar::LabelOf(int command) const {
    const ToolButtonInfo* record = textOption_ == 2 ? nullptr : RecordOf(command);
    return record ? record->label : std::string();
}

// Every button on the toolbar gets its record's label (none without
// labels) and sizes itself to it. Each change makes the toolbar lay out all
// its buttons again, so a button that already shows the right text is left
// alone.
void CSkinToolBar::ApplyLabels() {
    const int count = static_cast<int>(::SendMessageA(bar_, TB_BUTTONCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        TBBUTTON now{};
        ::SendMessageA(bar_, TB_GETBUTTON, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&now));
        if (now.fsStyle & BTNS_SEP) continue;
        std::string text = LabelOf(now.idCommand);
        const BYTE style = static_cast<BYTE>(now.fsStyle | BTNS_AUTOSIZE);
        char shown[512] = "";
        TBBUTTONINFOA button{};
        button.cbSize = sizeof button;
        button.dwMask = TBIF_TEXT | TBIF_BYINDEX;
        button.pszText = shown;
        button.cchText = sizeof shown;
        ::SendMessageA(bar_, TB_GETBUTTONINFOA, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&button));
        if (style == now.fsStyle && text == shown) continue;
        button.dwMask = TBIF_TEXT | TBIF_STYLE | TBIF_BYINDEX;
        button.fsStyle = style;
        button.pszText = text.data();
        ::SendMessageA(bar_, TB_SETBUTTONINFOA, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&button));
    }
}

void CSkinToolBar::SetTextOption(int option) {
    textOption_ = option < 0 || option > 2 ? kDefaultTextOption : option;
    if (!bar_) return;
    const LONG_PTR style = ::GetWindowLongPtrA(bar_, GWL_STYLE);
    ::SetWindowLongPtrA(bar_, GWL_STYLE, textOption_ == 1 ? (style | TBSTYLE_LIST) : (style & ~TBSTYLE_LIST));
    const DWORD extended = static_cast<DWORD>(::SendMessageA(bar_, TB_GETEXTENDEDSTYLE, 0, 0));
    ::SendMessageA(bar_, TB_SETEXTENDEDSTYLE, 0, extended & ~TBSTYLE_EX_MIXEDBUTTONS);
    ApplyLabels();
    const int textHeight = TextHeight();
    const int height = textOption_ == 0 ? kImageHeight + textHeight + 7 : std::max(kImageHeight, textHeight) + 7;
    ::SendMessageA(bar_, TB_SETBUTTONSIZE, 0, MAKELPARAM(kImageWidth + 7, height));
    const int rows = textOption_ == 2 ? 0 : 1;
    ::SendMessageA(bar_, TB_SETMAXTEXTROWS, static_cast<WPARAM>(rows + 1), 0);
    ::SendMessageA(bar_, TB_SETMAXTEXTROWS, static_cast<WPARAM>(rows), 0);
    ::SendMessageA(bar_, TB_AUTOSIZE, 0, 0);
}

int CSkinToolBar::IdealWidth() const {
    const int count = static_cast<int>(::SendMessageA(bar_, TB_BUTTONCOUNT, 0, 0));
    if (count == 0) {
        RECT rect{};
        ::GetWindowRect(bar_, &rect);
        return rect.right - rect.left;
    }
    RECT last{};
    ::SendMessageA(bar_, TB_GETITEMRECT, static_cast<WPARAM>(count - 1), reinterpret_cast<LPARAM>(&last));
    return last.right;
}

std::string CSkinToolBar::ToolTipOf(UINT_PTR id) const {
    for (const ToolButtonInfo& info : table_) {
        if (!(info.button.fsStyle & BTNS_SEP) && static_cast<UINT_PTR>(info.button.idCommand) == id) {
            return info.description;
        }
    }
    return {};
}

void CSkinToolBar::ShowDropDown(const NMTOOLBARA& info) {
    HMENU menu = ::LoadMenuA(instance_, MAKEINTRESOURCEA(IDR_CONTEXT_MENUS));
    if (!menu) return;
    HMENU popup = ::GetSubMenu(menu, kDropDownSubmenu);
    if (popup) CLanguage::Instance()->TranslateMenu(popup);
    RECT button{};
    ::SendMessageA(bar_, TB_GETRECT, static_cast<WPARAM>(info.iItem), reinterpret_cast<LPARAM>(&button));
    ::MapWindowPoints(bar_, nullptr, reinterpret_cast<POINT*>(&button), 2);
    HWND owner = ::GetAncestor(bar_, GA_ROOT);
    TPMPARAMS exclude{sizeof exclude, button};
    if (popup) {
        ::TrackPopupMenuEx(popup, TPM_LEFTALIGN | TPM_TOPALIGN | TPM_VERTICAL | TPM_LEFTBUTTON, button.left,
                           button.bottom, owner, &exclude);
    }
    ::DestroyMenu(menu);
}

bool CSkinToolBar::OnNotify(const NMHDR& header, LRESULT& result) {
    if (!bar_) return false;
    HWND tips = reinterpret_cast<HWND>(::SendMessageA(bar_, TB_GETTOOLTIPS, 0, 0));
    if (tips && header.hwndFrom == tips && framework::IsToolTipTextRequest(header)) {
        framework::FillToolTipText(header, ToolTipOf(header.idFrom));
        result = 0;
        return true;
    }
    if (header.hwndFrom != bar_) return false;
    if (header.code == TBN_DROPDOWN) {
        const auto& info = reinterpret_cast<const NMTOOLBARA&>(header);
        if (info.iItem != kDropDownCommand) return false;
        ShowDropDown(info);
        result = TBDDRET_DEFAULT;
        return true;
    }
    if (header.code == NM_RCLICK) {
        ShowContextMenu();
        result = TRUE;
        return true;
    }
    return OnCustomizeNotify(header, result);
}

}  // namespace toolbar
