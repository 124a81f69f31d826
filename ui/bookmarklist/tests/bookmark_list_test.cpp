// The bookmark list in this test process beside a stand-in for the main
// window, over a bookmark file written for each test; driven through its
// messages, its commands and its drop target, with the dialogs answered by
// the dialog helper. After every operation the rows must be the category's
// bookmarks, also when it was refused or interrupted by a dialog.
#include "bookmark_list_view.h"

#include "class_tree_test_support.h"
#include "dialog_test_driver.h"
#include "dialogs_res.h"
#include "framework/private_messages.h"
#include "homepage_group.h"
#include "held_job_host.h"
#include "memory_file_system.h"
#include "pending_link_queue.h"
#include "setting.h"
#include "test_data_object.h"
#include "transfer_job.h"

#include <gtest/gtest.h>

#include <mutex>

#include <memory>
#include <string>
#include <vector>

namespace {

using classtree_test::FakeFrame;
using classtree_test::TestData;
using dialog_test::DialogScript;
using Lines = std::vector<std::string>;

class BookmarkList : public testing::Test {
protected:
    void SetUp() override {
        CSetting* s = CSetting::Instance();
        s->Other_DisplayAddBookmarkDlg = 0;
        s->Other_PromptWhenDelBookmark = 0;
        s->GUI_BookmarkCol1Show = 1;
        s->GUI_BookmarkCol1Width = 300;
        s->GUI_BookmarkCol0Width = -1;
        while (PendingLinkQueue::Instance().PopFront()) {
        }
        const std::string file = dir.File("bookmark.xml");
        testing_support::WriteBytes(
            file, classtree_test::FileOf({
                      "<G t=\"News\">",
                      "<a t=\"One\" u=\"http://one.example/\" r=\"first\"/>",
                      "<a t=\"HOME\" u=\"http://home.example/\" r=\"old\"/>",
                      "<a t=\"Three\" u=\"http://three.example/\" r=\"\"/>",
                      "</G>",
                      "<G t=\"Empty\"/>",
                      "<G t=\"Other\">",
                      "<a t=\"Elsewhere\" u=\"http://else.example/\" r=\"\"/>",
                      "</G>",
                  }));
        ASSERT_TRUE(Store().Load(file));
        view = std::make_unique<bookmarklist::CBookmarkListView>(frame.Hwnd());
        RECT rect{0, 0, 340, 300};
        ASSERT_NE(view->CreateView(frame.Hwnd(), rect), nullptr);
        Show("News");
    }
    void TearDown() override {
        view.reset();
        Store().ReleaseAll();
        CHomepageGroup::DestroyInstance();
        while (PendingLinkQueue::Instance().PopFront()) {
        }
    }

