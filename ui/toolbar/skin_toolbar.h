// CSkinToolBar: the main window's toolbar, a flat system toolbar under its
// own class name. Its buttons come from the toolbar resource with the
// program's pictures in two sizes (normal, hot and disabled strips), which
// a skin folder may replace strip by strip; each button's label and tool
// tip come from the language pack, else from the program's string table
// ("tool tip\nlabel"). Button 32770 has a drop-down arrow opening the
// "DropDown" popup (add a category or a sub-category).
//
// The user arranges the buttons in the system's Customize Toolbar dialog,
// which gets two lists more (label mode, icon size); the arrangement is kept
// as one string in the settings ("GUI.ToolbarData").
//
// The toolbar subclasses the top-level window it belongs to, so that it
// answers its own notifications (tool tips, the customisation's questions,
// the drop-down arrow, the right click) before that window's handler.
#pragma once

#include "toolbar_layout.h"

#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

namespace toolbar {

struct ToolButtonInfo {
    TBBUTTON button{};
    std::string label;
    std::string description;
    bool isDefault = true;
};

class CSkinToolBar {
public:
    static constexpr const char kClassName[] = "zev_ToolBarEx";
    static constexpr DWORD kStyle = 0x5600094C;
    static constexpr int kSmallSize = 20;
    static constexpr int kLargeSize = 28;
    static constexpr COLORREF kMaskColour = RGB(255, 0, 255);
    static constexpr WORD kDropDownCommand = 32770;
    static constexpr WORD kCustomizeCommand = 32785;
    // The Customize dialog's two added drop-down lists; each list's label
    // has the next id.
    static constexpr int kTextOptionList = 5000;
    static constexpr int kIconOptionList = 5010;
    // Skin strips: normal, hot, disabled of the small size, then of the large.
    static constexpr int kStripCount = 6;

    CSkinToolBar() = default;
    ~CSkinToolBar();
    CSkinToolBar(const CSkinToolBar&) = delete;
    CSkinToolBar& operator=(const CSkinToolBar&) = delete;

    // Creates the toolbar in `parent` with the buttons of toolbar resource
    // 128 of `instance`, labels below large pictures, and subclasses the
    // top-level window above `parent`.
    bool CreateToolBar(HWND parent, HINSTANCE instance);
    HWND Hwnd() const { return bar_; }
    int IdealWidth() const;
    const std::vector<ToolButtonInfo>& Buttons() const { return table_; }

    // Remembers the skin's strips ("Toolbar20C.bmp" ... "Toolbar28U.bmp")
    // that exist in `folder`; the others come from the program. Applies at
    // the next icon option.
    void SetSkinFolder(std::string folder);
    const std::string& SkinFolder() const { return skinFolder_; }
    const std::string& SkinFile(int strip) const { return skinFiles_[strip]; }

    // Labels and tool tips in the language now chosen.
    void RefreshTexts();
    void SetTextOption(int option);
    void SetIconOption(int option);
    int TextOption() const { return textOption_; }
    int IconOption() const { return iconOption_; }

    // The layout Reset goes back to ("GUI.DefaultToolbarData").
    void SetDefaultLayout(std::string layout) { defaultLayout_ = std::move(layout); }
    // Arranges the toolbar as "GUI.ToolbarData" says; an empty value keeps
    // the buttons of the resource, labels below large pictures.
    void RestoreLayout();
    void RestoreLayout(const std::string& layout);
    // The arrangement now, as "GUI.ToolbarData" holds it, and writing it there.
    std::string Layout() const;
    void SaveLayout() const;

    // Runs the Customize Toolbar dialog; the arrangement is saved when it
    // closes. The dialog while it is open (for its tests).
    void Customize();
    HWND CustomizeDialog() const { return dialog_; }

    // The description of a button, for its tool tip; empty for any other id.
    std::string ToolTipOf(UINT_PTR id) const;
    // Notifications from the toolbar that it answers itself (tool tips,
    // the drop-down arrow, the right click, the customisation). True when
    // taken.
    bool OnNotify(const NMHDR& header, LRESULT& result);
    // Enables each button as `enabled` says.
    template <class Enabled>
    void UpdateStates(Enabled enabled) {
        for (const ToolButtonInfo& info : table_) {
            if (info.button.fsStyle & BTNS_SEP) continue;
            const WORD id = static_cast<WORD>(info.button.idCommand);
            const bool on = enabled(id);
            const bool now = ::SendMessageA(bar_, TB_ISBUTTONENABLED, id, 0) != 0;
            if (on != now) ::SendMessageA(bar_, TB_ENABLEBUTTON, id, MAKELONG(on ? TRUE : FALSE, 0));
        }
    }

private:
    bool RegisterClass() const;
    bool LoadButtons();
    void ShowDropDown(const NMTOOLBARA& info);
    void ShowContextMenu();
    void ApplyImages();
    HIMAGELIST LoadStrip(int strip, int builtinId, int size) const;
    int TextHeight() const;
    void ApplyLayout(const ToolbarLayout& layout);
    void ApplyLabels();
    const ToolButtonInfo* RecordOf(int command) const;
    std::string LabelOf(int command) const;
    void ResetLayout();
    bool OnCustomizeNotify(const NMHDR& header, LRESULT& result);
    bool FillButtonInfo(const NMHDR& header) const;
    bool InsertAllowed(int index) const;
    // The dialog's side (toolbar_customize.cpp).
    static LRESULT CALLBACK CreationHook(int code, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK DialogProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                       DWORD_PTR self);
    static LRESULT CALLBACK TopLevelProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                         DWORD_PTR self);
    void AddOptionLists(HWND dialog);
    void SelectOptionLists();
    void OnOptionChosen(int list);
    void TellDialogParent() const;
    void CheckDialogList(HWND dialog);

    HWND bar_ = nullptr;
    HWND topLevel_ = nullptr;
    HWND dialog_ = nullptr;
    HHOOK hook_ = nullptr;
    bool reopen_ = false;  // the dialog comes again once it has closed
    HINSTANCE instance_ = nullptr;
    std::vector<ToolButtonInfo> table_;
    int textOption_ = -1;
    int iconOption_ = 1;
    HIMAGELIST images_[3] = {nullptr, nullptr, nullptr};  // normal, hot, disabled
    std::string skinFolder_;
    std::string skinFiles_[kStripCount];
    std::string defaultLayout_;
};

}  // namespace toolbar
