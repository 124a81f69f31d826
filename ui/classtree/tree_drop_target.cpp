#include "tree_drop_target.h"

#include "class_tree_view.h"
#include "drop_data.h"
#include "dropped_files.h"
#include "file_list_block.h"
#include "framework/private_messages.h"
#include "pending_link_queue.h"
#include "platform/incoming_text.h"
#include "shortcut_file.h"
#include "transfer_job.h"

#include <shellapi.h>

namespace classtree {

namespace {

constexpr DWORD kHoverExpandDelay = 800;
constexpr char kBookmarkFormat[] = "linkarbor_clipboardformat";
constexpr char kDescriptorFormat[] = "FileGroupDescriptor";
constexpr char kWideDescriptorFormat[] = "FileGroupDescriptorW";
constexpr char kWideUrlFormat[] = "UniformResourceLocatorW";

// One medium from the data object, released once when it goes.
class Medium {
public:
    Medium(IDataObject* data, CLIPFORMAT format, DWORD tymed) {
        FORMATETC request{format, nullptr, DVASPECT_CONTENT, -1, tymed};
        ok_ = data && SUCCEEDED(data->GetData(&request, &medium_));
        if (ok_ && !(medium_.tymed & tymed)) {
            ::ReleaseStgMedium(&medium_);
            ok_ = false;
        }
    }
    ~Medium() {
        if (ok_) ::ReleaseStgMedium(&medium_);
    }
    Medium(const Medium&) = delete;
    Medium& operator=(const Medium&) = delete;

