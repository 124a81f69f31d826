// Image strips of the settings dialog drawn at the screen's scale: a strip
// of 16 x 16 pictures (magenta transparent) grows with the text at 150 %.
#pragma once

#include <windows.h>
#include <commctrl.h>

namespace settings {

// The pictures' size for `window`'s screen: 16 at 96 dpi, more above.
int ImageSizeFor(HWND window);
// Pixels at 96 dpi, scaled to `window`'s screen.
int ScaleFor(HWND window, int pixels);
// The strip `bitmapId` of `instance` as an image list of `ImageSizeFor`
// pictures; none when it cannot be loaded. The caller destroys it.
HIMAGELIST LoadImageStrip(HINSTANCE instance, int bitmapId, HWND window);

}  // namespace settings
