// How long opening bookmarks holds the user-interface thread, with a
// recording program as the browser (scripts/bench.sh --opening):
//   opening_bench <bookmark file> <recorder.exe> [runs]
// - the random command's work on the thread: picking 10 of the collection,
//   copying their addresses and starting the opener (which is stopped at once);
// - the same for a count equal to the collection;
// - one OpenUrl, which waits for the shell to start the browser.
#include "bookmark_store.h"
#include "url_opener.h"

#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace {

double MedianMs(int runs, const std::function<void()>& work) {
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        const auto start = std::chrono::steady_clock::now();
        work();
        times.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

integration::AddressList PickAddresses(std::size_t count) {
    return integration::CollectAddresses(CBookmarkStore::Instance().PickRandomBookmarks(count),
                                         [](const BookmarkRecord* b) -> std::string_view { return b->url; });
}

// The random command as the main window runs it, without opening anything.
void RandomCommand(std::size_t count) {
    static auto stopped = std::make_shared<std::atomic<bool>>(true);
    integration::StartOpener(PickAddresses(count), stopped);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: opening_bench <bookmark file> <recorder.exe> [runs]\n");
        return 2;
    }
    const int runs = argc > 3 ? std::max(1, std::atoi(argv[3])) : 9;
    CBookmarkStore& store = CBookmarkStore::Instance();
    if (!store.Load(argv[1])) {
        std::fprintf(stderr, "cannot load %s\n", argv[1]);
        return 1;
    }
    const std::size_t total = store.TotalBookmarks();

    // The recorder stands in for the browser while the shell is timed.
    HKEY key = nullptr;
    const std::string command = std::string("\"") + argv[2] + "\" \"%1\"";
    if (::RegCreateKeyA(HKEY_CLASSES_ROOT, "quorvabench\\shell\\open\\command", &key) != ERROR_SUCCESS) return 1;
    ::RegSetValueA(key, nullptr, REG_SZ, command.c_str(), static_cast<DWORD>(command.size()));
    ::RegCloseKey(key);
    ::RegSetValueA(HKEY_CLASSES_ROOT, "quorvabench", REG_SZ, "URL:quorva bench", 16);
    HKEY scheme = nullptr;
    if (::RegOpenKeyA(HKEY_CLASSES_ROOT, "quorvabench", &scheme) == ERROR_SUCCESS) {
        ::RegSetValueExA(scheme, "URL Protocol", 0, REG_SZ, reinterpret_cast<const BYTE*>(""), 1);
        ::RegCloseKey(scheme);
    }

    std::printf("bookmarks: %zu, runs: %d (medians)\n", total, runs);
    std::printf("random command, 10 bookmarks: %.3f ms\n", MedianMs(runs, [] { RandomCommand(10); }));
    std::printf("random command, all %zu bookmarks: %.3f ms\n", total,
                MedianMs(runs, [total] { RandomCommand(total); }));
    std::printf("  of which picking 10 and copying their addresses: %.3f ms\n",
                MedianMs(runs, [] { PickAddresses(10); }));
    std::printf("  of which picking all: %.3f ms\n", MedianMs(runs, [total] {
                    (void)CBookmarkStore::Instance().PickRandomBookmarks(total);
                }));
    std::printf("  of which picking and copying all: %.3f ms\n", MedianMs(runs, [total] { PickAddresses(total); }));
    std::printf("OpenUrl: %.3f ms\n",
                MedianMs(runs, [] { integration::OpenUrl("quorvabench://example/page", SW_SHOWNORMAL); }));
    ::RegDeleteTreeA(HKEY_CLASSES_ROOT, "quorvabench");
    return 0;
}
