#include "live_objects.h"

#include <algorithm>
#include <mutex>
#include <vector>

namespace integration {
namespace {

std::mutex g_lock;
std::vector<IUnknown*> g_objects;

bool Tracked(IUnknown* object) {
    std::lock_guard<std::mutex> guard(g_lock);
    return std::find(g_objects.begin(), g_objects.end(), object) != g_objects.end();
}

}  // namespace

void TrackLiveObject(IUnknown* object) {
    std::lock_guard<std::mutex> guard(g_lock);
    g_objects.push_back(object);
}

void UntrackLiveObject(IUnknown* object) {
    std::lock_guard<std::mutex> guard(g_lock);
    g_objects.erase(std::remove(g_objects.begin(), g_objects.end(), object), g_objects.end());
}

std::size_t LiveObjectCount() {
    std::lock_guard<std::mutex> guard(g_lock);
    return g_objects.size();
}

void DisconnectLiveObjects() {
    std::vector<IUnknown*> objects;
    {
        std::lock_guard<std::mutex> guard(g_lock);
        objects = g_objects;
    }
    // Disconnecting one may destroy it (and withdraw it from the list): the
    // lock is not held meanwhile, and each is looked up again first.
    for (IUnknown* object : objects) {
        if (Tracked(object)) ::CoDisconnectObject(object, 0);
    }
}

}  // namespace integration
