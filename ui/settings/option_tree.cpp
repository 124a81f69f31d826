#include "option_tree.h"

#include "dpi_images.h"
#include "framework/control_hook.h"
#include "option_rules.h"
#include "resource.h"

#include <cstring>

namespace settings {

namespace {

bool IsNotification(UINT code, UINT ansi, UINT wide) { return code == ansi || code == wide; }

}  // namespace

COptionTree::~COptionTree() {
    editor_.reset();
    if (images_) ImageList_Destroy(images_);
}

bool COptionTree::Attach(HWND tree, HINSTANCE resources) {
    if (!tree || tree_) return false;
    tree_ = tree;
    // The editor lies over the tree's rows.
    ::SetWindowLongPtrA(tree, GWL_STYLE, ::GetWindowLongPtrA(tree, GWL_STYLE) | WS_CLIPCHILDREN);
    images_ = LoadImageStrip(resources, IDB_OPTION_IMAGES, tree);
    if (images_) TreeView_SetImageList(tree, images_, TVSIL_NORMAL);
    framework::HookControl<COptionTree, &COptionTree::OnTreeMessage, &COptionTree::original_>(tree, this);
    return true;
}

HTREEITEM COptionTree::Insert(const std::string& text, int image, HTREEITEM parent) {
    TVINSERTSTRUCTA insert{};
    insert.hParent = parent ? parent : TVI_ROOT;
    insert.hInsertAfter = TVI_LAST;
    insert.item.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE;
    insert.item.pszText = const_cast<char*>(text.c_str());
    insert.item.iImage = insert.item.iSelectedImage = image;
    auto item = reinterpret_cast<HTREEITEM>(::SendMessageA(tree_, TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&insert)));
    if (item) items_[item].label = text;
    return item;
}

HTREEITEM COptionTree::AddGroup(const std::string& text, int image, HTREEITEM parent) {
    return Insert(text, image, parent);
}

HTREEITEM COptionTree::AddCheck(const std::string& text, HTREEITEM parent, bool checked) {
    return Insert(text, checked ? kCheckOn : kCheckOff, parent);
}

HTREEITEM COptionTree::AddRadio(const std::string& text, HTREEITEM parent, bool checked) {
    HTREEITEM item = Insert(text, kRadioOff, parent);
    if (item && checked) SelectRadio(item);
    return item;
}

int COptionTree::Image(HTREEITEM item) const {
    TVITEMA info{};
    info.mask = TVIF_IMAGE | TVIF_HANDLE;
    info.hItem = item;
    if (!item || !::SendMessageA(tree_, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&info))) return -1;
    return info.iImage;
}

void COptionTree::SetImage(HTREEITEM item, int image) {
    TVITEMA info{};
    info.mask = TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_HANDLE;
    info.hItem = item;
    info.iImage = info.iSelectedImage = image;
    ::SendMessageA(tree_, TVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&info));
}

void COptionTree::SetCaption(HTREEITEM item, const std::string& caption) {
    TVITEMA info{};
    info.mask = TVIF_TEXT | TVIF_HANDLE;
    info.hItem = item;
    info.pszText = const_cast<char*>(caption.c_str());
    ::SendMessageA(tree_, TVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&info));
}

const COptionTree::ItemData* COptionTree::Data(HTREEITEM item) const {
    const auto found = items_.find(item);
    return found == items_.end() ? nullptr : &found->second;
}

bool COptionTree::IsChecked(HTREEITEM item) const { return IsCheckedImage(Image(item)); }

void COptionTree::EnableCheck(HTREEITEM item, bool enabled) { SetImage(item, CheckImage(IsChecked(item), enabled)); }

void COptionTree::SelectRadio(HTREEITEM item) {
    if (!item) return;
    HTREEITEM parent = TreeView_GetParent(tree_, item);
    HTREEITEM sibling = parent ? TreeView_GetChild(tree_, parent) : TreeView_GetRoot(tree_);
    for (; sibling; sibling = TreeView_GetNextSibling(tree_, sibling)) {
        if (sibling != item) SetImage(sibling, DeselectedSiblingImage(Image(sibling)));
    }
    SetImage(item, kRadioOn);
}

int COptionTree::SelectedRadio(HTREEITEM parent) const {
    int position = 0;
    for (HTREEITEM child = TreeView_GetChild(tree_, parent); child; child = TreeView_GetNextSibling(tree_, child)) {
        const int image = Image(child);
        if (image == kRadioOn || image == kRadioOnDisabled) return position;
        ++position;
    }
    return -1;
}

void COptionTree::AttachInPlaceClass(HTREEITEM item, InPlaceClass editorClass) {
    if (!item) return;
    items_[item].editorClass = editorClass;
}

void COptionTree::SetValueText(HTREEITEM item, const std::string& value) {
    const auto found = items_.find(item);
    if (found == items_.end()) return;
    found->second.value = value;
    SetCaption(item, ValueCaption(found->second.label, value));
}

std::string COptionTree::GetValueText(HTREEITEM item) const {
    // While its editor is open, the value is the editor's.
    if (editor_ && item == edited_) return editor_->Text();
    const ItemData* data = Data(item);
    return data ? data->value : std::string();
}

std::string COptionTree::Label(HTREEITEM item) const {
    const ItemData* data = Data(item);
    return data ? data->label : std::string();
}

void COptionTree::Expand(HTREEITEM item) { TreeView_Expand(tree_, item, TVE_EXPAND); }

