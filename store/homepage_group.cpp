#include "homepage_group.h"

#include <algorithm>
#include <new>
#include <utility>

#include "file_writer.h"
#include "xml_document.h"
#include "xml_file_load.h"
#include "xml_file_text.h"

namespace {
CHomepageGroup* g_group = nullptr;
}

CHomepageGroup& CHomepageGroup::Instance() {
    if (!g_group) g_group = new CHomepageGroup();
    return *g_group;
}

void CHomepageGroup::DestroyInstance() {
    if (!g_group) return;
    g_group->Release();
    delete g_group;
    g_group = nullptr;
}

CHomepageGroup::~CHomepageGroup() { FreeItems(); }

void CHomepageGroup::FreeItems() {
    for (HomepageItem* item : items_) delete item;
    items_.clear();
}

bool CHomepageGroup::Load(const std::string& path) {
    DetachWriter();  // nothing of an earlier file may still be written
    path_ = path;
    saved_ = change_;
    CXmlDocument document;
    bool kept = true;
    const XmlFileLoad load = LoadXmlFileKeepingUnreadable(document, path, "root", platform::LocalTimeNow(), kept);
    // An unreadable file that could not be copied either is left alone: the
    // group is not saved over it this time.
    if (!kept) path_.clear();
    if (load.state != XmlFileState::kLoaded) return false;
    if (!document.FindElement()) return false;
    document.EnterElement();
    // Only the children of the root are read; anything nested deeper, and
    // elements of other names, are passed over.
    while (document.FindElement()) {
        if (!IsNamedIgnoringCase(document.ElementName(), 'a')) continue;
        auto* item = new HomepageItem();
        item->title = document.GetAttribute("t");
        item->url = document.GetAttribute("u");
        items_.push_back(item);
    }
    document.LeaveElement();
    return true;
}

FileTextBuffer CHomepageGroup::BuildText() const {
    std::size_t expected = kXmlDeclaration.size() + 32;
    for (const HomepageItem* item : items_) expected += item->title.size() + item->url.size() + 24;
    XmlTextWriter out(expected + expected / 16);
    out.Append(kXmlDeclaration);
    if (items_.empty()) {
        out.Append("<root/>\r\n");
    } else {
        out.Append("<root>\r\n");
        for (const HomepageItem* item : items_) {
            out.Append("<a");
            out.Attribute("t", item->title);
            out.Attribute("u", item->url);
            out.Append("/>\r\n");
        }
        out.Append("</root>\r\n");
    }
    return out.Finish();
}

void CHomepageGroup::CollectWrites(bool wait) {
    if (!writer_) return;
    if (wait) writer_->WaitIdle();
    for (const CFileWriter::Result& result : writer_->TakeResults(path_))
        if (result.ok) MarkSaved(result.tag);
}

bool CHomepageGroup::Save() {
    CollectWrites(true);  // never two writes of the file at once
    const std::uint64_t change = change_;
    const FileTextBuffer text = BuildText();
    if (path_.empty() || !WriteXmlFile(text.View(), path_)) return false;
    MarkSaved(change);
    return true;
}

void CHomepageGroup::DetachWriter() {
    CollectWrites(true);
    writer_ = nullptr;
}

void CHomepageGroup::SaveThrough(CFileWriter& writer) {
    if (writer_ != &writer) CollectWrites(true);  // a writer given before goes idle first
    writer_ = &writer;
    // Asked before the outcomes are taken: a write that ends in between has
    // its outcome taken now or at the next call, and is never handed over
    // twice.
    const bool pending = writer.Pending(path_);
    CollectWrites(false);
    if (!IsModified() || path_.empty()) return;
    if (pending && handedOver_ == change_) return;
    FileTextBuffer text;
    try {
        text = BuildText();
    } catch (const std::bad_alloc&) {
        return;  // tried again at the next call
    }
    writer.Submit(path_, std::move(text), change_);
    handedOver_ = change_;
}

HomepageItem* CHomepageGroup::Add(const std::string& title, const std::string& url) {
    auto* item = new HomepageItem{url, title};
    items_.push_back(item);
    ++change_;
    return item;
}

void CHomepageGroup::Remove(HomepageItem* entry) {
    auto found = std::find(items_.begin(), items_.end(), entry);
    if (found == items_.end()) return;
    delete *found;
    items_.erase(found);
    ++change_;
}

void CHomepageGroup::Release() {
    DetachWriter();
    if (IsModified()) Save();
    FreeItems();
    path_.clear();
}
