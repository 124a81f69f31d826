// Shared by the class tree's tests: a stand-in for the main window that
// records what the view sends it, a view over a bookmark file written for the
// test, and the comparison of the control with the store.
#pragma once

#include "class_tree_view.h"
#include "test_support/temp_dir.h"

#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <memory>
#include <string>
#include <vector>

namespace classtree_test {

struct Sent {
    UINT msg;
    WPARAM wParam;
    LPARAM lParam;
};

// A top-level window standing in for the main frame: records the private
// messages and relays the auto-scroll request to the view as the frame does.
class FakeFrame {
public:
    FakeFrame();
    ~FakeFrame();
    HWND Hwnd() const { return hwnd_; }
    std::vector<Sent> messages;
    classtree::CClassTreeView* view = nullptr;
    // Messages of kind `msg` received so far.
    std::vector<Sent> Of(UINT msg) const;

private:
    static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    HWND hwnd_ = nullptr;
};

// Whether the control shows exactly the store's tree as far as it is filled:
// the same items in the same order and nesting, each carrying its record, its
// name as text, images 0 and 1, the button of a category with sub-categories
// exactly when the record has some, and the record's expanded state wherever
// it has children. A category whose sub-categories are not in the control
// must be closed in both.
testing::AssertionResult TreeMatchesStore(HWND tree, const ClassRecord* root);

// The tree as "depth:name[+]" lines in pre-order ('+' for expanded).
std::vector<std::string> Outline(const ClassRecord* root);

// The item drawn as drop target, none when no item carries the mark.
HTREEITEM MarkedDropTarget(HWND tree);

// News [Daily, Weather]; News/World; News/World/Europe; News/Sport; Tools;
// 音乐; 音乐/Jazz.
std::string SampleFile();
std::string FileOf(const std::vector<std::string>& lines);

// A view over `fileText` (written as bookmark.xml in a fresh folder) inside a
// FakeFrame, with every first-run and delete question switched off.
class ViewFixture : public testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    void Open(const std::string& fileText);
    void Close();

    HWND Tree() const { return view->Tree(); }
    CBookmarkStore& Store() const { return CBookmarkStore::Instance(); }
    ClassRecord* Find(const char* path) const;  // "News/World"
    void Select(const char* path);
    testing::AssertionResult Mirrors() const { return TreeMatchesStore(Tree(), Store().Root()); }
    std::string BookmarkFile() const;
    // Runs the thread's messages until `done` holds (or a safety limit).
    template <class Done>
    bool PumpUntil(Done done, DWORD limitMs = 10000) {
        const DWORD start = ::GetTickCount();
        while (!done()) {
            if (::GetTickCount() - start > limitMs) return false;
            MSG msg;
            if (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
                ::TranslateMessage(&msg);
                ::DispatchMessageA(&msg);
            } else {
                ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
            }
        }
        return true;
    }
    void Pump() {
        MSG msg;
        while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageA(&msg);
        }
    }

    std::unique_ptr<testing_support::TempDir> dir;
    std::unique_ptr<FakeFrame> frame;
    std::unique_ptr<classtree::CClassTreeView> view;
};

}  // namespace classtree_test