    bool Ok() const { return ok_; }
    HGLOBAL Global() const { return ok_ ? medium_.hGlobal : nullptr; }

private:
    STGMEDIUM medium_{};
    bool ok_ = false;
};

// Runs `read(bytes, size)` over the locked global memory, never beyond its
// size.
template <class Read>
auto ReadGlobal(HGLOBAL global, Read read) -> decltype(read(nullptr, 0)) {
    if (!global) return {};
    const SIZE_T size = ::GlobalSize(global);
    const void* bytes = ::GlobalLock(global);
    if (!bytes) return {};
    auto result = read(bytes, static_cast<std::size_t>(size));
    ::GlobalUnlock(global);
    return result;
}

// The text of a UTF-16 format, when the data object offers it.
bool ReadWideText(IDataObject* data, CLIPFORMAT format, std::u16string& text) {
    Medium medium(data, format, TYMED_HGLOBAL);
    if (!medium.Ok()) return false;
    text = ReadGlobal(medium.Global(), WideTextOfBlock);
    return true;
}

CLIPFORMAT Format(const char* name) { return static_cast<CLIPFORMAT>(::RegisterClipboardFormatA(name)); }

// The system's reader trusts the block's offset and terminators: the block
// is checked against its own size first.
bool FileListBlockFits(HGLOBAL global) {
    const SIZE_T size = ::GlobalSize(global);
    const void* bytes = ::GlobalLock(global);
    if (!bytes) return false;
    const bool fits = FileListFits(bytes, static_cast<std::size_t>(size));
    ::GlobalUnlock(global);
    return fits;
}

bool HoldsBookmarks(IDataObject* data) {
    const auto format = static_cast<CLIPFORMAT>(::RegisterClipboardFormatA(kBookmarkFormat));
    FORMATETC request{format, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
    return data && data->QueryGetData(&request) == S_OK;
}

}  // namespace


void QueueLink(HWND frame, std::string title, std::string url, ClassRecord* target) {
    // The queue's limits hold for drops as for the automation object: a link
    // it refuses (too long, or the queue full) is dropped without a word.
    if (PendingLinkQueue::Instance().Push(PendingLink{std::move(title), std::move(url), target}) !=
        PushResult::kQueued) {
        return;
    }
    if (frame && ::IsWindow(frame)) ::PostMessageA(frame, framework::UWM_LINKS_PENDING, 0, 0);
}

std::vector<ShortcutLink> ReadShortcutFiles(const std::vector<std::string>& paths) {
    std::vector<ShortcutLink> links;
    for (const std::string& path : paths) {
        std::string url = transfer::ReadShortcutUrl(path);
        if (!url.empty()) links.push_back(ShortcutLink{TitleOfShortcutPath(path), std::move(url)});
    }
    return links;
}

HRESULT CTreeDropTarget::QueryInterface(REFIID iid, void** object) {
    if (!object) return E_POINTER;
    if (iid == IID_IUnknown || iid == IID_IDropTarget) {
        *object = static_cast<IDropTarget*>(this);
        AddRef();
        return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

ULONG CTreeDropTarget::AddRef() { return static_cast<ULONG>(::InterlockedIncrement(&references_)); }

ULONG CTreeDropTarget::Release() {
    const LONG left = ::InterlockedDecrement(&references_);
    if (left == 0) delete this;
    return static_cast<ULONG>(left);
}

DWORD CTreeDropTarget::Effect(DWORD keys, DWORD allowed) const {
    // An import or export changes the collection: bookmarks dragged from the
    // list would be filed beside it. Links from outside only join the queue.
    if (ownBookmarks_ && transfer::CTransferJob::CollectionHeld()) return DROPEFFECT_NONE;
    return ChooseDropEffect(ownBookmarks_, allowed, (keys & MK_CONTROL) != 0);
}

HRESULT CTreeDropTarget::DragEnter(IDataObject* data, DWORD keys, POINTL, DWORD* effect) {
    ownBookmarks_ = HoldsBookmarks(data);
    if (effect) *effect = Effect(keys, *effect);
    CClassTreeView& v = view_;
    v.savedSelection_ = TreeView_GetSelection(v.tree_);
    v.oleEntered_ = true;
    v.lastZone_ = 0;
    RECT client{};
    ::GetClientRect(v.tree_, &client);
    ::MapWindowPoints(v.tree_, nullptr, reinterpret_cast<POINT*>(&client), 2);
    v.clientTop_ = client.top;
    v.clientBottom_ = client.bottom;
    v.clientLeft_ = client.left;
    v.clientRight_ = client.right;
    return S_OK;
}

HRESULT CTreeDropTarget::DragOver(DWORD keys, POINTL point, DWORD* effect) {
    CClassTreeView& v = view_;
    v.SendToFrame(framework::UWM_TREE_AUTOSCROLL, 0, 0);
    POINT client{point.x, point.y};
    ::ScreenToClient(v.tree_, &client);
    HTREEITEM item = v.HitTest(client);
    if (!item) {
        // Blank space takes nothing; the source shows the refusal.
        ClearHighlight();
        if (effect) *effect = DROPEFFECT_NONE;
        return S_OK;
    }
    if (item == v.dropTarget_) {
        const bool resting = client.x == v.lastMouse_.x && client.y == v.lastMouse_.y;
        if (!resting) {
            v.oleHoverStart_ = v.Now();
        } else if (v.Now() - v.oleHoverStart_ > kHoverExpandDelay) {
            ClassRecord* record = v.RecordOf(item);
            if (record && record->HasChildren() && v.store_) v.store_->SetExpanded(record, true);
            v.oleHoverStart_ = v.Now();
        }
    }
    v.HighlightDropTarget(item);
    v.lastMouse_ = client;
    if (effect) *effect = Effect(keys, *effect);
    return S_OK;
}

void CTreeDropTarget::ClearHighlight() { view_.ClearDropHighlight(); }

HRESULT CTreeDropTarget::DragLeave() {
    ClearHighlight();
    return S_OK;
}

bool CTreeDropTarget::DropBookmarks(IDataObject* data, DWORD effect) {
    const auto format = static_cast<CLIPFORMAT>(::RegisterClipboardFormatA(kBookmarkFormat));
    Medium medium(data, format, TYMED_HGLOBAL);
    if (!medium.Ok()) return false;
    if (ClassRecord* target = view_.RecordOf(view_.dropTarget_)) {
        view_.SendToFrame(framework::UWM_DROP_BOOKMARKS, effect, reinterpret_cast<LPARAM>(target));
    }
    return true;
}

bool ReadDroppedText(IDataObject* data, ShortcutLink& link) {
    // The Unicode forms first: an address with characters outside the code
    // page keeps its meaning only through them.
    std::u16string wide;
    if (ReadWideText(data, Format(kWideUrlFormat), wide) || ReadWideText(data, CF_UNICODETEXT, wide)) {
        link.url = platform::AddressFromUtf16(wide);
    } else {
        Medium text(data, CF_TEXT, TYMED_HGLOBAL);
        if (!text.Ok()) return false;
        link.url = ReadGlobal(text.Global(), TextOfBlock);
    }
    link.title.clear();
    Medium wideNames(data, Format(kWideDescriptorFormat), TYMED_HGLOBAL);
    if (wideNames.Ok()) {
        link.title = platform::NameFromUtf16(ReadGlobal(wideNames.Global(), WideTitleOfDescriptorBlock));
        return true;
    }
    Medium names(data, Format(kDescriptorFormat), TYMED_HGLOBAL);
    if (names.Ok()) {
        link.title = ReadGlobal(names.Global(), TitleOfDescriptorBlock);
        platform::ReplaceReservedNameChars(link.title);
    }
    return true;
}

std::vector<std::string> DroppedFilePaths(IDataObject* data) {
    Medium files(data, CF_HDROP, TYMED_HGLOBAL);
    if (!files.Ok() || !files.Global()) return {};
    if (!FileListBlockFits(files.Global())) return {};
    auto drop = static_cast<HDROP>(files.Global());
    std::vector<std::string> paths;
    // More files than the queue takes would only be read to be refused.
    UINT count = ::DragQueryFileA(drop, 0xFFFFFFFF, nullptr, 0);
    if (count > kMaxPendingLinks) count = static_cast<UINT>(kMaxPendingLinks);
    for (UINT i = 0; i < count; ++i) {
        const UINT length = ::DragQueryFileA(drop, i, nullptr, 0);
        std::string path(length + 1, '\0');
        const UINT copied = ::DragQueryFileA(drop, i, path.data(), length + 1);
        path.resize(copied <= length ? copied : length);
        paths.push_back(std::move(path));
    }
    return paths;
}

std::vector<ShortcutLink> ReadDroppedFiles(IDataObject* data) { return ReadShortcutFiles(DroppedFilePaths(data)); }

bool CTreeDropTarget::DropText(IDataObject* data) {
    ShortcutLink link;
    if (!ReadDroppedText(data, link)) return false;
    QueueLink(view_.frame_, std::move(link.title), std::move(link.url), view_.RecordOf(view_.dropTarget_));
    return true;
}

void CTreeDropTarget::DropFiles(IDataObject* data) { QueueDroppedFiles(view_.frame_, DroppedFilePaths(data)); }

HRESULT CTreeDropTarget::Drop(IDataObject* data, DWORD keys, POINTL, DWORD* effect) {
    ownBookmarks_ = HoldsBookmarks(data);
    const DWORD chosen = Effect(keys, effect ? *effect : DROPEFFECT_COPY | DROPEFFECT_MOVE);
    if (effect) *effect = chosen;
    if (ownBookmarks_) {
        if (chosen != DROPEFFECT_NONE) DropBookmarks(data, chosen);
    } else if (!DropText(data)) {
        DropFiles(data);
    }
    ClearHighlight();
    view_.oleEntered_ = false;
    return S_OK;
}

}  // namespace classtree