    static CBookmarkStore& Store() { return CBookmarkStore::Instance(); }
    static ClassRecord* Find(const char* name) { return Store().FindChildClass(Store().Root(), name, nullptr); }
    void Show(const char* name) {
        ::SendMessageA(view->Hwnd(), framework::UWM_CLASS_CHANGED, reinterpret_cast<WPARAM>(Find(name)), 0);
    }
    void Command(WORD id) { ::SendMessageA(view->Hwnd(), WM_COMMAND, id, 0); }
    void Select(std::initializer_list<int> rows) {
        ListView_SetItemState(view->List(), -1, 0, LVIS_SELECTED | LVIS_FOCUSED);
        for (int row : rows) ListView_SetItemState(view->List(), row, LVIS_SELECTED, LVIS_SELECTED);
        if (rows.size()) ListView_SetItemState(view->List(), *rows.begin(), LVIS_FOCUSED, LVIS_FOCUSED);
    }
    // The rows as the control draws them: "title url".
    Lines Shown() const {
        Lines lines;
        const int count = ListView_GetItemCount(view->List());
        for (int row = 0; row < count; ++row) {
            char title[256] = "", url[256] = "";
            ListView_GetItemText(view->List(), row, 0, title, sizeof title);
            ListView_GetItemText(view->List(), row, 1, url, sizeof url);
            lines.push_back(std::string(title) + " " + url);
        }
        return lines;
    }
    // The rows are the bookmarks of the category on display, in its order.
    testing::AssertionResult InStep() const {
        const ClassRecord* current = view->Current();
        const std::vector<BookmarkRecord*> expected = current ? current->bookmarks : std::vector<BookmarkRecord*>{};
        if (view->Rows() != expected) return testing::AssertionFailure() << "rows differ from the category";
        if (ListView_GetItemCount(view->List()) != static_cast<int>(expected.size())) {
            return testing::AssertionFailure() << "the control counts " << ListView_GetItemCount(view->List());
        }
        return testing::AssertionSuccess();
    }
    const BookmarkRecord* LastRemark() const {
        const auto sent = frame.Of(framework::UWM_SHOW_REMARK);
        return sent.empty() ? nullptr : reinterpret_cast<const BookmarkRecord*>(sent.back().wParam);
    }
    void Pump() {
        MSG msg;
        while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageA(&msg);
        }
    }
    template <class Done>
    bool PumpUntil(Done done, DWORD limitMs = 10000) {
        const DWORD start = ::GetTickCount();
        while (!done()) {
            if (::GetTickCount() - start > limitMs) return false;
            Pump();
            ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
        }
        return true;
    }
    void Queue(const char* title, const char* url, ClassRecord* target = nullptr) {
        PendingLinkQueue::Instance().Push(PendingLink{title, url, target});
        ::PostMessageA(view->Hwnd(), framework::UWM_LINKS_PENDING, 0, 0);
    }
    bool Drained() const { return PendingLinkQueue::Instance().Empty(); }

    testing_support::TempDir dir;
    FakeFrame frame;
    std::unique_ptr<bookmarklist::CBookmarkListView> view;
};

TEST_F(BookmarkList, ShowsTheCategoryWithItsFirstRowAndRemark) {
    EXPECT_EQ(Shown(), (Lines{"One http://one.example/", "HOME http://home.example/", "Three http://three.example/"}));
    EXPECT_TRUE(InStep());
    EXPECT_EQ(view->SelectedRows(), std::vector<int>{0});
    ASSERT_NE(LastRemark(), nullptr);
    EXPECT_EQ(LastRemark()->remark, "first");

    Show("Empty");
    EXPECT_TRUE(Shown().empty());
    EXPECT_EQ(LastRemark(), nullptr) << "the remark is emptied";
    EXPECT_FALSE(view->CommandEnabled(bookmarklist::kCmdEditBookmark));
    EXPECT_TRUE(view->CommandEnabled(bookmarklist::kCmdAddBookmark));

    // The category on display deleted from the store: the list lets go of it.
    Show("Other");
    Store().DeleteClass(Find("Other"));
    EXPECT_EQ(view->Current(), nullptr);
    EXPECT_TRUE(Shown().empty());
}

