#include "homepage_group.h"

#include <algorithm>
#include <utility>

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
    path_ = path;
    modified_ = false;
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

bool CHomepageGroup::Save() {
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
    const FileTextBuffer text = out.Finish();
    if (path_.empty() || !WriteXmlFile(text.View(), path_)) return false;
    modified_ = false;
    return true;
}

HomepageItem* CHomepageGroup::Add(const std::string& title, const std::string& url) {
    auto* item = new HomepageItem{url, title};
    items_.push_back(item);
    modified_ = true;
    return item;
}

void CHomepageGroup::Remove(HomepageItem* entry) {
    auto found = std::find(items_.begin(), items_.end(), entry);
    if (found == items_.end()) return;
    delete *found;
    items_.erase(found);
    modified_ = true;
}

void CHomepageGroup::Release() {
    if (modified_) Save();
    FreeItems();
    path_.clear();
}
