// Drops on the tree through its OLE drop target, with data objects built
// here: the list's private format, browser links (text with a file
// descriptor, well-formed or not) and Internet Shortcut files.
#include "class_tree_test_support.h"
#include "test_data_object.h"

#include "drop_data.h"
#include "dropped_files.h"
#include "framework/private_messages.h"
#include "pending_link_queue.h"

#include <ole2.h>
#include <shlobj.h>

#include <cstdio>
#include <cstring>
#include <map>
#include <string>
#include <vector>

namespace {

using classtree_test::TestData;

using framework::UWM_DROP_BOOKMARKS;
using framework::UWM_LINKS_PENDING;

CLIPFORMAT Format(const char* name) { return static_cast<CLIPFORMAT>(::RegisterClipboardFormatA(name)); }

std::string Descriptor(std::uint32_t count, const std::string& name, std::size_t size) {
    std::string block(classtree::kDescriptorCountSize + classtree::kDescriptorSize, '\0');
    std::memcpy(block.data(), &count, sizeof count);
    std::memcpy(block.data() + classtree::kDescriptorCountSize + classtree::kDescriptorNameOffset, name.data(),
                std::min(name.size(), classtree::kDescriptorNameSize));
    block.resize(size);
    return block;
}

std::vector<PendingLink> DrainQueue() {
    std::vector<PendingLink> links;
    while (auto link = PendingLinkQueue::Instance().PopFront()) links.push_back(*link);
    return links;
}

class ClassTreeDrop : public classtree_test::ViewFixture {
protected:
    void SetUp() override {
        ViewFixture::SetUp();
        Open(classtree_test::SampleFile());
        DrainQueue();
        target = RegisteredTarget();
        ASSERT_NE(target, nullptr);
    }
    void TearDown() override {
        if (target) target->Release();
        DrainQueue();
        ViewFixture::TearDown();
    }

    // The drop target the view registered for its control.
    IDropTarget* RegisteredTarget() {
        auto* unknown = static_cast<IUnknown*>(::GetPropA(Tree(), "OleDropTargetInterface"));
        IDropTarget* drop = nullptr;
        if (unknown) unknown->QueryInterface(IID_IDropTarget, reinterpret_cast<void**>(&drop));
        return drop;
    }

