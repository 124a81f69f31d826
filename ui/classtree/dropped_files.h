// Internet Shortcut files dropped on the window: their paths are taken from
// the drop at once, their files read in slices between the window's
// messages, so that thousands of files never hold the window up. Links are
// queued in the order of the drop, drops in the order they came.
#pragma once

#include <windows.h>

#include <cstddef>
#include <string>
#include <vector>

namespace classtree {

// How long one slice may read files before the window's messages come
// first again.
inline constexpr DWORD kDroppedFileSliceMs = 20;

// Reads the files of `paths` as shortcuts, queues their links for `frame`
// (QueueLink, no category), the first slice now and the rest between
// messages of this thread.
void QueueDroppedFiles(HWND frame, std::vector<std::string> paths);

// Paths still waiting to be read.
std::size_t DroppedFilesWaiting();

}  // namespace classtree