TEST_F(BookmarkList, MoveDeleteSelectAndHomepageKeepRowsAndCategoryInStep) {
    Select({0});
    Command(bookmarklist::kCmdMoveBookmarkDown);
    EXPECT_EQ(Shown()[0], "HOME http://home.example/");
    EXPECT_EQ(Shown()[1], "One http://one.example/");
    EXPECT_EQ(view->SelectedRows(), std::vector<int>{1});
    EXPECT_TRUE(Store().IsModified());
    Command(bookmarklist::kCmdMoveBookmarkDown);
    Command(bookmarklist::kCmdMoveBookmarkDown);  // already last: nothing
    EXPECT_EQ(Shown()[2], "One http://one.example/");
    EXPECT_FALSE(view->CommandEnabled(bookmarklist::kCmdMoveBookmarkDown));
    Command(bookmarklist::kCmdMoveBookmarkUp);
    EXPECT_EQ(Shown()[1], "One http://one.example/");
    EXPECT_TRUE(InStep());
    // With several rows selected, the focused one moves and all stay selected.
    Select({2, 0});
    Command(bookmarklist::kCmdMoveBookmarkUp);
    EXPECT_EQ(view->SelectedRows(), (std::vector<int>{0, 1}));
    EXPECT_EQ(view->FocusedRow(), 1);
    Select({0, 1});
    Command(bookmarklist::kCmdMoveBookmarkDown);  // focused on 0, onto a selected row
    EXPECT_EQ(view->SelectedRows(), (std::vector<int>{0, 1}));
    EXPECT_EQ(view->FocusedRow(), 1);
    EXPECT_TRUE(InStep());
    Select({1});
    Command(bookmarklist::kCmdMoveBookmarkUp);
    Select({1});
    Command(bookmarklist::kCmdMoveBookmarkDown);  // the order as before

    Command(bookmarklist::kCmdSelectAll);
    EXPECT_EQ(view->SelectedRows(), (std::vector<int>{0, 1, 2}));
    Command(bookmarklist::kCmdToHomepageGroup);
    ASSERT_EQ(CHomepageGroup::Instance().Items().size(), 3u);
    EXPECT_EQ(CHomepageGroup::Instance().Items()[0]->title, "HOME");
    // Away and back: only the first row is selected, none is left over.
    Show("Other");
    EXPECT_EQ(view->SelectedRows(), std::vector<int>{0});
    Show("News");
    EXPECT_EQ(view->SelectedRows(), std::vector<int>{0});
    EXPECT_EQ(view->FocusedRow(), 0);

    // Deleting the last row selects the new last one.
    Select({2});
    Command(bookmarklist::kCmdDeleteBookmark);
    EXPECT_EQ(Shown(), (Lines{"HOME http://home.example/", "One http://one.example/"}));
    EXPECT_EQ(view->SelectedRows(), std::vector<int>{1});
    EXPECT_TRUE(InStep());
    // Deleting several selects nothing.
    Select({0, 1});
    Command(bookmarklist::kCmdDeleteBookmark);
    EXPECT_TRUE(Shown().empty());
    EXPECT_TRUE(view->SelectedRows().empty());
    EXPECT_TRUE(InStep());
}

TEST_F(BookmarkList, DeletingSeveralRowsKeepsTheViewWhereItWas) {
    ClassRecord* other = Find("Other");
    for (int i = 0; i < 200; ++i) {
        const std::string n = std::to_string(i);
        ASSERT_TRUE(Store().AddBookmark(other, nullptr, new BookmarkRecord("row " + n, "http://" + n + ".example/", "")));
    }
    Show("Other");
    ListView_EnsureVisible(view->List(), 199, FALSE);
    ListView_EnsureVisible(view->List(), 100, FALSE);
    Select({150, 151, 152});
    const int top = ListView_GetTopIndex(view->List());
    ASSERT_GT(top, 50);
    Command(bookmarklist::kCmdDeleteBookmark);
    EXPECT_EQ(ListView_GetTopIndex(view->List()), top);
    EXPECT_TRUE(view->SelectedRows().empty());
    EXPECT_EQ(view->FocusedRow(), -1);
    EXPECT_EQ(view->Rows()[150]->title, "row 152");
    EXPECT_TRUE(InStep());
}

TEST_F(BookmarkList, IncomingLinksGoAfterTheFocusedRowInOrderOfArrival) {
    Select({0});
    Queue("Four", "http://four.example/");
    Queue("Five", "http://five.example/");
    ASSERT_TRUE(PumpUntil([&] { return Drained() && Shown().size() == 5; }));
    EXPECT_EQ(Shown(), (Lines{"One http://one.example/", "Four http://four.example/", "Five http://five.example/",
                              "HOME http://home.example/", "Three http://three.example/"}));
    EXPECT_TRUE(InStep());

    // Into another category: appended there; the list does not change.
    Queue("Far", "http://far.example/", Find("Other"));
    ASSERT_TRUE(PumpUntil([&] { return Drained(); }));
    Pump();
    EXPECT_EQ(Find("Other")->bookmarks.back()->title, "Far");
    EXPECT_EQ(Shown().size(), 5u);

    // A target deleted before the link is taken: the category on display.
    ClassRecord* doomed = Find("Empty");
    PendingLinkQueue::Instance().Push(PendingLink{"Orphan", "http://orphan.example/", doomed});
    Store().DeleteClass(doomed);
    ::PostMessageA(view->Hwnd(), framework::UWM_LINKS_PENDING, 0, 0);
    ASSERT_TRUE(PumpUntil([&] { return Drained() && Shown().size() == 6; }));
    EXPECT_TRUE(InStep());
}

