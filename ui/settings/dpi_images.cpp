#include "dpi_images.h"

#include <algorithm>

namespace settings {

namespace {

constexpr int kDesignSize = 16;
constexpr int kDesignDpi = 96;
constexpr COLORREF kTransparent = RGB(255, 0, 255);

int ScreenDpi(HWND window) {
    HDC dc = ::GetDC(window);
    const int dpi = dc ? ::GetDeviceCaps(dc, LOGPIXELSY) : kDesignDpi;
    if (dc) ::ReleaseDC(window, dc);
    return dpi > 0 ? dpi : kDesignDpi;
}

}  // namespace

int ScaleFor(HWND window, int pixels) { return ::MulDiv(pixels, ScreenDpi(window), kDesignDpi); }

int ImageSizeFor(HWND window) { return std::max(kDesignSize, ScaleFor(window, kDesignSize)); }

HIMAGELIST LoadImageStrip(HINSTANCE instance, int bitmapId, HWND window) {
    const int size = ImageSizeFor(window);
    if (size == kDesignSize) {
        return ImageList_LoadImageA(instance, MAKEINTRESOURCEA(bitmapId), kDesignSize, 0, kTransparent, IMAGE_BITMAP,
                                    LR_CREATEDIBSECTION);
    }
    // Each pixel of the design repeated: the colours stay exact, so magenta
    // stays transparent.
    auto strip = static_cast<HBITMAP>(::LoadImageA(instance, MAKEINTRESOURCEA(bitmapId), IMAGE_BITMAP, 0, 0,
                                                   LR_CREATEDIBSECTION));
    if (!strip) return nullptr;
    BITMAP info{};
    ::GetObjectA(strip, sizeof info, &info);
    const int count = info.bmWidth / kDesignSize;
    HIMAGELIST list = nullptr;
    HDC screen = ::GetDC(nullptr);
    HDC from = ::CreateCompatibleDC(screen);
    HDC to = ::CreateCompatibleDC(screen);
    HBITMAP scaled = ::CreateCompatibleBitmap(screen, count * size, size);
    if (from && to && scaled && count > 0) {
        HGDIOBJ oldFrom = ::SelectObject(from, strip);
        HGDIOBJ oldTo = ::SelectObject(to, scaled);
        ::SetStretchBltMode(to, COLORONCOLOR);
        ::StretchBlt(to, 0, 0, count * size, size, from, 0, 0, count * kDesignSize, kDesignSize, SRCCOPY);
        ::SelectObject(from, oldFrom);
        ::SelectObject(to, oldTo);
        list = ImageList_Create(size, size, ILC_COLOR24 | ILC_MASK, count, 0);
        if (list) ImageList_AddMasked(list, scaled, kTransparent);
    }
    if (scaled) ::DeleteObject(scaled);
    if (to) ::DeleteDC(to);
    if (from) ::DeleteDC(from);
    ::ReleaseDC(nullptr, screen);
    ::DeleteObject(strip);
    return list;
}

}  // namespace settings