void COptionTree::Activate(HTREEITEM item) {
    switch (EffectOfClick(Image(item))) {
    case ClickEffect::kToggleCheck:
        SetImage(item, IsChecked(item) ? kCheckOff : kCheckOn);
        break;
    case ClickEffect::kSelectRadio:
        SelectRadio(item);
        break;
    case ClickEffect::kNone:
        break;
    }
}

void COptionTree::OpenEditor(HTREEITEM item) {
    const ItemData* data = Data(item);
    if (!data || !data->editorClass || editor_) return;
    std::unique_ptr<CInPlaceEditor> editor = data->editorClass();
    if (!editor) return;
    const std::string value = data->value;
    // The caption shows only the label while the editor shows the value.
    SetCaption(item, ValueCaption(data->label, ""));
    RECT text{};
    std::memcpy(&text, &item, sizeof item);  // the item goes in, its rectangle comes out
    if (!::SendMessageA(tree_, TVM_GETITEMRECT, TRUE, reinterpret_cast<LPARAM>(&text))) {
        SetCaption(item, ValueCaption(data->label, value));
        return;
    }
    ++editorSerial_;
    if (!editor->Open(tree_, text.right + 2, text, value, kCloseEditorRequest, editorSerial_)) {
        SetCaption(item, ValueCaption(data->label, value));
        return;
    }
    editor_ = std::move(editor);
    edited_ = item;
    ::SetFocus(editor_->Hwnd());
}

void COptionTree::CloseEditor() {
    if (!editor_) return;
    // Taken out first: destroying the window moves the focus, which must
    // not find the editor open any more.
    std::unique_ptr<CInPlaceEditor> editor = std::move(editor_);
    HTREEITEM item = edited_;
    edited_ = nullptr;
    const std::string value = editor->Text();
    const bool hadFocus = ::GetFocus() == editor->Hwnd();
    editor->Destroy();
    if (tree_ && ::IsWindow(tree_)) {
        SetValueText(item, value);
        if (hadFocus) ::SetFocus(tree_);
    }
}

bool COptionTree::OnNotify(const NMHDR& header, LRESULT& result) {
    if (header.hwndFrom != tree_) return false;
    result = 0;
    if (IsNotification(header.code, TVN_SELCHANGINGA, TVN_SELCHANGINGW) ||
        IsNotification(header.code, TVN_ITEMEXPANDINGA, TVN_ITEMEXPANDINGW)) {
        CloseEditor();
        return false;  // the change goes ahead
    }
    if (IsNotification(header.code, TVN_SELCHANGEDA, TVN_SELCHANGEDW)) {
        // The same place in both forms of the record.
        const auto& change = reinterpret_cast<const NMTREEVIEWA&>(header);
        CloseEditor();
        OpenEditor(change.itemNew.hItem);
        return true;
    }
    return false;
}

LRESULT COptionTree::OnLeftButtonDown(WPARAM wParam, LPARAM lParam) {
    TVHITTESTINFO hit{};
    hit.pt = POINT{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
    TreeView_HitTest(tree_, &hit);
    constexpr UINT kOnRow = TVHT_ONITEMICON | TVHT_ONITEMLABEL | TVHT_ONITEMINDENT | TVHT_ONITEMRIGHT;
    const bool onRow = hit.hItem && (hit.flags & kOnRow);
    if (onRow) Activate(hit.hItem);
    if (!hit.hItem || (hit.flags & TVHT_NOWHERE)) CloseEditor();
    const LRESULT result = ::CallWindowProcA(original_, tree_, WM_LBUTTONDOWN, wParam, lParam);
    // The tree takes the focus after the click: an editor open now, made by
    // the click or by the selection it moved, gets it back.
    if (onRow && !editor_ && hit.hItem == TreeView_GetSelection(tree_)) OpenEditor(hit.hItem);
    if (editor_ && editor_->Hwnd()) ::SetFocus(editor_->Hwnd());
    return result;
}

bool COptionTree::OnTreeMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    switch (msg) {
    case WM_LBUTTONDOWN:
        result = OnLeftButtonDown(wParam, lParam);
        return true;
    case WM_KEYDOWN:
        if (wParam != VK_SPACE) return false;
        if (HTREEITEM selected = TreeView_GetSelection(tree_)) Activate(selected);
        result = 0;
        return true;
    case WM_CHAR:
        // The space is taken by the key above.
        if (wParam != ' ') return false;
        result = 0;
        return true;
    case WM_VSCROLL:
    case WM_HSCROLL:
    case WM_MOUSEWHEEL:
        CloseEditor();
        return false;
    case WM_KILLFOCUS: {
        HWND to = reinterpret_cast<HWND>(wParam);
        HWND editor = Editor();
        if (editor && to != editor && !::IsChild(editor, to)) CloseEditor();
        return false;
    }
    case kCloseEditorRequest:
        if (editor_ && wParam == editorSerial_) CloseEditor();
        result = 0;
        return true;
    case WM_COMMAND:
        // The editor's notifications: nothing for the tree or its page.
        if (editor_ && reinterpret_cast<HWND>(lParam) == editor_->Hwnd()) {
            result = 0;
            return true;
        }
        return false;
    case WM_DESTROY:
        CloseEditor();
        return false;
    case WM_NCDESTROY:
        tree_ = nullptr;
        return false;
    default:
        return false;
    }
}

}  // namespace settings
