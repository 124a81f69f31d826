#include "class_tree_test_support.h"

#include "framework/private_messages.h"
#include "setting.h"

#include <ole2.h>

#include <sstream>

namespace classtree_test {

namespace {

constexpr char kFrameClass[] = "quorva_TestFrame";

// OLE for the whole test process: the view registers itself as a drop target.
class OleEnvironment : public testing::Environment {
public:
    void SetUp() override { ::OleInitialize(nullptr); }
    void TearDown() override { ::OleUninitialize(); }
};
[[maybe_unused]] testing::Environment* const g_ole = testing::AddGlobalTestEnvironment(new OleEnvironment);

std::string ItemText(HWND tree, HTREEITEM item, TVITEMA& info) {
    char text[1024] = "";
    info = TVITEMA{};
    info.mask = TVIF_TEXT | TVIF_PARAM | TVIF_STATE | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_CHILDREN;
    info.stateMask = TVIS_EXPANDED;
    info.hItem = item;
    info.pszText = text;
    info.cchTextMax = sizeof text;
    ::SendMessageA(tree, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&info));
    return text;
}

HTREEITEM Next(HWND tree, HTREEITEM item, UINT how) {
    return reinterpret_cast<HTREEITEM>(::SendMessageA(tree, TVM_GETNEXTITEM, how, reinterpret_cast<LPARAM>(item)));
}

}  // namespace

