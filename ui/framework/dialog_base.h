// Base of the program's modal dialogs. The dialog procedure takes `this` from
// the WM_INITDIALOG lParam, keeps it in DWLP_USER and hands each message to
// the virtual HandleMessage. The caller sets a dialog's inputs, calls DoModal
// and reads its outputs afterwards.
#pragma once

#include <windows.h>

#include <string>

namespace framework {

class CDialogBase {
public:
    explicit CDialogBase(int templateId) : templateId_(templateId) {}
    virtual ~CDialogBase() = default;

    CDialogBase(const CDialogBase&) = delete;
    CDialogBase& operator=(const CDialogBase&) = delete;

    // Runs the dialog from template `templateId` of `instance` (the program's
    // module when none) owned by `owner`; returns the code it was ended with,
    // or -1 when it could not be created.
    INT_PTR DoModal(HWND owner, HINSTANCE instance = nullptr);

    HWND Hwnd() const { return hwnd_; }
    int TemplateId() const { return templateId_; }

protected:
    // Every message from WM_INITDIALOG on. Returns what a dialog procedure
    // returns: FALSE for "not handled". The default dispatches to the
    // handlers below.
    virtual INT_PTR HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam);

    // True lets the system put the focus on the first control.
    virtual bool OnInitDialog() { return true; }
    // True when the command was handled. The default ends the dialog through
    // OnOK and OnCancel.
    virtual bool OnCommand(WORD id, WORD code, HWND control);
    virtual void OnOK() { EndDialog(IDOK); }
    virtual void OnCancel() { EndDialog(IDCANCEL); }
    // A notification from a control; set `handled` and return the result.
    virtual LRESULT OnNotify(const NMHDR& header, bool& handled);

    void EndDialog(INT_PTR result);
    HWND Item(int id) const { return ::GetDlgItem(hwnd_, id); }
    // The whole text of a control or window, empty when it has none.
    static std::string WindowText(HWND window);
    bool SetItemText(int id, const std::string& text) const;

private:
    static INT_PTR CALLBACK DialogProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

    const int templateId_;
    HWND hwnd_ = nullptr;
};

}  // namespace framework
