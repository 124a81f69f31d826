// The settings dialog's title banner: an owner-drawn label filled with
// vertical stripes fading from the button face at the right to black at the
// left, the selected page's title right-aligned over them, embossed.
#pragma once

#include "framework/unique_handle.h"

#include <windows.h>

namespace settings {

class CTitleBanner {
public:
    // Takes the owner-drawn label `control`; its text is drawn in the
    // label's font, bold.
    void Attach(HWND control);
    HWND Hwnd() const { return control_; }
    // Changes the text and draws the banner again.
    void SetText(const char* text);
    // WM_DRAWITEM of the label.
    void Draw(const DRAWITEMSTRUCT& item);

private:
    HWND control_ = nullptr;
    framework::UniqueFont font_;
};

}  // namespace settings