// F2 on a bookmark edits it, with its texts in the dialog.
TEST_F(BookmarkList, F2EditsTheFocusedBookmark) {
    Select({2});
    std::string shown;
    DialogScript script;
    script.OnDialogWith(IDC_TITLE_EDIT, [&](HWND d) {
        shown = dialog_test::ItemText(d, IDC_URL_EDIT);
        ::SetDlgItemTextA(d, IDC_TITLE_EDIT, "Third");
        dialog_test::Click(d, IDOK);
    });
    ::SendMessageA(view->List(), WM_KEYDOWN, VK_F2, 0);
    EXPECT_TRUE(script.AllStepsRan()) << script.Failure();
    EXPECT_EQ(shown, "http://three.example/");
    EXPECT_EQ(Shown()[2], "Third http://three.example/");
}

TEST_F(BookmarkList, ATitleAlreadyThereAsksBeforeReplacing) {
    struct Case {
        int answer;
        std::string url;
        std::string remark;
    };
    for (const Case& c : {Case{IDNO, "http://home.example/", "old"}, Case{IDYES, "http://new.example/", ""}}) {
        std::string question;
        DialogScript script;
        script.OnMessageBox([&](HWND box) {
            question = dialog_test::MessageBoxText(box);
            dialog_test::Click(box, c.answer);
        });
        Queue("Home", "http://new.example/");
        ASSERT_TRUE(PumpUntil([&] { return script.Finished() && Drained(); })) << script.Failure();
        Pump();
        EXPECT_NE(question.find("\"News\""), std::string::npos) << question;
        EXPECT_NE(question.find("\"HOME\""), std::string::npos) << question;
        const BookmarkRecord* home = Find("News")->bookmarks[1];
        EXPECT_EQ(home->title, "HOME") << "the title stays";
        EXPECT_EQ(home->url, c.url);
        EXPECT_EQ(home->remark, c.remark);
        EXPECT_EQ(Shown().size(), 3u);
        EXPECT_TRUE(InStep());
    }
}

TEST_F(BookmarkList, LinksArrivingDuringItsDialogWaitForIt) {
    Select({2});
    std::size_t waitingWhileOpen = 0;
    DialogScript script;
    script.OnDialogWith(IDC_TITLE_EDIT, [&](HWND d) {
        // Two more links come while the dialog is open.
        Queue("Later one", "http://later1.example/");
        Queue("Later two", "http://later2.example/");
        waitingWhileOpen = 2;
        ::SetDlgItemTextA(d, IDC_TITLE_EDIT, "Typed");
        dialog_test::Click(d, IDOK);
    });
    Queue("", "http://untitled.example/");  // no title: the dialog opens
    ASSERT_TRUE(PumpUntil([&] { return script.Finished() && Drained() && Shown().size() == 6; }))
        << script.Failure();
    EXPECT_EQ(waitingWhileOpen, 2u);
    EXPECT_EQ(Shown(), (Lines{"One http://one.example/", "HOME http://home.example/", "Three http://three.example/",
                              "Typed http://untitled.example/", "Later one http://later1.example/",
                              "Later two http://later2.example/"}));
    EXPECT_TRUE(InStep());
}

