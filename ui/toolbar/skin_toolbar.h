// CSkinToolBar: the main window's toolbar, a flat system toolbar under its
// own class name. Its buttons come from the toolbar resource with the
// program's pictures in two sizes (normal, hot and disabled strips); each
// button's label and tool tip come from the language pack, else from the
// program's string table ("tool tip\nlabel"). Button 32770 has a drop-down
// arrow opening the "DropDown" popup (add a category or a sub-category).
#pragma once

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

    CSkinToolBar() = default;
    ~CSkinToolBar();
    CSkinToolBar(const CSkinToolBar&) = delete;
    CSkinToolBar& operator=(const CSkinToolBar&) = delete;

    // Creates the toolbar in `parent` with the buttons of toolbar resource
    // 128 of `instance`, labels below large pictures.
    bool CreateToolBar(HWND parent, HINSTANCE instance);
    HWND Hwnd() const { return bar_; }
    int IdealWidth() const;
    const std::vector<ToolButtonInfo>& Buttons() const { return table_; }

    // Labels and tool tips in the language now chosen.
    void RefreshTexts();
    void SetTextOption(int option);
    void SetIconOption(int option);
    int TextOption() const { return textOption_; }
    int IconOption() const { return iconOption_; }

    // The description of a button, for its tool tip; empty for any other id.
    std::string ToolTipOf(UINT_PTR id) const;
    // Notifications from the toolbar that it answers itself (tool tips,
    // the drop-down arrow). True when taken.
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
    void ApplyImages();
    int TextHeight() const;

    HWND bar_ = nullptr;
    HINSTANCE instance_ = nullptr;
    std::vector<ToolButtonInfo> table_;
    int textOption_ = -1;
    int iconOption_ = 1;
    HIMAGELIST images_[3] = {nullptr, nullptr, nullptr};  // normal, hot, disabled
};

}  // namespace toolbar