    POINTL ScreenPointOf(const char* path) {
        RECT rect{};
        TreeView_GetItemRect(Tree(), view->ItemOf(Find(path)), &rect, TRUE);
        POINT p{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
        ::ClientToScreen(Tree(), &p);
        return POINTL{p.x, p.y};
    }
    POINTL BelowTheItems() {
        RECT client{};
        ::GetClientRect(Tree(), &client);
        POINT p{client.right / 2, client.bottom - 5};
        ::ClientToScreen(Tree(), &p);
        return POINTL{p.x, p.y};
    }

    // Enters, moves over `at` and drops `data` there; returns the effect.
    DWORD DropAt(TestData& data, POINTL at, DWORD keys = 0) {
        DWORD effect = DROPEFFECT_COPY | DROPEFFECT_MOVE;
        target->DragEnter(&data, keys, at, &effect);
        target->DragOver(keys, at, &effect);
        effect = DROPEFFECT_COPY | DROPEFFECT_MOVE;
        target->Drop(&data, keys, at, &effect);
        Pump();
        return effect;
    }

    IDropTarget* target = nullptr;
};

TEST_F(ClassTreeDrop, ABrowserLinkIsQueuedForTheCategoryUnderTheCursor) {
    TestData data;
    data.blocks[CF_TEXT] = std::string("http://www.example.com/\0", 24);
    data.blocks[Format("FileGroupDescriptor")] = Descriptor(1, "Example.url", 4 + 332);
    frame->messages.clear();
    // Copied, never moved: the browser keeps its link.
    EXPECT_EQ(DropAt(data, ScreenPointOf("Tools")), static_cast<DWORD>(DROPEFFECT_COPY));
    const auto links = DrainQueue();
    ASSERT_EQ(links.size(), 1u);
    EXPECT_EQ(links[0].title, "Example");
    EXPECT_EQ(links[0].url, "http://www.example.com/");
    EXPECT_EQ(links[0].target, Find("Tools"));
    EXPECT_EQ(frame->Of(UWM_LINKS_PENDING).size(), 1u);
    EXPECT_EQ(classtree_test::MarkedDropTarget(Tree()), nullptr);
    EXPECT_TRUE(Mirrors());
}

// What Edge and Chrome offer beside the text of the code page: the address
// and the file name in UTF-16. Those are read, so nothing is lost.
TEST_F(ClassTreeDrop, ALinkInItsUnicodeFormsKeepsWhatTheCodePageLacks) {
    auto utf16 = [](const std::wstring& text) {
        return std::string(reinterpret_cast<const char*>(text.c_str()), (text.size() + 1) * sizeof(wchar_t));
    };
    std::string names(4 + 592, '\0');
    names[0] = 1;
    const std::string name = utf16(L"\xB300\xD55C - \xC704\xD0A4.url");
    names.replace(4 + 72, name.size(), name);
    TestData data;
    data.blocks[CF_TEXT] = std::string("https://ko.wikipedia.org/wiki/??\0", 33);
    data.blocks[Format("UniformResourceLocatorW")] = utf16(L"https://ko.wikipedia.org/wiki/\xB300\xD55C");
    data.blocks[Format("FileGroupDescriptorW")] = names;
    data.blocks[Format("FileGroupDescriptor")] = Descriptor(1, "?? - ??.url", 4 + 332);
    DropAt(data, ScreenPointOf("Tools"));
    auto links = DrainQueue();
    ASSERT_EQ(links.size(), 1u);
    EXPECT_EQ(links[0].url, "https://ko.wikipedia.org/wiki/%EB%8C%80%ED%95%9C");
    EXPECT_EQ(links[0].title, "？？ - ？？");
    // Text alone, as another program may offer it: the Unicode text first.
    TestData text;
    text.blocks[CF_UNICODETEXT] = utf16(L"http://x.example/\xD55C?q=a:b");
    text.blocks[CF_TEXT] = std::string("http://x.example/?\0", 19);
    DropAt(text, ScreenPointOf("Tools"));
    links = DrainQueue();
    ASSERT_EQ(links.size(), 1u);
    EXPECT_EQ(links[0].url, "http://x.example/%ED%95%9C?q=a:b");
    EXPECT_EQ(links[0].title, "");
}

// The queue's limits hold for drops too: an over-long link is dropped, and so
// is any link while the queue is full; nothing tells the frame.
TEST_F(ClassTreeDrop, LinksOverTheLimitsAreNotQueued) {
    TestData tooLong;
    tooLong.blocks[CF_TEXT] = "http://" + std::string(kMaxLinkTextBytes, 'x');
    frame->messages.clear();
    DropAt(tooLong, ScreenPointOf("Tools"));
    EXPECT_TRUE(DrainQueue().empty());

    for (std::size_t i = 0; i < kMaxPendingLinks; ++i) {
        ASSERT_EQ(PendingLinkQueue::Instance().Push(PendingLink{"t", "u", nullptr}), PushResult::kQueued);
    }
    TestData link;
    link.blocks[CF_TEXT] = std::string("http://www.example.com/\0", 24);
    DropAt(link, ScreenPointOf("Tools"));
    EXPECT_EQ(DrainQueue().size(), kMaxPendingLinks);
    EXPECT_TRUE(frame->Of(UWM_LINKS_PENDING).empty());
}

TEST_F(ClassTreeDrop, DescriptorBlocksAreReadOnlyWithinTheirSize) {
    struct Case {
        const char* why;
        std::string descriptor;  // empty: none offered
        bool offered;
        std::string title;
    };
    const std::string longName(260, 'N');
    const Case cases[] = {
        {"plain text without a descriptor", "", false, ""},
        {"an empty block", "", true, ""},
        {"count claims three, one is there", Descriptor(3, "Three.url", 4 + 332), true, "Three"},
        {"block ends inside the name", Descriptor(1, "Abcdefgh.url", 76 + 8), true, "Abcd"},
        {"block ends before the name", Descriptor(1, "Gone.url", 60), true, ""},
        {"a name without a terminating zero", Descriptor(1, longName, 76 + 260), true, std::string(256, 'N')},
        {"a zero count", Descriptor(0, "Zero.url", 4 + 332), true, ""},
    };
    for (const Case& c : cases) {
        TestData data;
        data.blocks[CF_TEXT] = "http://x.example/";  // no terminating zero either
        if (c.offered) data.blocks[Format("FileGroupDescriptor")] = c.descriptor;
        DropAt(data, ScreenPointOf("News"));
        const auto links = DrainQueue();
        ASSERT_EQ(links.size(), 1u) << c.why;
        EXPECT_EQ(links[0].title, c.title) << c.why;
        EXPECT_EQ(links[0].url, "http://x.example/") << c.why;
    }
}

TEST_F(ClassTreeDrop, ALinkDroppedBesideTheItemsHasNoCategory) {
    TestData data;
    data.blocks[CF_TEXT] = std::string("http://nowhere.example/\0", 24);
    DWORD effect = DROPEFFECT_COPY;
    target->DragEnter(&data, 0, BelowTheItems(), &effect);
    // Blank space refuses through the effect, the way sources understand.
    EXPECT_EQ(target->DragOver(0, BelowTheItems(), &effect), S_OK);
    EXPECT_EQ(effect, static_cast<DWORD>(DROPEFFECT_NONE));
    effect = DROPEFFECT_COPY;
    target->Drop(&data, MK_CONTROL, BelowTheItems(), &effect);
    EXPECT_EQ(effect, static_cast<DWORD>(DROPEFFECT_COPY));
    const auto links = DrainQueue();
    ASSERT_EQ(links.size(), 1u);
    EXPECT_EQ(links[0].target, nullptr);
    EXPECT_EQ(links[0].title, "");
}

TEST_F(ClassTreeDrop, TheListsBookmarksGoToTheCategoryThroughTheFrame) {
    TestData data;
    data.blocks[Format("linkarbor_clipboardformat")] = "bookmarks";
    data.blocks[CF_TEXT] = "http://not-taken.example/";
    frame->messages.clear();
    DropAt(data, ScreenPointOf("音乐"), MK_CONTROL);
    auto sent = frame->Of(UWM_DROP_BOOKMARKS);
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(sent[0].wParam, static_cast<WPARAM>(DROPEFFECT_COPY));
    EXPECT_EQ(reinterpret_cast<ClassRecord*>(sent[0].lParam), Find("音乐"));
    EXPECT_TRUE(DrainQueue().empty()) << "the text of the same drop is not taken";

    // Without a category under the cursor nothing happens.
    frame->messages.clear();
    DropAt(data, BelowTheItems());
    EXPECT_TRUE(frame->Of(UWM_DROP_BOOKMARKS).empty());
    EXPECT_TRUE(DrainQueue().empty());
}

// A CF_HDROP block of wide `paths`.
std::string FileList(const std::vector<std::string>& paths) {
    std::wstring files;
    for (const std::string& path : paths) {
        wchar_t wide[MAX_PATH] = L"";
        ::MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, wide, MAX_PATH);
        files += wide;
        files += L'\0';
    }
    files += L'\0';
    DROPFILES header{};
    header.pFiles = sizeof header;
    header.fWide = TRUE;
    std::string block(reinterpret_cast<const char*>(&header), sizeof header);
    block.append(reinterpret_cast<const char*>(files.data()), files.size() * sizeof(wchar_t));
    return block;
}

TEST_F(ClassTreeDrop, InternetShortcutFilesAreQueuedInOrder) {
    // Byte-string paths as the program has them (no conversion on the way).
    std::string folder = dir->File("x");
    folder.pop_back();
    const std::string first = folder + "First site.url";
    const std::string second = folder + "第二.url";
    const std::string plain = folder + "notes.txt";
    testing_support::WriteBytes(first, "[InternetShortcut]\r\nURL=http://first.example/\r\n");
    testing_support::WriteBytes(second, "[InternetShortcut]\r\nURL=http://second.example/\r\n");
    testing_support::WriteBytes(plain, "no address here\r\n");
    // Wide names, as the shell hands them.
    const std::string block = FileList({first, plain, second});
    TestData data;
    data.blocks[CF_HDROP] = block;
    frame->messages.clear();
    // A move would make the shell delete the shortcut files.
    EXPECT_EQ(DropAt(data, ScreenPointOf("News")), static_cast<DWORD>(DROPEFFECT_COPY));
    // The files are read in slices between messages: all of them, however
    // busy the machine.
    ASSERT_TRUE(PumpUntil([] { return classtree::DroppedFilesWaiting() == 0; }, 30000));
    const auto links = DrainQueue();
    ASSERT_EQ(links.size(), 2u);
    EXPECT_EQ(links[0].title, "First site");
    EXPECT_EQ(links[0].url, "http://first.example/");
    EXPECT_EQ(links[0].target, nullptr);
    EXPECT_EQ(links[1].title, "第二");
    EXPECT_EQ(links[1].url, "http://second.example/");
    // Told at least once; how many times depends on how the slices fell.
    EXPECT_FALSE(frame->Of(UWM_LINKS_PENDING).empty());
}


TEST_F(ClassTreeDrop, FileListsThatDoNotFitTheirBlockAreNotRead) {
    const std::string file = dir->File("site.url");
    testing_support::WriteBytes(file, "[InternetShortcut]\r\nURL=http://site.example/\r\n");
    const std::string whole = FileList({file});
    struct Case {
        const char* why;
        std::string block;
        std::size_t links;
    };
    std::string farOffset = whole;
    const std::uint32_t farAway = 0x7FFFFFF0u;
    std::memcpy(farOffset.data(), &farAway, sizeof farAway);
    const Case cases[] = {
        {"whole", whole, 1},
        {"the final zeros cut off", whole.substr(0, whole.size() - 4), 0},
        {"the offset beyond the block", farOffset, 0},
        {"only the header", whole.substr(0, sizeof(DROPFILES)), 0},
    };
    for (const Case& c : cases) {
        TestData data;
        data.blocks[CF_HDROP] = c.block;
        DropAt(data, ScreenPointOf("News"));
        EXPECT_EQ(DrainQueue().size(), c.links) << c.why;
    }
}

// Thousands of shortcut files are read between the window's messages, and
// their links queued in the order of the drop.
TEST_F(ClassTreeDrop, ManyShortcutFilesAreReadInSlicesInOrder) {
    constexpr int kFiles = 3000;
    std::vector<std::string> paths;
    for (int i = 0; i < kFiles; ++i) {
        paths.push_back(dir->File("link " + std::to_string(i) + ".url"));
        testing_support::WriteBytes(paths.back(),
                                    "[InternetShortcut]\r\nURL=http://example.com/" + std::to_string(i) + "\r\n");
    }
    TestData data;
    data.blocks[CF_HDROP] = FileList(paths);
    DWORD effect = DROPEFFECT_COPY;
    const POINTL at = ScreenPointOf("News");
    target->DragEnter(&data, 0, at, &effect);
    target->Drop(&data, 0, at, &effect);
    const std::size_t readAtOnce = PendingLinkQueue::Instance().Size();
    std::printf("read during the drop itself: %zu of %d\n", readAtOnce, kFiles);
    EXPECT_LT(readAtOnce, static_cast<std::size_t>(kFiles)) << "every file was read before the drop returned";
    EXPECT_GT(classtree::DroppedFilesWaiting(), 0u);

    // The window answers meanwhile: a message posted now is handled while
    // files still wait.
    constexpr UINT kProbe = framework::UWM_TREE_TO_TOP;  // one the stand-in frame notes, and does nothing with
    frame->messages.clear();
    ::PostMessageA(frame->Hwnd(), kProbe, 0, 0);
    ASSERT_TRUE(PumpUntil([&] { return !frame->Of(kProbe).empty(); }));
    EXPECT_GT(classtree::DroppedFilesWaiting(), 0u) << "the probe waited for every file";

    ASSERT_TRUE(PumpUntil([] { return classtree::DroppedFilesWaiting() == 0; }, 120000));
    const auto links = DrainQueue();
    ASSERT_EQ(links.size(), static_cast<std::size_t>(kFiles));
    for (int i = 0; i < kFiles; ++i) {
        ASSERT_EQ(links[i].url, "http://example.com/" + std::to_string(i)) << i;
        ASSERT_EQ(links[i].title, "link " + std::to_string(i));
    }
}

TEST_F(ClassTreeDrop, HighlightFollowsTheCursorAndTheSelectionComesBack) {
    Select("Tools");
    TestData data;
    data.blocks[Format("linkarbor_clipboardformat")] = "bookmarks";
    DWORD effect = DROPEFFECT_MOVE;
    target->DragEnter(&data, 0, ScreenPointOf("News"), &effect);
    EXPECT_EQ(target->DragOver(0, ScreenPointOf("News"), &effect), S_OK);
    EXPECT_EQ(classtree_test::MarkedDropTarget(Tree()), view->ItemOf(Find("News")));
    target->DragOver(0, ScreenPointOf("音乐"), &effect);
    EXPECT_EQ(classtree_test::MarkedDropTarget(Tree()), view->ItemOf(Find("音乐")));
    target->DragLeave();
    EXPECT_EQ(classtree_test::MarkedDropTarget(Tree()), nullptr);
    EXPECT_EQ(view->DropTarget(), nullptr);

    // The list's drag ends elsewhere: the saved selection returns.
    Select("音乐/Jazz");
    ::SendMessageA(view->Hwnd(), framework::UWM_TREE_AUTOSCROLL, 1, 0);
    EXPECT_EQ(view->SelectedClass(), Find("Tools"));
    EXPECT_TRUE(Mirrors());
}

TEST_F(ClassTreeDrop, RestingOverACategoryOpensIt) {
    view->SetTickSource([] { static DWORD clock = 0; return clock += 500; });
    TestData data;
    data.blocks[CF_TEXT] = "http://x.example/";
    DWORD effect = DROPEFFECT_MOVE;
    const POINTL at = ScreenPointOf("音乐");
    target->DragEnter(&data, 0, at, &effect);
    for (int i = 0; i < 4 && !Find("音乐")->IsExpanded(); ++i) target->DragOver(0, at, &effect);
    EXPECT_TRUE(Find("音乐")->IsExpanded());
    EXPECT_TRUE(Mirrors());
    target->DragLeave();
}

}  // namespace
