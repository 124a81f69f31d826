#include "tray_rules.h"

#include "ini_file.h"

namespace tray {

std::string TipForField(std::string_view text) {
    std::string tip(text.substr(0, text.find('\0')));
    ini_text::CutToBytes(tip, kTipFieldBytes - 1);
    return tip;
}

int MenuX(int cursorX, bool cursorOnMonitor, int workLeft, int workRight) {
    if (cursorOnMonitor || workRight <= workLeft) return cursorX;
    if (cursorX < workLeft) return workLeft;
    if (cursorX >= workRight) return workRight - 1;
    return cursorX;
}

bool CClickFilter::IsClick(Event event) {
    switch (event) {
    case Event::kLeftDown:
        endsDoubleClick_ = false;
        return false;
    case Event::kLeftDoubleClick:
        endsDoubleClick_ = true;
        return false;
    case Event::kLeftUp:
        if (endsDoubleClick_) {
            endsDoubleClick_ = false;
            return false;
        }
        return true;
    }
    return false;
}

}  // namespace tray
