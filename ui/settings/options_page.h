// One page of the settings dialog: a child dialog made from its template the
// first time the page is shown, translated from its language-pack section.
// When the dialog is left with OK, every page that was shown applies its
// values (OnApply); with Cancel, OnCancel.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

namespace settings {

class COptionsPage {
public:
    COptionsPage(int templateId, std::string_view section);
    virtual ~COptionsPage() = default;
    COptionsPage(const COptionsPage&) = delete;
    COptionsPage& operator=(const COptionsPage&) = delete;

    int TemplateId() const { return templateId_; }
    std::string_view Section() const { return section_; }
    HWND Hwnd() const { return hwnd_; }

    // Makes the page's window, hidden, as a child of `sheet`; the page's
    // resources come from `instance`. Returns the window (none on failure).
    HWND Create(HWND sheet, HINSTANCE instance);

    virtual void OnApply() {}
    virtual void OnCancel() {}

protected:
    // The window exists and is translated: fill it.
    virtual void OnInit() {}
    virtual bool OnCommand(WORD /*id*/, WORD /*code*/) { return false; }
    // A control's notification; true when taken, with `result`.
    virtual bool OnNotify(const NMHDR& /*header*/, LRESULT& /*result*/) { return false; }

    HWND Item(int id) const { return ::GetDlgItem(hwnd_, id); }
    HINSTANCE Instance() const { return instance_; }
    // The page's text `key` from its section, or `builtin`.
    std::string Text(std::string_view key, std::string_view builtin) const;

private:
    static INT_PTR CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    INT_PTR HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam);

    const int templateId_;
    const std::string_view section_;
    HWND hwnd_ = nullptr;
    HINSTANCE instance_ = nullptr;
};

}  // namespace settings
