#include "class_tree_copy.h"

#include "resource.h"

#include <vector>

namespace dialogs {

CImageList CreateClassImageList(HINSTANCE instance) {
    if (!instance) instance = ::GetModuleHandleA(nullptr);
    const int size = ::GetSystemMetrics(SM_CXSMICON) > 0 ? ::GetSystemMetrics(SM_CXSMICON) : 16;
    CImageList list(ImageList_Create(size, size, ILC_COLOR32 | ILC_MASK, 5, 1));
    if (!list.get()) return list;
    for (int id : {IDI_CLASS, IDI_CLASS_OPEN}) {
        auto icon = static_cast<HICON>(::LoadImageA(instance, MAKEINTRESOURCEA(id), IMAGE_ICON, size, size, 0));
        ImageList_AddIcon(list.get(), icon);  // copies the picture
        if (icon) ::DestroyIcon(icon);
    }
    return list;
}

HTREEITEM FillClassTree(HWND tree, const TreeCopyPlan& plan) {
    if (!tree) return nullptr;
    ::SendMessageA(tree, TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(TVI_ROOT));
    std::vector<HTREEITEM> items;
    items.reserve(plan.entries.size());
    for (const TreeCopyEntry& entry : plan.entries) {
        TVINSERTSTRUCTA insert{};
        insert.hParent = entry.parent >= 0 ? items[static_cast<std::size_t>(entry.parent)] : TVI_ROOT;
        insert.hInsertAfter = TVI_LAST;
        insert.item.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_PARAM;
        insert.item.pszText = const_cast<char*>(entry.record->name.c_str());
        insert.item.iImage = 0;
        insert.item.iSelectedImage = 1;
        insert.item.lParam = reinterpret_cast<LPARAM>(entry.record);
        items.push_back(reinterpret_cast<HTREEITEM>(
            ::SendMessageA(tree, TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&insert))));
    }
    // Expanding needs the children in place.
    for (std::size_t i = 0; i < items.size(); ++i) {
        if (plan.entries[i].expanded && items[i])
            ::SendMessageA(tree, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(items[i]));
    }
    if (plan.selected < 0) return nullptr;
    HTREEITEM selected = items[static_cast<std::size_t>(plan.selected)];
    ::SendMessageA(tree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(selected));
    ::SendMessageA(tree, TVM_ENSUREVISIBLE, 0, reinterpret_cast<LPARAM>(selected));
    return selected;
}

ClassRecord* SelectedClass(HWND tree) {
    if (!tree) return nullptr;
    auto item = reinterpret_cast<HTREEITEM>(::SendMessageA(tree, TVM_GETNEXTITEM, TVGN_CARET, 0));
    if (!item) return nullptr;
    TVITEMA info{};
    info.mask = TVIF_PARAM;
    info.hItem = item;
    if (!::SendMessageA(tree, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&info))) return nullptr;
    return reinterpret_cast<ClassRecord*>(info.lParam);
}

}  // namespace dialogs
