#include "class_tree_test_support.h"

#include "classtree_res.h"
#include "dialog_test_driver.h"
#include "framework/private_messages.h"
#include "setting.h"

#include <filesystem>
#include <string>
#include <vector>

namespace {

using classtree_test::Outline;
using dialog_test::DialogScript;
using framework::UWM_CLASS_CHANGED;

class ClassTreeView : public classtree_test::ViewFixture {};

TEST_F(ClassTreeView, ShowsTheBookmarkFileWithTheTreeStylesAndIcons) {
    Open(classtree_test::SampleFile());
    EXPECT_TRUE(Mirrors());
    EXPECT_EQ(Outline(Store().Root()),
              (std::vector<std::string>{"0:News", "1:World", "2:Europe", "1:Sport", "0:Tools", "0:音乐", "1:Jazz"}));
    EXPECT_EQ(Find("News")->bookmarks.size(), 2u);
    const LONG_PTR style = ::GetWindowLongPtrA(Tree(), GWL_STYLE);
    EXPECT_EQ(style & 0x27, 0x27) << "buttons, lines, lines at root, selection always shown";
    HIMAGELIST images = TreeView_GetImageList(Tree(), TVSIL_NORMAL);
    ASSERT_NE(images, nullptr);
    EXPECT_EQ(::ImageList_GetImageCount(images), 2);
    EXPECT_FALSE(Store().IsModified()) << "loading is no change";
}

TEST_F(ClassTreeView, ShowsWhatTheStoreHeldBeforeItAttached) {
    bool duplicate = false;
    ClassRecord* early = CBookmarkStore::Instance().AddClass(nullptr, InsertPos::Last(), new ClassRecord("Early"), duplicate);
    CBookmarkStore::Instance().AddClass(early, InsertPos::Last(), new ClassRecord("Child"), duplicate);
    CBookmarkStore::Instance().SetExpanded(early, true);
    Open(classtree_test::SampleFile());
    EXPECT_TRUE(Mirrors());
    EXPECT_EQ(Outline(Store().Root()).front(), "0:Early+");
    EXPECT_EQ(Outline(Store().Root()).size(), 9u);
}

TEST_F(ClassTreeView, MissingOrBrokenFileGivesAnEmptyTree) {
    for (const char* text : {"", "<?xml version=\"1.0\"?><ROOT><G t=\"x\"/></ROOT>", "<root><G t=\"x\">"}) {
        Open(text);
        EXPECT_EQ(TreeView_GetCount(Tree()), 0u) << text;
        EXPECT_TRUE(Mirrors());
        Close();
    }
}

TEST_F(ClassTreeView, SelectionTellsTheFrameWhichCategoryToShow) {
    Open(classtree_test::SampleFile());
    frame->messages.clear();
    Select("News/World");
    auto sent = frame->Of(UWM_CLASS_CHANGED);
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(reinterpret_cast<ClassRecord*>(sent[0].wParam), Find("News/World"));
    EXPECT_EQ(sent[0].lParam, 0);
    EXPECT_EQ(view->SelectedClass(), Find("News/World"));
}

TEST_F(ClassTreeView, UserExpandingACategoryIsKeptInTheStore) {
    Open(classtree_test::SampleFile());
    Select("News");
    ::SetFocus(Tree());
    ::SendMessageA(Tree(), WM_KEYDOWN, VK_RIGHT, 0);
    EXPECT_TRUE(Find("News")->IsExpanded());
    EXPECT_TRUE(Mirrors());
    ::SendMessageA(Tree(), WM_KEYDOWN, VK_LEFT, 0);
    EXPECT_FALSE(Find("News")->IsExpanded());
    EXPECT_TRUE(Mirrors());
}

TEST_F(ClassTreeView, ContextMenuStatesFollowTheSelection) {
    Open(classtree_test::SampleFile());
    struct Case {
        const char* select;  // null: nothing selected
        std::vector<WORD> enabled;
        std::vector<WORD> disabled;
    };
    using namespace classtree;
    const Case cases[] = {
        {nullptr, {kCmdAddClass, kCmdImport},
         {kCmdAddSubClass, kCmdEditClass, kCmdDeleteClass, kCmdMoveClassTo, kCmdExport, kCmdMoveClassUp,
          kCmdMoveClassDown}},
        {"News", {kCmdAddClass, kCmdAddSubClass, kCmdEditClass, kCmdDeleteClass, kCmdMoveClassTo, kCmdMoveClassDown},
         {kCmdMoveClassUp}},
        {"News/Sport", {kCmdMoveClassUp, kCmdExport}, {kCmdMoveClassDown}},
        {"Tools", {kCmdMoveClassUp, kCmdMoveClassDown}, {}},
        {"音乐/Jazz", {kCmdEditClass}, {kCmdMoveClassUp, kCmdMoveClassDown}},
    };
    for (const Case& c : cases) {
        if (c.select) Select(c.select);
        else TreeView_SelectItem(Tree(), nullptr);
        for (WORD id : c.enabled) EXPECT_TRUE(view->CommandEnabled(id)) << (c.select ? c.select : "-") << " " << id;
        for (WORD id : c.disabled) EXPECT_FALSE(view->CommandEnabled(id)) << (c.select ? c.select : "-") << " " << id;
    }

    // The popup itself: the states are applied when it opens, import and
    // export among them.
    HMENU menu = ::LoadMenuA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_CONTEXT_MENUS));
    ASSERT_NE(menu, nullptr);
    HMENU popup = ::GetSubMenu(menu, 0);
    Select("News/Sport");
    ::SendMessageA(view->Hwnd(), WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(popup), 0);
    EXPECT_EQ(::GetMenuState(popup, kCmdMoveClassDown, MF_BYCOMMAND) & MF_GRAYED, static_cast<UINT>(MF_GRAYED));
    EXPECT_EQ(::GetMenuState(popup, kCmdMoveClassUp, MF_BYCOMMAND) & MF_GRAYED, 0u);
    EXPECT_EQ(::GetMenuState(popup, kCmdImport, MF_BYCOMMAND) & MF_GRAYED, 0u);
    EXPECT_EQ(::GetMenuState(popup, kCmdExport, MF_BYCOMMAND) & MF_GRAYED, 0u);
    EXPECT_EQ(::GetMenuItemCount(popup), 11);
    ::DestroyMenu(menu);
}

