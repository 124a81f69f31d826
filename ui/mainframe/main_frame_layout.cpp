// The main window's parts and where they go: the menu bar and the toolbar in
// a rebar at the top, the status bar at the bottom, and between them the
// category pane left of a splitter whose right side holds the bookmark list
// above the remark pane. Also the commands that show and hide those parts.
#include "mainframe/main_frame.h"

#include "bookmark_list_view.h"
#include "class_tree_view.h"
#include "framework/program_folder.h"
#include "framework/ui_text.h"
#include "resource.h"
#include "setting.h"
#include "toolbar/skin_toolbar.h"

#include <commctrl.h>

#include <algorithm>

namespace {

constexpr UINT kRebarId = 0xE800;
constexpr UINT kFirstBandId = 0xEB00;
constexpr DWORD kRebarStyle = 0x56002640;
// Until the stored positions are placed at the first show.
constexpr int kDefaultTreeWidth = 200;
constexpr int kDefaultRemarkHeight = 90;

}  // namespace

void CMainFrame::CreateBars() {
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_BAR_CLASSES | ICC_COOL_CLASSES};
    ::InitCommonControlsEx(&controls);
    rebar_ = ::CreateWindowExA(0, REBARCLASSNAMEA, "", kRebarStyle, 0, 0, 100, 100, Hwnd(),
                               reinterpret_cast<HMENU>(static_cast<INT_PTR>(kRebarId)), instance_, nullptr);
    if (!rebar_) return;
    // The main menu moves from the window into the bar.
    if (menuBar_.Create(Hwnd(), rebar_)) {
        HMENU menu = ::GetMenu(Hwnd());
        ::SetMenu(Hwnd(), nullptr);
        if (menu) ::DestroyMenu(menu);
    }
    toolbar_ = std::make_unique<toolbar::CSkinToolBar>();
    if (!toolbar_->CreateToolBar(rebar_, instance_)) toolbar_.reset();
    SetUpToolbar();
    if (menuBar_.Hwnd()) AddBand(menuBar_.Hwnd(), menuBar_.IdealWidth(), false);
    if (toolbar_) AddBand(toolbar_->Hwnd(), toolbar_->IdealWidth(), true);
}

void CMainFrame::AddBand(HWND bar, int width, bool newRow) {
    REBARBANDINFOA band{};
    band.cbSize = sizeof band;
    band.fMask = RBBIM_CHILD | RBBIM_CHILDSIZE | RBBIM_STYLE | RBBIM_SIZE | RBBIM_IDEALSIZE | RBBIM_ID;
    band.fStyle = RBBS_CHILDEDGE | (newRow ? RBBS_BREAK : 0);
    const int count = static_cast<int>(::SendMessageA(bar, TB_BUTTONCOUNT, 0, 0));
    if (count > 0) band.fStyle |= RBBS_USECHEVRON;
    RECT rect{};
    ::GetWindowRect(bar, &rect);
    if (width <= 0) width = rect.right - rect.left;
    const DWORD size = static_cast<DWORD>(::SendMessageA(bar, TB_GETBUTTONSIZE, 0, 0));
    band.hwndChild = bar;
    band.cxMinChild = 0;
    band.cyMinChild = std::max<UINT>(HIWORD(size), static_cast<UINT>(rect.bottom - rect.top));
    band.cx = static_cast<UINT>(width);
    band.cxIdeal = static_cast<UINT>(width);
    band.wID = kFirstBandId + static_cast<UINT>(::SendMessageA(rebar_, RB_GETBANDCOUNT, 0, 0));
    ::SendMessageA(rebar_, RB_INSERTBANDA, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&band));
}

// The toolbar's buttons changed size: its band follows.
void CMainFrame::FitToolbarBand() {
    if (toolbar_) FitBand(1, toolbar_->Hwnd());
}

// A band as high as its bar's buttons (the menu bar's change with the
// language's texts, the toolbar's with its options).
void CMainFrame::FitBand(UINT bandIndex, HWND bar) {
    if (!rebar_ || !bar) return;
    const int index = static_cast<int>(::SendMessageA(rebar_, RB_IDTOINDEX, kFirstBandId + bandIndex, 0));
    if (index < 0) return;
    REBARBANDINFOA band{};
    band.cbSize = sizeof band;
    band.fMask = RBBIM_STYLE | RBBIM_CHILDSIZE;
    ::SendMessageA(rebar_, RB_GETBANDINFOA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&band));
    const UINT height = HIWORD(::SendMessageA(bar, TB_GETBUTTONSIZE, 0, 0));
    band.cyMinChild = height;
    band.cyChild = height;
    band.cyMaxChild = height;
    band.cyIntegral = 1;
    band.fStyle |= RBBS_VARIABLEHEIGHT;
    ::SendMessageA(rebar_, RB_SETBANDINFOA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&band));
    LayoutViews();
}

