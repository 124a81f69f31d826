// The tray icon's rules that need no window: the tip as the icon record
// holds it, where the tray menu opens, and which left-button release is a
// click.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace tray {

// The icon record's tip field, terminator included.
constexpr std::size_t kTipFieldBytes = 128;

// The tip as the record takes it: at most kTipFieldBytes - 1 bytes, cut
// between characters, never in the middle of a double-byte one.
std::string TipForField(std::string_view text);

// The menu's x coordinate when the cursor lies on no monitor: moved into the
// nearest monitor's work area [workLeft, workRight). A cursor on a monitor
// keeps its x.
int MenuX(int cursorX, bool cursorOnMonitor, int workLeft, int workRight);

// The shell reports a double-click as button down, up, double-click, up: the
// first release toggles the window, and the release that ends the
// double-click must not toggle it back.
class CClickFilter {
public:
    enum class Event { kLeftDown, kLeftUp, kLeftDoubleClick };
    // True when this event is a click the program acts on.
    bool IsClick(Event event);

private:
    bool endsDoubleClick_ = false;
};

}  // namespace tray