TEST_F(ClassTreeView, DeleteKeyDeletesAndTheLastDeletionEmptiesTheList) {
    Open(classtree_test::FileOf({"<G t=\"Only\"><G t=\"Inner\"/></G>"}));
    Select("Only");
    frame->messages.clear();
    ::SendMessageA(Tree(), WM_KEYDOWN, VK_DELETE, 0);
    EXPECT_EQ(TreeView_GetCount(Tree()), 0u);
    EXPECT_TRUE(Mirrors());
    auto sent = frame->Of(UWM_CLASS_CHANGED);
    ASSERT_FALSE(sent.empty());
    EXPECT_EQ(sent.back().wParam, 0u);
    EXPECT_EQ(sent.back().lParam, 1);
    EXPECT_TRUE(Store().IsModified());
}

TEST_F(ClassTreeView, SavesAChangedCollectionWhenDestroyed) {
    Open(classtree_test::SampleFile());
    Select("Tools");
    ::SendMessageA(Tree(), WM_KEYDOWN, VK_DELETE, 0);
    Close();
    const std::string saved = testing_support::ReadBytes(BookmarkFile());
    EXPECT_EQ(saved.find("Tools"), std::string::npos);
    EXPECT_NE(saved.find("<G t=\"Europe\"/>"), std::string::npos);
    EXPECT_NE(saved.find("Weather"), std::string::npos);

    // Unchanged: the file is left as it is.
    const std::string original = classtree_test::SampleFile() + "<!-- untouched -->";
    Open(original);
    Close();
    EXPECT_EQ(testing_support::ReadBytes(BookmarkFile()), original);
}

// A file deleted while the program runs is written again at the end, though
// nothing changed; a collection that never had a file gets none.
TEST_F(ClassTreeView, AFileDeletedMeanwhileIsWrittenAgainUnchangedOrNot) {
    Open(classtree_test::SampleFile());
    ASSERT_FALSE(Store().IsModified());
    ASSERT_TRUE(::DeleteFileA(BookmarkFile().c_str()));
    EXPECT_TRUE(view->SaveBookmarks().saved);
    const std::string saved = testing_support::ReadBytes(BookmarkFile());
    EXPECT_NE(saved.find("<G t=\"Europe\"/>"), std::string::npos) << saved;
    EXPECT_NE(saved.find("Weather"), std::string::npos);
    ASSERT_TRUE(::DeleteFileA(BookmarkFile().c_str()));
    Close();
    EXPECT_NE(testing_support::ReadBytes(BookmarkFile()).find("Weather"), std::string::npos)
        << "closing writes it again";

    ASSERT_TRUE(::DeleteFileA(BookmarkFile().c_str()));
    Open("");  // no file at the start
    Close();
    EXPECT_FALSE(std::filesystem::exists(BookmarkFile()));
}

