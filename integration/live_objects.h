// The automation objects alive in this process, so that the end of the
// program can cut them off from clients that never let go.
#pragma once

#include <windows.h>
#include <unknwn.h>

#include <cstddef>

namespace integration {

// Every object registers itself when made and withdraws when destroyed.
void TrackLiveObject(IUnknown* object);
void UntrackLiveObject(IUnknown* object);
std::size_t LiveObjectCount();

// CoDisconnectObject for every live object: its clients' references are
// dropped (their calls fail from then on) and the object ends if nothing in
// this process holds it. On the thread of the objects' apartment.
void DisconnectLiveObjects();

}  // namespace integration
