// The import/export wizard's three pages.
#pragma once

#include "wizard_page.h"

#include <string>

class ClassRecord;

namespace wizard {

// Page 1: the kind of source or destination and its folder or file.
class CTypePage : public CWizardPage {
public:
    explicit CTypePage(CImportExportWizard& wizard);

protected:
    void OnInit() override;
    void OnSetActive() override;
    LONG_PTR OnWizNext() override;
    bool OnCommand(WORD id, WORD code) override;

private:
    int SelectedType() const;
    void ShowPathOf(int type);
    void Browse();
    bool BrowseFolder(std::string& chosen);
    bool BrowseFile(int type, std::string& chosen);
    // Tells the user that a chosen path cannot be used.
    void RefusePath();
    std::string Caption() const;
};

// Page 2: the category to import into or to export.
class CClassPage : public CWizardPage {
public:
    explicit CClassPage(CImportExportWizard& wizard);

protected:
    void OnInit() override;
    void OnSetActive() override;
    bool OnCommand(WORD id, WORD code) override;

private:
    void ShowTarget();
    void Browse();
};

// Page 3: runs the job and shows its progress, then what it did.
class CProgressPage : public CWizardPage {
public:
    explicit CProgressPage(CImportExportWizard& wizard);

protected:
    void OnInit() override;
    void OnSetActive() override;
    LONG_PTR OnWizBack() override { return -1; }
    bool OnQueryCancel() override;
    bool OnWizFinish() override { return !finished_; }
    void OnTimer(UINT_PTR id) override;

private:
    static constexpr UINT_PTR kProgressTimer = 1;
    static constexpr UINT kProgressPeriodMs = 300;
    void Finish();
    void ShowCancelButton(bool shown);

    bool started_ = false;
    bool finished_ = false;
    bool cancelled_ = false;  // Cancel was pressed while the job ran
};

}  // namespace wizard