TEST_F(ClassTreeView, ScrollsToTheTopWhenAsked) {
    std::vector<std::string> lines;
    for (int i = 0; i < 200; ++i) lines.push_back("<G t=\"C" + std::to_string(i) + "\"/>");
    Open(classtree_test::FileOf(lines));
    ::SendMessageA(Tree(), WM_VSCROLL, SB_BOTTOM, 0);
    ASSERT_GT(::GetScrollPos(Tree(), SB_VERT), 0);
    EXPECT_EQ(::SendMessageA(view->Hwnd(), framework::UWM_TREE_TO_TOP, 0, 0), 1);
    EXPECT_EQ(::GetScrollPos(Tree(), SB_VERT), 0);
}

// The two first-run questions: asked only for an empty collection, one after
// the other; Yes keeps the setting and asks for the import wizard, No
// switches the setting off.
TEST_F(ClassTreeView, FirstRunQuestions) {
    struct Case {
        bool defaults, favorites;   // settings before
        bool hasBookmarks;
        std::vector<int> answers;   // in the order the boxes come
        bool defaultsAfter, favoritesAfter;
        std::vector<LPARAM> imports;  // presets of the import commands posted
    };
    const Case cases[] = {
        {true, true, false, {IDNO, IDNO}, false, false, {}},
        {true, true, false, {IDYES, IDNO}, true, false, {2}},
        {true, true, false, {IDNO, IDYES}, false, true, {1}},
        {true, true, false, {IDYES, IDYES}, true, true, {2, 1}},
        {false, true, false, {IDNO}, false, false, {}},
        {true, false, false, {IDYES}, true, false, {2}},
        {true, true, true, {}, true, true, {}},
        {false, false, false, {}, false, false, {}},
    };
    for (const Case& c : cases) {
        CSetting::Instance()->Other_InDefaultBookmark = c.defaults;
        CSetting::Instance()->Other_InIEBookmark = c.favorites;
        std::vector<std::string> texts;
        DialogScript script;
        // With no question expected, a box that comes anyway is recorded.
        const std::size_t steps = c.answers.empty() ? 1 : c.answers.size();
        for (std::size_t i = 0; i < steps; ++i) {
            const int answer = c.answers.empty() ? IDNO : c.answers[i];
            script.OnMessageBox([&texts, answer](HWND box) {
                texts.push_back(dialog_test::MessageBoxText(box));
                dialog_test::Click(box, answer);
            });
        }
        Open(c.hasBookmarks ? classtree_test::SampleFile() : classtree_test::FileOf({"<G t=\"Empty\"/>"}));
        // Only the view's question message is run, so that the commands it
        // posts stay in the queue to be read.
        MSG ask;
        ASSERT_TRUE(::PeekMessageA(&ask, view->Hwnd(), classtree::CClassTreeView::kAskFirstRunMessage,
                                   classtree::CClassTreeView::kAskFirstRunMessage, PM_REMOVE));
        ::DispatchMessageA(&ask);
        if (!c.answers.empty()) {
            EXPECT_TRUE(script.AllStepsRan()) << script.Failure();
        }
        ASSERT_EQ(texts.size(), c.answers.size());
        if (c.defaults && !c.answers.empty()) {
            EXPECT_EQ(texts[0], "您是否希望运行导入向导导入默认分类和书签?");
        }
        if (c.favorites && !c.answers.empty()) {
            EXPECT_EQ(texts.back(), "您是否希望运行导入向导导入您的IE书签?");
        }
        EXPECT_EQ(CSetting::Instance()->Other_InDefaultBookmark != 0, c.defaultsAfter);
        EXPECT_EQ(CSetting::Instance()->Other_InIEBookmark != 0, c.favoritesAfter);
        std::vector<LPARAM> imports;
        MSG msg;
        while (::PeekMessageA(&msg, view->Hwnd(), WM_COMMAND, WM_COMMAND, PM_REMOVE)) {
            if (LOWORD(msg.wParam) == classtree::kCmdImport) imports.push_back(msg.lParam);
        }
        EXPECT_EQ(imports, c.imports);
        EXPECT_TRUE(Mirrors());
        Close();
        frame.reset();
    }
}

}  // namespace