// Links with no category to go to are not lost: they are filed, in order and
// without a question, into a category made for them (once).
TEST_F(BookmarkList, WithoutACategoryLinksGoToTheReceivedLinksCategory) {
    Show("Empty");
    ::SendMessageA(view->Hwnd(), framework::UWM_CLASS_CHANGED, 0, 1);
    Queue("A", "http://a.example/");
    ASSERT_TRUE(PumpUntil([&] { return Drained(); }));
    Queue("B", "http://b.example/");
    ASSERT_TRUE(PumpUntil([&] { return Drained(); }));
    ClassRecord* received = Find("收到的链接");
    ASSERT_NE(received, nullptr);
    EXPECT_EQ(Store().Root()->LastChild(), received);
    std::vector<std::string> filed;
    for (const BookmarkRecord* b : received->bookmarks) {
        filed.push_back(std::string(b->title) + " " + std::string(b->url));
    }
    EXPECT_EQ(filed, (std::vector<std::string>{"A http://a.example/", "B http://b.example/"}));
    EXPECT_EQ(::FindWindowA("#32770", nullptr), nullptr) << "no message";
}

TEST_F(BookmarkList, LinksDroppedOnItAreCopiedIntoTheQueue) {
    IDropTarget* target = nullptr;
    target = static_cast<IDropTarget*>(::GetPropA(view->List(), "OleDropTargetInterface"));
    ASSERT_NE(target, nullptr);
    TestData data;
    data.blocks[CF_TEXT] = std::string("http://dropped.example/\0", 24);
    DWORD effect = DROPEFFECT_COPY | DROPEFFECT_MOVE | DROPEFFECT_LINK;
    POINTL at{0, 0};
    target->DragEnter(&data, 0, at, &effect);
    EXPECT_EQ(effect, static_cast<DWORD>(DROPEFFECT_COPY));
    effect = DROPEFFECT_COPY | DROPEFFECT_MOVE;
    target->Drop(&data, 0, at, &effect);
    EXPECT_EQ(effect, static_cast<DWORD>(DROPEFFECT_COPY)) << "never a move: the source keeps its link";
    Pump();
    EXPECT_FALSE(frame.Of(framework::UWM_LINKS_PENDING).empty()) << "the frame hears of the link";
    ::PostMessageA(view->Hwnd(), framework::UWM_LINKS_PENDING, 0, 0);  // as the frame relays it
    // No title: the dialog opens for it.
    DialogScript script;
    script.OnDialogWith(IDC_TITLE_EDIT, [](HWND d) {
        ::SetDlgItemTextA(d, IDC_TITLE_EDIT, "Dropped");
        dialog_test::Click(d, IDOK);
    });
    ASSERT_TRUE(PumpUntil([&] { return script.Finished() && Shown().size() == 4; })) << script.Failure();
    EXPECT_EQ(Shown()[1], "Dropped http://dropped.example/");
}

TEST_F(BookmarkList, TheHiddenUrlColumnStaysHiddenAndWidthsAreStored) {
    HWND list = view->List();
    EXPECT_EQ(ListView_GetColumnWidth(list, 1), 300);
    Command(bookmarklist::kCmdUrlColumn);
    EXPECT_EQ(CSetting::Instance()->GUI_BookmarkCol1Show, 0);
    EXPECT_EQ(ListView_GetColumnWidth(list, 1), 0);
    NMHEADERA track{};
    track.hdr.hwndFrom = ListView_GetHeader(list);
    track.hdr.code = HDN_BEGINTRACKA;
    track.iItem = 1;
    EXPECT_EQ(::SendMessageA(view->Hwnd(), WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&track)), TRUE)
        << "the hidden column cannot be dragged open";
    track.iItem = 0;
    EXPECT_EQ(::SendMessageA(view->Hwnd(), WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&track)), FALSE);

    ListView_SetColumnWidth(list, 0, 150);
    view.reset();
    EXPECT_EQ(CSetting::Instance()->GUI_BookmarkCol0Width, 150);
    EXPECT_EQ(CSetting::Instance()->GUI_BookmarkCol1Width, 300) << "a hidden column keeps its earlier width";
}

