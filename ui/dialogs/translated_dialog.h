// What every editing dialog does when it opens and when it refuses a value:
// translation from its language-pack section, centring on its owner, the
// texts of its mode, and the warning that keeps it open.
#pragma once

#include "dialog_texts.h"
#include "framework/dialog_base.h"
#include "framework/unique_handle.h"

#include <windows.h>

#include <string>
#include <string_view>

namespace dialogs {

class CTranslatedDialog : public framework::CDialogBase {
public:
    // Also makes sure the common controls the templates use are registered.
    CTranslatedDialog(int templateId, std::string_view section);

protected:
    INT_PTR HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
    // Translates and centres the dialog, then calls OnOpen.
    bool OnInitDialog() final;
    virtual bool OnOpen() { return true; }

    std::string_view Section() const { return section_; }

    // The pack's text for `key`, or its built-in text.
    static std::string Text(const TextKey& key);
    // Sets the window title and the label of the single tab.
    void SetTitleAndTab(const std::string& title, int tabId);
    // Keeps the dialog above other windows without moving or activating it.
    void MakeTopmost();
    // A warning box with `message`; then the focus goes to control `id`.
    void Refuse(const TextKey& message, int id);

private:
    // Labels lying on the dialog's tab control take the colour of the tab's
    // page, which a theme may draw lighter than the dialog.
    HBRUSH TabPageBrush(HWND control, HDC dc);

    std::string_view section_;
    framework::UniqueBrush tabPageBrush_;
    COLORREF tabPageColour_ = CLR_INVALID;
    bool tabPageMeasured_ = false;
};

}  // namespace dialogs