void CMainFrame::CreateViews() {
    const RECT none{0, 0, 0, 0};
    HWND vertical = verSplitter_.CreateSplitter(Hwnd(), none);
    if (!vertical) return;
    HWND horizontal = horSplitter_.CreateSplitter(vertical, none);
    classPane_.CreatePane(vertical, Hwnd(), framework::UiText("mainframe", "10001", "书签目录"));
    remarkPane_.CreatePane(horizontal, Hwnd(), framework::UiText("mainframe", "10002", "备注"));
    // The list first: the tree selects a category while it loads, and the
    // list shows it.
    bookmarkList_ = std::make_unique<bookmarklist::CBookmarkListView>(Hwnd());
    if (!bookmarkList_->CreateView(horizontal, none)) bookmarkList_.reset();
    remark_ = ::CreateWindowExA(WS_EX_CLIENTEDGE, "EDIT", "",
                                WS_CHILD | WS_VISIBLE | WS_VSCROLL | ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL, 0,
                                0, 0, 0, remarkPane_.Hwnd(), nullptr, instance_, nullptr);
    if (remark_) ::SendMessageA(remark_, WM_SETFONT, reinterpret_cast<WPARAM>(::GetStockObject(DEFAULT_GUI_FONT)), 0);
    remarkPane_.SetClient(remark_);
    classTree_ = std::make_unique<classtree::CClassTreeView>(Hwnd(), framework::ProgramFolder() + "bookmark.xml");
    SetUpBookmarkFile();
    if (!classTree_->CreateView(classPane_.Hwnd() ? classPane_.Hwnd() : vertical, none)) classTree_.reset();
    if (classTree_) classPane_.SetClient(classTree_->Hwnd());
    verSplitter_.SetPanes(classPane_.Hwnd(), horizontal);
    horSplitter_.SetPanes(bookmarkList_ ? bookmarkList_->Hwnd() : nullptr, remarkPane_.Hwnd());
    LayoutViews();
    verSplitter_.SetPosition(kDefaultTreeWidth);
    RECT right{};
    ::GetClientRect(horizontal, &right);
    horSplitter_.SetPosition(right.bottom - kDefaultRemarkHeight);
}

void CMainFrame::SelectFirstCategory() {
    if (!classTree_ || !classTree_->Tree()) return;
    HWND tree = classTree_->Tree();
    if (HTREEITEM first = TreeView_GetRoot(tree)) TreeView_SelectItem(tree, first);
}

