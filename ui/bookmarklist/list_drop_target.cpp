#include "list_drop_target.h"

#include "bookmark_list_view.h"
#include "drop_data.h"
#include "dropped_files.h"
#include "tree_drop_target.h"

namespace bookmarklist {

namespace {

DWORD OutsideEffect(DWORD keys, const DWORD* effect) {
    return classtree::ChooseDropEffect(false, effect ? *effect : DROPEFFECT_COPY, (keys & MK_CONTROL) != 0);
}

}  // namespace

HRESULT CListDropTarget::QueryInterface(REFIID iid, void** object) {
    if (!object) return E_POINTER;
    if (iid == IID_IUnknown || iid == IID_IDropTarget) {
        *object = static_cast<IDropTarget*>(this);
        AddRef();
        return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

ULONG CListDropTarget::AddRef() { return static_cast<ULONG>(::InterlockedIncrement(&references_)); }

ULONG CListDropTarget::Release() {
    const LONG left = ::InterlockedDecrement(&references_);
    if (left == 0) delete this;
    return static_cast<ULONG>(left);
}

HRESULT CListDropTarget::DragEnter(IDataObject*, DWORD keys, POINTL, DWORD* effect) {
    if (effect) *effect = view_ ? OutsideEffect(keys, effect) : DROPEFFECT_NONE;
    return S_OK;
}

HRESULT CListDropTarget::DragOver(DWORD keys, POINTL, DWORD* effect) {
    if (effect) *effect = view_ ? OutsideEffect(keys, effect) : DROPEFFECT_NONE;
    return S_OK;
}

HRESULT CListDropTarget::DragLeave() { return S_OK; }

HRESULT CListDropTarget::Drop(IDataObject* data, DWORD keys, POINTL, DWORD* effect) {
    if (!view_) {
        if (effect) *effect = DROPEFFECT_NONE;
        return S_OK;
    }
    if (effect) *effect = OutsideEffect(keys, effect);
    classtree::ShortcutLink link;
    if (classtree::ReadDroppedText(data, link)) {
        classtree::QueueLink(view_->frame_, std::move(link.title), std::move(link.url), nullptr);
        return S_OK;
    }
    classtree::QueueDroppedFiles(view_->frame_, classtree::DroppedFilePaths(data));
    return S_OK;
}

}  // namespace bookmarklist
