#include "bookmark_file_preload.h"

#include <mutex>
#include <system_error>

#include "platform/file_keeping.h"
#include "xml_document.h"
#include "xml_file_load.h"

namespace {

std::mutex g_mutex;
CBookmarkFilePreload* g_preload = nullptr;  // the one alive, if any

}  // namespace

CBookmarkFilePreload::CBookmarkFilePreload(std::string path) : path_(std::move(path)) {
    try {
        thread_ = std::thread([this] {
            CXmlDocument document;
            if (LoadXmlFile(document, path_, "root", platform::RetryPlan{}).state != XmlFileState::kLoaded) return;
            auto collection = std::make_unique<CBookmarkStore>();
            if (collection->LoadDocument(document)) collection_ = std::move(collection);
        });
    } catch (const std::system_error&) {
        return;  // no thread: the tree reads the file itself
    }
    std::lock_guard<std::mutex> lock(g_mutex);
    g_preload = this;
}

CBookmarkFilePreload::~CBookmarkFilePreload() {
    {
        std::lock_guard<std::mutex> lock(g_mutex);
        if (g_preload == this) g_preload = nullptr;
    }
    if (thread_.joinable()) thread_.join();
}

std::unique_ptr<CBookmarkStore> CBookmarkFilePreload::Take(const std::string& path) {
    std::lock_guard<std::mutex> lock(g_mutex);
    CBookmarkFilePreload* preload = g_preload;
    if (!preload || preload->taken_ || preload->path_ != path) return nullptr;
    if (preload->thread_.joinable()) preload->thread_.join();
    preload->taken_ = true;
    return std::move(preload->collection_);
}
