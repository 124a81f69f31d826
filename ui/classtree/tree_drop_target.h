// The category tree as an OLE drop target: bookmarks dragged from the list,
// links dragged from a browser (text with a file descriptor) and Internet
// Shortcut files.
#pragma once

#include <windows.h>
#include <ole2.h>

#include <string>
#include <vector>

class ClassRecord;

namespace classtree {

class CClassTreeView;

// Title and address of each Internet Shortcut among `paths`; files without
// an address are left out.
struct ShortcutLink {
    std::string title;
    std::string url;
};
std::vector<ShortcutLink> ReadShortcutFiles(const std::vector<std::string>& paths);

// What another program dropped: the link of a CF_TEXT block with the title of
// its file descriptor (false when there is no text), or the links of the
// Internet Shortcut files of a CF_HDROP list.
bool ReadDroppedText(IDataObject* data, ShortcutLink& link);
std::vector<ShortcutLink> ReadDroppedFiles(IDataObject* data);
// The paths of a CF_HDROP list (none when the block's list does not fit in
// it), at most as many as the link queue takes.
std::vector<std::string> DroppedFilePaths(IDataObject* data);

// Queues a link for the bookmark list and tells `frame` that links wait. The
// queue's limits (PendingLinkQueue::Push) apply: a refused link is dropped.
void QueueLink(HWND frame, std::string title, std::string url, ClassRecord* target);

class CTreeDropTarget final : public IDropTarget {
public:
    explicit CTreeDropTarget(CClassTreeView& view) : view_(view) {}
    CTreeDropTarget(const CTreeDropTarget&) = delete;
    CTreeDropTarget& operator=(const CTreeDropTarget&) = delete;

    // IUnknown
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;

    // IDropTarget
    HRESULT STDMETHODCALLTYPE DragEnter(IDataObject* data, DWORD keys, POINTL point, DWORD* effect) override;
    HRESULT STDMETHODCALLTYPE DragOver(DWORD keys, POINTL point, DWORD* effect) override;
    HRESULT STDMETHODCALLTYPE DragLeave() override;
    HRESULT STDMETHODCALLTYPE Drop(IDataObject* data, DWORD keys, POINTL point, DWORD* effect) override;

private:
    ~CTreeDropTarget() = default;

    bool DropBookmarks(IDataObject* data, DWORD effect);
    bool DropText(IDataObject* data);
    void DropFiles(IDataObject* data);
    void ClearHighlight();
    DWORD Effect(DWORD keys, DWORD allowed) const;

    CClassTreeView& view_;
    // The dragged data holds the program's own bookmarks.
    bool ownBookmarks_ = false;
    LONG references_ = 1;
};

}  // namespace classtree
