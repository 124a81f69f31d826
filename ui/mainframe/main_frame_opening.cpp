// Opening many bookmarks from the main window: the homepage group and a
// number of bookmarks chosen at random, each list on an opener thread.
#include "mainframe/main_frame.h"

#include "bookmark_store.h"
#include "file_writer.h"
#include "homepage_group.h"
#include "opening_rules.h"
#include "setting.h"
#include "url_opener.h"

void CMainFrame::OpenHomepageGroup() {
    integration::AddressList addresses = integration::CollectAddresses(
        CHomepageGroup::Instance().Items(), [](const HomepageItem* item) -> const std::string& { return item->url; });
    if (!addresses.Empty()) integration::StartOpener(std::move(addresses), openersStop_);
}

void CMainFrame::OpenRandomBookmarks() {
    const std::size_t count = integration::RandomOpenCount(CSetting::Instance()->Other_RandOpenCount);
    if (count == 0) return;
    integration::AddressList addresses = integration::CollectAddresses(
        CBookmarkStore::Instance().PickRandomBookmarks(count),
        [](const BookmarkRecord* bookmark) -> std::string_view { return bookmark->url; });
    if (!addresses.Empty()) integration::StartOpener(std::move(addresses), openersStop_);
}

// Entries added since the start reach the file within one period, not only
// when the window closes; the writer's thread writes it, as the bookmarks.
void CMainFrame::SaveHomepageGroupIfModified() {
    CHomepageGroup& group = CHomepageGroup::Instance();
    if (writer_) {
        group.SaveThrough(*writer_);
    } else if (group.IsModified()) {
        group.Save();
    }
}
