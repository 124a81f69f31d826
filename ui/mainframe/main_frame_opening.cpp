// Opening many bookmarks from the main window: the homepage group and a
// number of bookmarks chosen at random, each list on an opener thread.
#include "mainframe/main_frame.h"

#include "bookmark_store.h"
#include "homepage_group.h"
#include "opening_rules.h"
#include "setting.h"
#include "url_opener.h"

void CMainFrame::OpenHomepageGroup() {
    std::vector<std::string> addresses;
    for (const HomepageItem* item : CHomepageGroup::Instance().Items()) addresses.push_back(item->url);
    if (!addresses.empty()) integration::StartOpener(std::move(addresses), openersStop_);
}

void CMainFrame::OpenRandomBookmarks() {
    const std::size_t count = integration::RandomOpenCount(CSetting::Instance()->Other_RandOpenCount);
    if (count == 0) return;
    std::vector<std::string> addresses;
    for (const BookmarkRecord* bookmark : CBookmarkStore::Instance().PickRandomBookmarks(count)) {
        addresses.push_back(bookmark->url);
    }
    if (!addresses.empty()) integration::StartOpener(std::move(addresses), openersStop_);
}

// Entries added since the start reach the file within one period, not only
// when the window closes.
void CMainFrame::SaveHomepageGroupIfModified() {
    CHomepageGroup& group = CHomepageGroup::Instance();
    if (group.IsModified()) group.Save();
}
