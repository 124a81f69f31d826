#include "list_drag_objects.h"

#include "framework/private_messages.h"

namespace bookmarklist {

CLIPFORMAT BookmarkClipboardFormat() {
    static const auto format = static_cast<CLIPFORMAT>(::RegisterClipboardFormatA("linkarbor_clipboardformat"));
    return format;
}

namespace {

template <class Interface>
HRESULT QueryOne(Interface* self, REFIID wanted, REFIID iid, void** object) {
    if (!object) return E_POINTER;
    if (iid == IID_IUnknown || iid == wanted) {
        *object = self;
        self->AddRef();
        return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

// A copy of global memory, or null for null.
HGLOBAL Duplicate(HGLOBAL source) {
    if (!source) return nullptr;
    const SIZE_T size = ::GlobalSize(source);
    HGLOBAL copy = ::GlobalAlloc(GMEM_MOVEABLE, size);
    if (!copy) return nullptr;
    void* to = ::GlobalLock(copy);
    const void* from = ::GlobalLock(source);
    if (to && from) ::CopyMemory(to, from, size);
    ::GlobalUnlock(source);
    ::GlobalUnlock(copy);
    return copy;
}

}  // namespace

CListDataObject::~CListDataObject() {
    for (int i = 0; i < count_; ++i) ::ReleaseStgMedium(&entries_[i].medium);
}

HRESULT CListDataObject::QueryInterface(REFIID iid, void** object) {
    return QueryOne(static_cast<IDataObject*>(this), IID_IDataObject, iid, object);
}

ULONG CListDataObject::AddRef() { return static_cast<ULONG>(::InterlockedIncrement(&references_)); }

ULONG CListDataObject::Release() {
    const LONG left = ::InterlockedDecrement(&references_);
    if (left == 0) delete this;
    return static_cast<ULONG>(left);
}

int CListDataObject::Find(const FORMATETC& format) const {
    for (int i = 0; i < count_; ++i) {
        if (entries_[i].format.cfFormat == format.cfFormat && (entries_[i].medium.tymed & format.tymed)) return i;
    }
    return -1;
}

HRESULT CListDataObject::QueryGetData(FORMATETC* format) {
    if (!format) return E_INVALIDARG;
    if (format->dwAspect != DVASPECT_CONTENT) return DV_E_DVASPECT;
    return Find(*format) >= 0 ? S_OK : DV_E_FORMATETC;
}

HRESULT CListDataObject::GetData(FORMATETC* format, STGMEDIUM* medium) {
    if (!format || !medium) return E_INVALIDARG;
    const int index = Find(*format);
    if (index < 0) return DV_E_FORMATETC;
    medium->tymed = TYMED_HGLOBAL;
    medium->hGlobal = Duplicate(entries_[index].medium.hGlobal);
    medium->pUnkForRelease = nullptr;
    if (entries_[index].medium.hGlobal && !medium->hGlobal) return E_OUTOFMEMORY;
    return S_OK;
}

HRESULT CListDataObject::GetCanonicalFormatEtc(FORMATETC*, FORMATETC* out) {
    if (out) out->ptd = nullptr;
    return DATA_S_SAMEFORMATETC;
}

HRESULT CListDataObject::SetData(FORMATETC* format, STGMEDIUM* medium, BOOL release) {
    if (!format || !medium) return E_INVALIDARG;
    if (!release || medium->tymed != TYMED_HGLOBAL) return E_NOTIMPL;
    for (int i = 0; i < count_; ++i) {
        if (entries_[i].format.cfFormat == format->cfFormat) {
            ::ReleaseStgMedium(&entries_[i].medium);
            entries_[i] = Entry{*format, *medium};
            return S_OK;
        }
    }
    if (count_ == kMaxEntries) return E_OUTOFMEMORY;
    entries_[count_++] = Entry{*format, *medium};
    return S_OK;
}

HRESULT CListDropSource::QueryInterface(REFIID iid, void** object) {
    return QueryOne(static_cast<IDropSource*>(this), IID_IDropSource, iid, object);
}

ULONG CListDropSource::AddRef() { return static_cast<ULONG>(::InterlockedIncrement(&references_)); }

ULONG CListDropSource::Release() {
    const LONG left = ::InterlockedDecrement(&references_);
    if (left == 0) delete this;
    return static_cast<ULONG>(left);
}

HRESULT CListDropSource::QueryContinueDrag(BOOL escapePressed, DWORD keys) {
    if (frame_ && ::IsWindow(frame_)) ::SendMessageA(frame_, framework::UWM_TREE_AUTOSCROLL, 0, 0);
    if (escapePressed) return DRAGDROP_S_CANCEL;
    if (keys & (MK_LBUTTON | MK_RBUTTON)) return S_OK;
    return DRAGDROP_S_DROP;
}

}  // namespace bookmarklist
