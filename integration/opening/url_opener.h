// Opening addresses in the browser: one at once, or a list on a thread of its
// own at the opener's pace.
#pragma once

#include "opening_rules.h"

#include <windows.h>

#include <atomic>
#include <memory>
#include <string>

namespace integration {

// Hands `address` to the shell; when the shell refuses it, starts the
// program registered for ".htm" pages with it. Returns the shell's result
// (above 32: opened) or the start's. An empty address opens nothing.
INT_PTR OpenUrl(const std::string& address, int showCommand);

// Starts one thread that opens `addresses` in order, 2 s after the first and
// 1 s after every later one, until `stop` is set. The thread holds its own
// reference to `stop`, so the flag outlives the window that sets it. False,
// and nothing opened, when no thread could be started.
bool StartOpener(AddressList addresses, std::shared_ptr<const std::atomic<bool>> stop);

}  // namespace integration
