// One page of the import/export wizard: a child dialog of the property
// sheet whose procedure hands each message to the page object.
#pragma once

#include <windows.h>
#include <prsht.h>

#include <string>
#include <string_view>

namespace wizard {

class CImportExportWizard;

class CWizardPage {
public:
    CWizardPage(CImportExportWizard& wizard, int templateId, std::string_view section);
    virtual ~CWizardPage() = default;
    CWizardPage(const CWizardPage&) = delete;
    CWizardPage& operator=(const CWizardPage&) = delete;

    // The sheet's record of this page.
    PROPSHEETPAGEA Record();

protected:
    // The page is shown for the first time: its window exists and has been
    // translated with the page's section.
    virtual void OnInit() {}
    // The page becomes the current one.
    virtual void OnSetActive() {}
    // Next or Back: -1 keeps the page, 0 goes on.
    virtual LONG_PTR OnWizNext() { return 0; }
    virtual LONG_PTR OnWizBack() { return 0; }
    // True refuses to close the wizard.
    virtual bool OnQueryCancel() { return false; }
    // Finish, by the button or by any message that presses it: true refuses.
    virtual bool OnWizFinish() { return false; }
    virtual bool OnCommand(WORD /*id*/, WORD /*code*/) { return false; }
    virtual void OnTimer(UINT_PTR /*id*/) {}

    CImportExportWizard& Wizard() const { return wizard_; }
    HWND Hwnd() const { return hwnd_; }
    HWND Sheet() const { return ::GetParent(hwnd_); }
    HWND Item(int id) const { return ::GetDlgItem(hwnd_, id); }
    // The page's text `key` from its section, or `builtin`.
    std::string Text(std::string_view key, std::string_view builtin) const;
    void SetItemText(int id, const std::string& text) const;
    void SetCaption(const std::string& text);
    void SetButtons(DWORD flags) const;

private:
    static constexpr UINT kApplyCaption = WM_APP + 1;
    static INT_PTR CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    INT_PTR OnNotify(const NMHDR& header);

    CImportExportWizard& wizard_;
    const int templateId_;
    const std::string_view section_;
    HWND hwnd_ = nullptr;
    std::string caption_;
};

}  // namespace wizard