TEST_F(BookmarkList, LinksQueuedBeforeTheListExistsAreTakenAtCreation) {
    view.reset();
    PendingLinkQueue::Instance().Push(PendingLink{"Early", "http://early.example/", Find("Other")});
    view = std::make_unique<bookmarklist::CBookmarkListView>(frame.Hwnd());
    RECT rect{0, 0, 340, 300};
    ASSERT_NE(view->CreateView(frame.Hwnd(), rect), nullptr);
    EXPECT_TRUE(PumpUntil([&] { return Drained(); }));
    Pump();
    EXPECT_EQ(Find("Other")->bookmarks.back()->title, "Early");
}

TEST_F(BookmarkList, LinksWaitWhileAnImportHoldsTheCollection) {
    transfer_test::CMemoryFileSystem files;
    files.AddFile("C:\\in.xml", "<?xml version=\"1.0\"?><root><G t=\"Imported\"><a t=\"New\" u=\"http://new.example/\"/></G></root>");
    transfer_test::CHeldJobHost host;
    auto job = std::make_unique<transfer::CTransferJob>(Store(), files, host);
    ASSERT_TRUE(job->StartImportXml("C:\\in.xml", nullptr));
    ASSERT_TRUE(transfer::CTransferJob::CollectionHeld());
    const std::size_t before = Find("News")->bookmarks.size();
    Queue("During", "http://during.example/");
    const DWORD until = ::GetTickCount() + 500;
    while (::GetTickCount() < until) {
        Pump();
        ::Sleep(10);
    }
    EXPECT_FALSE(Drained()) << "the link waits for the job";
    EXPECT_EQ(Find("News")->bookmarks.size(), before);
    host.Release();
    job->Join();  // carries out the worker's requests
    job.reset();
    EXPECT_FALSE(transfer::CTransferJob::CollectionHeld());
    EXPECT_TRUE(PumpUntil([&] { return Drained(); }));
    Pump();
    EXPECT_EQ(Find("News")->bookmarks.size(), before + 1);
    EXPECT_TRUE(InStep());
}

