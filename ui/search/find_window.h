// CFindWindow: the window of Edit > Find and Tools > Find duplicates. A box
// where typing shows at once every bookmark whose title, URL or remark holds
// the text, or the groups of bookmarks whose URLs are the same; each with
// its category. Enter or a double-click shows the bookmark in its category
// in the main window; the result's menu opens, edits or deletes it through
// the bookmark list's own commands.
//
// The results point at records of the collection, so they are never read
// once the collection changed: a change shows empty rows until the timer,
// a moment later, searches again. While an import or export holds the
// collection the window reads nothing.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <cstdint>
#include <string>
#include <vector>

#include "bookmark_search.h"
#include "framework/window_base.h"

class CBookmarkStore;

namespace searchui {

// What the window asks of the main window.
class IFindHost {
public:
    virtual ~IFindHost() = default;
    // Selects the category in the tree and the bookmark in the list.
    virtual bool ShowBookmark(const ClassRecord* category, const BookmarkRecord* bookmark) = 0;
    // Runs a command of the bookmark list (edit, delete) on its selection.
    virtual void RunListCommand(WORD id) = 0;
};

class CFindWindow : public framework::CWindowBase {
public:
    enum class Mode { kSearch, kDuplicates };
    static constexpr const char kClassName[] = "quorva_FindWindow";
    static constexpr UINT_PTR kRefreshTimer = 1;
    static constexpr UINT kRefreshMs = 250;

    CFindWindow(CBookmarkStore& store, IFindHost& host) : store_(store), host_(host) {}

    // Opens the window (owned by `owner`) or brings it forward, in `mode`.
    void Open(HWND owner, Mode mode);
    void Close();
    Mode CurrentMode() const { return mode_; }
    const std::vector<search::Found>& Results() const { return results_; }
    HWND Box() const { return box_; }
    HWND ResultList() const { return list_; }

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    void CreateControls();
    void ApplyMode();
    void Layout();
    // Searches again (the box's text, or the duplicates) and shows it.
    void Refresh();
    bool ResultsCurrent() const;
    void OnGetDisplayInfo(NMLVDISPINFOA& info);
    int SelectedRow() const;
    void ShowSelected();
    void OnResultMenu();
    bool OnBoxMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result);

    CBookmarkStore& store_;
    IFindHost& host_;
    Mode mode_ = Mode::kSearch;
    HWND label_ = nullptr;
    HWND box_ = nullptr;
    HWND count_ = nullptr;
    HWND list_ = nullptr;
    HFONT font_ = nullptr;
    WNDPROC boxProc_ = nullptr;
    std::vector<search::Found> results_;
    std::vector<std::size_t> groupOf_;  // duplicates: each row's group, from 1
    std::uint64_t change_ = 0;          // the collection's change the results belong to
    std::string text_;                  // kept for the list's callbacks
};

}  // namespace searchui
