// The bookmark list as an OLE drop target: links dragged from a browser and
// Internet Shortcut files join the queue of incoming links, for the category
// on display. The floating drop window hands its drops to the same target.
#pragma once

#include <windows.h>
#include <ole2.h>

namespace bookmarklist {

class CBookmarkListView;

class CListDropTarget final : public IDropTarget {
public:
    explicit CListDropTarget(CBookmarkListView& view) : view_(&view) {}
    CListDropTarget(const CListDropTarget&) = delete;
    CListDropTarget& operator=(const CListDropTarget&) = delete;

    // IUnknown
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;

    // IDropTarget. Data from other programs is copied, never moved: a move
    // would make the source delete its original.
    HRESULT STDMETHODCALLTYPE DragEnter(IDataObject* data, DWORD keys, POINTL point, DWORD* effect) override;
    HRESULT STDMETHODCALLTYPE DragOver(DWORD keys, POINTL point, DWORD* effect) override;
    HRESULT STDMETHODCALLTYPE DragLeave() override;
    HRESULT STDMETHODCALLTYPE Drop(IDataObject* data, DWORD keys, POINTL point, DWORD* effect) override;

    // The list is going: the floating drop window may still hold this
    // target, which from now on refuses every drop.
    void Detach() { view_ = nullptr; }

private:
    ~CListDropTarget() = default;

    CBookmarkListView* view_;
    LONG references_ = 1;
};

}  // namespace bookmarklist