FakeFrame::FakeFrame() {
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = &FakeFrame::Proc;
    wc.hInstance = ::GetModuleHandleA(nullptr);
    wc.lpszClassName = kFrameClass;
    ::RegisterClassExA(&wc);
    hwnd_ = ::CreateWindowExA(0, kFrameClass, "frame", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN | WS_VISIBLE, 40, 40,
                              360, 420, nullptr, nullptr, wc.hInstance, nullptr);
    ::SetWindowLongPtrA(hwnd_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

FakeFrame::~FakeFrame() {
    if (hwnd_) ::DestroyWindow(hwnd_);
}

std::vector<Sent> FakeFrame::Of(UINT msg) const {
    std::vector<Sent> out;
    for (const Sent& s : messages) {
        if (s.msg == msg) out.push_back(s);
    }
    return out;
}

LRESULT CALLBACK FakeFrame::Proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<FakeFrame*>(::GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    if (self && msg >= framework::UWM_CLASS_CHANGED && msg <= framework::UWM_TREE_TO_TOP) {
        self->messages.push_back(Sent{msg, wParam, lParam});
        if (msg == framework::UWM_TREE_AUTOSCROLL && self->view) self->view->OleAutoScroll(wParam);
        return 1;
    }
    return ::DefWindowProcA(hwnd, msg, wParam, lParam);
}

testing::AssertionResult TreeMatchesStore(HWND tree, const ClassRecord* root) {
    struct Pair {
        HTREEITEM item;  // first child item of the level
        const ClassRecord* record;  // first child record of the level
        std::string where;
    };
    std::vector<Pair> levels{{Next(tree, nullptr, TVGN_ROOT), root->FirstChild(), "top level"}};
    std::size_t count = 0;
    while (!levels.empty()) {
        Pair level = levels.back();
        levels.pop_back();
        HTREEITEM item = level.item;
        const ClassRecord* record = level.record;
        for (int index = 0; item || record; ++index) {
            std::ostringstream at;
            at << level.where << ", position " << index;
            if (!item) return testing::AssertionFailure() << "the control lacks " << record->name << " at " << at.str();
            TVITEMA info;
            const std::string text = ItemText(tree, item, info);
            if (!record) return testing::AssertionFailure() << "the control shows an extra " << text << " at " << at.str();
            if (reinterpret_cast<const ClassRecord*>(info.lParam) != record) {
                return testing::AssertionFailure() << "item " << text << " carries another record than "
                                                   << record->name << " at " << at.str();
            }
            if (text != record->name) {
                return testing::AssertionFailure() << "item text " << text << " but name " << record->name;
            }
            if (info.iImage != 0 || info.iSelectedImage != 1) {
                return testing::AssertionFailure() << "images of " << text << ": " << info.iImage << ","
                                                   << info.iSelectedImage;
            }
            const bool shownExpanded = (info.state & TVIS_EXPANDED) != 0;
            if (info.cChildren != (record->HasChildren() ? 1 : 0)) {
                return testing::AssertionFailure() << text << (record->HasChildren() ? " lacks" : " shows")
                                                   << " the button of a category with sub-categories";
            }
            ++count;
            HTREEITEM child = Next(tree, item, TVGN_CHILD);
            if (record->HasChildren() && !child) {
                // Its sub-categories are not in the control yet: it must be
                // closed, in the control and in the store.
                if (shownExpanded || record->IsExpanded()) {
                    return testing::AssertionFailure() << text << " is open without its sub-categories";
                }
            } else {
                if (record->HasChildren() && shownExpanded != record->IsExpanded()) {
                    return testing::AssertionFailure() << text << " is shown " << (shownExpanded ? "expanded" : "closed")
                                                       << " but the store has it the other way";
                }
                if (child || record->FirstChild()) levels.push_back({child, record->FirstChild(), "under " + text});
            }
            item = Next(tree, item, TVGN_NEXT);
            record = record->NextSibling();
        }
    }
    const auto total = static_cast<std::size_t>(::SendMessageA(tree, TVM_GETCOUNT, 0, 0));
    if (total != count) return testing::AssertionFailure() << "control counts " << total << " items, walked " << count;
    return testing::AssertionSuccess();
}

HTREEITEM MarkedDropTarget(HWND tree) {
    std::vector<HTREEITEM> stack{Next(tree, nullptr, TVGN_ROOT)};
    while (!stack.empty()) {
        HTREEITEM item = stack.back();
        stack.pop_back();
        if (!item) continue;
        if (TreeView_GetItemState(tree, item, TVIS_DROPHILITED) & TVIS_DROPHILITED) return item;
        stack.push_back(Next(tree, item, TVGN_NEXT));
        stack.push_back(Next(tree, item, TVGN_CHILD));
    }
    return nullptr;
}

std::vector<std::string> Outline(const ClassRecord* root) {
    std::vector<std::string> lines;
    for (const ClassRecord* c = root->FirstChild(); c; c = NextInPreOrder(c, root)) {
        int depth = 0;
        for (const ClassRecord* p = c->Parent(); p && p != root; p = p->Parent()) ++depth;
        lines.push_back(std::to_string(depth) + ":" + c->name + (c->IsExpanded() ? "+" : ""));
    }
    return lines;
}

std::string FileOf(const std::vector<std::string>& lines) {
    std::string text = "<?xml version=\"1.0\" encoding=\"utf-8\"?><root>\r\n";
    for (const std::string& line : lines) text += line + "\r\n";
    return text + "</root>\r\n";
}

std::string SampleFile() {
    return FileOf({
        "<G t=\"News\">",
        "<a t=\"Daily\" u=\"http://daily.example/\" r=\"\"/>",
        "<a t=\"Weather\" u=\"http://weather.example/\" r=\"rain\"/>",
        "<G t=\"World\">",
        "<G t=\"Europe\"/>",
        "</G>",
        "<G t=\"Sport\"/>",
        "</G>",
        "<G t=\"Tools\"/>",
        "<G t=\"音乐\">",
        "<G t=\"Jazz\"/>",
        "</G>",
    });
}

void ViewFixture::SetUp() {
    // The real cursor rests far from the test windows, so that no mouse move
    // of its own reaches a tree that a test drives with synthetic ones.
    ::SetCursorPos(::GetSystemMetrics(SM_CXSCREEN) - 1, ::GetSystemMetrics(SM_CYSCREEN) - 1);
    dir = std::make_unique<testing_support::TempDir>();
    CSetting* settings = CSetting::Instance();
    settings->Other_InDefaultBookmark = 0;
    settings->Other_InIEBookmark = 0;
    settings->Other_PromptWhenDelClass = 0;
}

void ViewFixture::TearDown() {
    Close();
    frame.reset();
    Pump();
    CSetting::DestroyInstance();
}

std::string ViewFixture::BookmarkFile() const { return dir->File("bookmark.xml"); }

void ViewFixture::Open(const std::string& fileText) {
    if (!fileText.empty()) testing_support::WriteBytes(BookmarkFile(), fileText);
    frame = std::make_unique<FakeFrame>();
    view = std::make_unique<classtree::CClassTreeView>(frame->Hwnd(), BookmarkFile());
    frame->view = view.get();
    RECT client{};
    ::GetClientRect(frame->Hwnd(), &client);
    ASSERT_NE(view->CreateView(frame->Hwnd(), client), nullptr);
}

void ViewFixture::Close() {
    if (frame) frame->view = nullptr;
    view.reset();
}

ClassRecord* ViewFixture::Find(const char* path) const {
    ClassRecord* node = Store().Root();
    std::string rest = path;
    while (node && !rest.empty()) {
        const std::size_t slash = rest.find('/');
        const std::string name = rest.substr(0, slash);
        rest = slash == std::string::npos ? "" : rest.substr(slash + 1);
        ClassRecord* child = node->FirstChild();
        while (child && child->name != name) child = child->NextSibling();
        node = child;
    }
    return node;
}

void ViewFixture::Select(const char* path) {
    ClassRecord* record = Find(path);
    ASSERT_NE(record, nullptr) << path;
    HTREEITEM item = view->EnsureItem(record);
    ASSERT_NE(item, nullptr) << path;
    TreeView_SelectItem(Tree(), item);
}

}  // namespace classtree_test