void CMainFrame::LayoutViews() {
    if (::IsIconic(Hwnd())) return;
    RECT client{};
    ::GetClientRect(Hwnd(), &client);
    if (rebar_ && ::IsWindowVisible(rebar_)) {
        ::SendMessageA(rebar_, WM_SIZE, 0, 0);
        ::InvalidateRect(rebar_, nullptr, TRUE);
        RECT bar{};
        ::GetWindowRect(rebar_, &bar);
        client.top += bar.bottom - bar.top;
    }
    client.bottom -= statusBar_.Layout();
    if (client.bottom < client.top) client.bottom = client.top;
    if (verSplitter_.Hwnd()) {
        ::SetWindowPos(verSplitter_.Hwnd(), nullptr, client.left, client.top, client.right - client.left,
                       client.bottom - client.top, SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

// The stored pane sizes, once the window has its real size.
void CMainFrame::PlaceSplitters() {
    const CSetting* s = CSetting::Instance();
    LayoutViews();
    if (s->GUI_VerSplitterPos >= 0) verSplitter_.SetPosition(s->GUI_VerSplitterPos);
    if (s->GUI_HorSplitterPos >= 0) horSplitter_.SetPosition(s->GUI_HorSplitterPos);
    splittersPlaced_ = true;
}

void CMainFrame::StoreSplitters() {
    if (!splittersPlaced_) return;
    CSetting* s = CSetting::Instance();
    s->GUI_VerSplitterPos = verSplitter_.Position();
    s->GUI_HorSplitterPos = horSplitter_.Position();
}

// What the settings say is shown, without changing them.
void CMainFrame::ApplyShowSettings() {
    const CSetting* s = CSetting::Instance();
    if (!s->GUI_ShowClassView) SetClassPaneShown(false);
    if (!s->GUI_ShowRemarkView) SetRemarkPaneShown(false);
    toolbarShown_ = s->GUI_ShowToolBar != 0;
    ShowToolbarBand(toolbarShown_);
    if (statusBar_.Hwnd()) ::ShowWindow(statusBar_.Hwnd(), s->GUI_ShowStatusBar ? SW_SHOWNOACTIVATE : SW_HIDE);
    LayoutViews();
}

void CMainFrame::SetClassPaneShown(bool shown) {
    CSetting::Instance()->GUI_ShowClassView = shown ? 1 : 0;
    SetPaneShown(verSplitter_, classPane_.Hwnd(), true, shown);
}

void CMainFrame::SetRemarkPaneShown(bool shown) {
    CSetting::Instance()->GUI_ShowRemarkView = shown ? 1 : 0;
    SetPaneShown(horSplitter_, remarkPane_.Hwnd(), false, shown);
}

// Hides or shows one pane of `splitter`; the other becomes the active one.
// The keyboard focus must not stay in a hidden window, where Delete would
// still act on it: it goes to the list.
void CMainFrame::SetPaneShown(framework::CSplitter& splitter, HWND pane, bool paneIsFirst, bool shown) {
    using Panes = framework::CSplitter::Panes;
    if (shown) {
        splitter.SetPanesShown(Panes::kBoth);
        return;
    }
    const bool hadFocus = pane && ::IsChild(pane, ::GetFocus());
    splitter.SetActivePane(paneIsFirst ? 1 : 0);
    splitter.SetPanesShown(paneIsFirst ? Panes::kSecondOnly : Panes::kFirstOnly);
    if (hadFocus && bookmarkList_ && bookmarkList_->List()) ::SetFocus(bookmarkList_->List());
}

bool CMainFrame::ClassPaneShown() const { return verSplitter_.PanesShown() == framework::CSplitter::Panes::kBoth; }
bool CMainFrame::RemarkPaneShown() const { return horSplitter_.PanesShown() == framework::CSplitter::Panes::kBoth; }

void CMainFrame::ShowToolbarBand(bool shown) {
    if (!rebar_) return;
    const int index = static_cast<int>(::SendMessageA(rebar_, RB_IDTOINDEX, kFirstBandId + 1, 0));
    if (index >= 0) ::SendMessageA(rebar_, RB_SHOWBAND, static_cast<WPARAM>(index), shown ? TRUE : FALSE);
}

void CMainFrame::ToggleToolbar() {
    toolbarShown_ = !toolbarShown_;
    CSetting::Instance()->GUI_ShowToolBar = toolbarShown_ ? 1 : 0;
    ShowToolbarBand(toolbarShown_);
    LayoutViews();
}

void CMainFrame::ToggleStatusBar() {
    if (!statusBar_.Hwnd()) return;
    const bool shown = !::IsWindowVisible(statusBar_.Hwnd());
    CSetting::Instance()->GUI_ShowStatusBar = shown ? 1 : 0;
    ::ShowWindow(statusBar_.Hwnd(), shown ? SW_SHOWNOACTIVATE : SW_HIDE);
    LayoutViews();
}

// A pane's close button: only the two panes of this window are hidden.
void CMainFrame::OnPaneClose(HWND pane) {
    if (pane && pane == classPane_.Hwnd()) {
        SetClassPaneShown(false);
    } else if (pane && pane == remarkPane_.Hwnd()) {
        SetRemarkPaneShown(false);
    }
}

bool CMainFrame::CommandChecked(WORD id) const {
    switch (id) {
    case ID_VIEW_TOOLBAR:
        return toolbarShown_;
    case ID_VIEW_STATUS_BAR:
        return statusBar_.Hwnd() && ::IsWindowVisible(statusBar_.Hwnd());
    case ID_VIEW_CLASSPANE:
        return ClassPaneShown();
    case ID_VIEW_REMARKPANE:
        return RemarkPaneShown();
    case ID_VIEW_DRAGWINDOW:
        return dropWindow_ != nullptr;
    default:
        return false;
    }
}

bool CMainFrame::FocusNextPane(bool forward) {
    const HWND panes[] = {classTree_ && ClassPaneShown() ? classTree_->Tree() : nullptr,
                          bookmarkList_ ? bookmarkList_->List() : nullptr, RemarkPaneShown() ? remark_ : nullptr};
    constexpr int kCount = 3;
    const HWND focus = ::GetFocus();
    int at = -1;
    for (int i = 0; i < kCount; ++i) {
        if (panes[i] && (focus == panes[i] || ::IsChild(panes[i], focus))) at = i;
    }
    // From outside the panes (the toolbar, nothing) F6 starts at the tree.
    if (at < 0) at = forward ? kCount - 1 : 0;
    for (int step = 1; step <= kCount; ++step) {
        const HWND next = panes[(at + (forward ? step : kCount - step)) % kCount];
        if (next && ::IsWindowVisible(next)) {
            ::SetFocus(next);
            return true;
        }
    }
    return false;
}
