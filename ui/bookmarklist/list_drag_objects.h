// What a drag of bookmarks out of the list carries: a small data object that
// holds the program's private format (no data: its presence says "the
// list's selected bookmarks"), and the drop source that keeps the category
// tree scrolling while the cursor is near it.
#pragma once

#include <windows.h>
#include <ole2.h>

namespace bookmarklist {

// The private format, registered once.
CLIPFORMAT BookmarkClipboardFormat();

class CListDataObject final : public IDataObject {
public:
    static constexpr int kMaxEntries = 8;

    CListDataObject() = default;
    CListDataObject(const CListDataObject&) = delete;
    CListDataObject& operator=(const CListDataObject&) = delete;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;

    HRESULT STDMETHODCALLTYPE GetData(FORMATETC* format, STGMEDIUM* medium) override;
    HRESULT STDMETHODCALLTYPE GetDataHere(FORMATETC*, STGMEDIUM*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE QueryGetData(FORMATETC* format) override;
    HRESULT STDMETHODCALLTYPE GetCanonicalFormatEtc(FORMATETC*, FORMATETC* out) override;
    // Only global memory, and only when the object may keep it.
    HRESULT STDMETHODCALLTYPE SetData(FORMATETC* format, STGMEDIUM* medium, BOOL release) override;
    HRESULT STDMETHODCALLTYPE EnumFormatEtc(DWORD, IEnumFORMATETC**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE DAdvise(FORMATETC*, DWORD, IAdviseSink*, DWORD*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE DUnadvise(DWORD) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE EnumDAdvise(IEnumSTATDATA**) override { return E_NOTIMPL; }

private:
    ~CListDataObject();
    int Find(const FORMATETC& format) const;

    struct Entry {
        FORMATETC format;
        STGMEDIUM medium;
    };
    Entry entries_[kMaxEntries]{};
    int count_ = 0;
    LONG references_ = 1;
};

class CListDropSource final : public IDropSource {
public:
    // `frame` hears of every step (the tree's edge scrolling).
    explicit CListDropSource(HWND frame) : frame_(frame) {}
    CListDropSource(const CListDropSource&) = delete;
    CListDropSource& operator=(const CListDropSource&) = delete;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;

    HRESULT STDMETHODCALLTYPE QueryContinueDrag(BOOL escapePressed, DWORD keys) override;
    HRESULT STDMETHODCALLTYPE GiveFeedback(DWORD) override { return DRAGDROP_S_USEDEFAULTCURSORS; }

private:
    ~CListDropSource() = default;

    HWND frame_;
    LONG references_ = 1;
};

}  // namespace bookmarklist