// Presses and moves as the control receives them, with the view's clock.
class BookmarkDrag : public BookmarkList {
protected:
    void SetUp() override {
        BookmarkList::SetUp();
        view->SetTickSource([this] { return now; });
        // Instead of the system's drag loop: the tree's drop as it reaches
        // the list through the frame, when a drop is wanted.
        view->SetDragDrop([this](IDataObject* data, IDropSource* source, DWORD allowed, DWORD* effect) {
            ++drags;
            allowedEffects = allowed;
            FORMATETC format{static_cast<CLIPFORMAT>(::RegisterClipboardFormatA("linkarbor_clipboardformat")),
                             nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
            carriesFormat = data->QueryGetData(&format) == S_OK;
            escapeCancels = source->QueryContinueDrag(TRUE, MK_LBUTTON) == DRAGDROP_S_CANCEL;
            if (dropOn) {
                ::SendMessageA(view->Hwnd(), framework::UWM_DROP_BOOKMARKS, dropEffect,
                               reinterpret_cast<LPARAM>(dropOn));
            }
            *effect = dropEffect;
            return DRAGDROP_S_DROP;
        });
    }
    POINT RowPoint(int row) const {
        RECT rect{};
        rect.left = LVIR_LABEL;
        ::SendMessageA(view->List(), LVM_GETITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&rect));
        return POINT{rect.left + 5, (rect.top + rect.bottom) / 2};
    }
    // Presses on `row`, then moves `dx` pixels after `ms` milliseconds.
    void PressAndMove(int row, DWORD ms, int dx) {
        const POINT p = RowPoint(row);
        ::SendMessageA(view->List(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(p.x, p.y));
        now += ms;
        ::SendMessageA(view->List(), WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(p.x + dx, p.y));
        ::SendMessageA(view->List(), WM_LBUTTONUP, 0, MAKELPARAM(p.x + dx, p.y));
    }
    std::vector<std::string> Titles(const char* category) const {
        std::vector<std::string> titles;
        for (const BookmarkRecord* b : Find(category)->bookmarks) titles.push_back(b->title);
        return titles;
    }

    DWORD now = 1000;
    int drags = 0;
    DWORD allowedEffects = 0;
    bool carriesFormat = false;
    bool escapeCancels = false;
    ClassRecord* dropOn = nullptr;
    DWORD dropEffect = DROPEFFECT_NONE;
};

TEST_F(BookmarkDrag, StartsOnlyFromTheSelectionAfterAPauseAndAMove) {
    Select({0, 1});
    PressAndMove(0, 30, 8);  // too soon
    PressAndMove(0, 80, 0);  // not moved
    PressAndMove(2, 80, 8);  // not selected
    EXPECT_EQ(drags, 0);
    Select({0, 1});
    PressAndMove(1, 80, 8);
    EXPECT_EQ(drags, 1);
    EXPECT_EQ(allowedEffects, static_cast<DWORD>(DROPEFFECT_COPY | DROPEFFECT_MOVE));
    EXPECT_TRUE(carriesFormat);
    EXPECT_TRUE(escapeCancels);
    EXPECT_EQ(view->SelectedRows(), (std::vector<int>{0, 1})) << "the press kept both rows selected";
    EXPECT_EQ(frame.Of(framework::UWM_TREE_AUTOSCROLL).back().wParam, 1u) << "the tree restores its selection";
}

TEST_F(BookmarkDrag, DroppedOnACategoryTheyMoveOrCopyAndAskOnATitleThere) {
    Select({0, 2});
    dropOn = Find("Other");
    dropEffect = DROPEFFECT_COPY;
    PressAndMove(0, 80, 8);
    EXPECT_EQ(Titles("Other"), (std::vector<std::string>{"Elsewhere", "One", "Three"}));
    EXPECT_EQ(Titles("News"), (std::vector<std::string>{"One", "HOME", "Three"}));

    // Moving the same two again: both titles are there now; Yes for each.
    DialogScript script;
    for (int i = 0; i < 2; ++i) script.OnMessageBox([](HWND box) { dialog_test::Click(box, IDYES); });
    Select({0, 2});
    dropEffect = DROPEFFECT_MOVE;
    PressAndMove(0, 80, 8);
    EXPECT_TRUE(script.AllStepsRan()) << script.Failure();
    EXPECT_EQ(Titles("News"), (std::vector<std::string>{"HOME"}));
    EXPECT_EQ(Titles("Other"), (std::vector<std::string>{"Elsewhere", "One", "Three"}));
    EXPECT_TRUE(InStep());

    // On the category on display nothing changes, with or without a title
    // of the same name.
    dropOn = Find("News");
    Select({0});
    PressAndMove(0, 80, 8);
    EXPECT_EQ(Titles("News"), (std::vector<std::string>{"HOME"}));
    EXPECT_TRUE(InStep());
}

TEST_F(BookmarkDrag, ATargetDeletedDuringAQuestionTakesNoMoreAndTheRowsStay) {
    // "One" is in "Other" too: its question comes first; while it is open,
    // "Other" goes. "HOME" and "Three" must not be filed into the freed
    // category, and nothing leaves "News".
    ASSERT_TRUE(Store().AddBookmark(Find("Other"), nullptr, new BookmarkRecord("One", "http://other.example/", "")));
    DialogScript script;
    script.OnMessageBox([&](HWND box) {
        Store().DeleteClass(Find("Other"));
        dialog_test::Click(box, IDYES);
    });
    Select({0, 1, 2});
    dropOn = Find("Other");
    dropEffect = DROPEFFECT_MOVE;
    const std::size_t before = Store().TotalBookmarks();
    PressAndMove(0, 80, 8);
    EXPECT_TRUE(script.AllStepsRan()) << script.Failure();
    EXPECT_EQ(Find("Other"), nullptr);
    EXPECT_EQ(Titles("News"), (std::vector<std::string>{"One", "HOME", "Three"}));
    EXPECT_EQ(Store().TotalBookmarks(), before - 2) << "only the deleted category's own bookmarks went";
    EXPECT_TRUE(InStep());
}

}  // namespace

