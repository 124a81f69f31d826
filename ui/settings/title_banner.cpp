#include "title_banner.h"

#include "framework/ui_text.h"
#include "option_rules.h"

namespace settings {

namespace {

COLORREF Shade(COLORREF face, double shade) {
    return RGB(ShadeChannel(GetRValue(face), shade), ShadeChannel(GetGValue(face), shade),
               ShadeChannel(GetBValue(face), shade));
}

}  // namespace

void CTitleBanner::Attach(HWND control) {
    control_ = control;
    if (!control) return;
    // The dialog's font, bold.
    HFONT base = reinterpret_cast<HFONT>(::SendMessageA(control, WM_GETFONT, 0, 0));
    LOGFONTA look{};
    if (base && ::GetObjectA(base, sizeof look, &look)) {
        look.lfWeight = FW_BOLD;
        font_.reset(::CreateFontIndirectA(&look));
    }
}

void CTitleBanner::SetText(const char* text) {
    if (!control_) return;
    ::SetWindowTextA(control_, text ? text : "");
    ::InvalidateRect(control_, nullptr, FALSE);
}

void CTitleBanner::Draw(const DRAWITEMSTRUCT& item) {
    const RECT& area = item.rcItem;
    const int width = area.right - area.left, height = area.bottom - area.top;
    if (width <= 0 || height <= 0) return;  // nothing to draw on

    HDC screen = item.hDC;
    HDC dc = ::CreateCompatibleDC(screen);
    HBITMAP bitmap = ::CreateCompatibleBitmap(screen, width, height);
    if (!dc || !bitmap) {
        if (bitmap) ::DeleteObject(bitmap);
        if (dc) ::DeleteDC(dc);
        return;
    }
    HGDIOBJ oldBitmap = ::SelectObject(dc, bitmap);

    const COLORREF face = ::GetSysColor(COLOR_BTNFACE);
    RECT whole{0, 0, width, height};
    ::FillRect(dc, &whole, ::GetSysColorBrush(COLOR_BTNFACE));
    for (const BannerStripe& stripe : BannerStripes(width)) {
        RECT band{stripe.left, 0, stripe.left + stripe.width, height};
        ::SetBkColor(dc, Shade(face, stripe.shade));
        ::ExtTextOutA(dc, 0, 0, ETO_OPAQUE, &band, nullptr, 0, nullptr);
    }

    const std::string text = framework::WindowTextOf(item.hwndItem);
    HGDIOBJ oldFont = font_ ? ::SelectObject(dc, font_.get()) : nullptr;
    ::SetBkMode(dc, TRANSPARENT);
    constexpr int kRightMargin = 5;
    constexpr UINT kFormat = DT_SINGLELINE | DT_VCENTER | DT_RIGHT | DT_NOPREFIX;
    RECT lit{0, 1, width - kRightMargin + 1, height + 1};
    ::SetTextColor(dc, ::GetSysColor(COLOR_BTNHIGHLIGHT));
    ::DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &lit, kFormat);
    RECT shadow{0, 0, width - kRightMargin, height};
    ::SetTextColor(dc, ::GetSysColor(COLOR_BTNSHADOW));
    ::DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &shadow, kFormat);
    if (oldFont) ::SelectObject(dc, oldFont);

    ::BitBlt(screen, area.left, area.top, width, height, dc, 0, 0, SRCCOPY);
    ::SelectObject(dc, oldBitmap);
    ::DeleteObject(bitmap);
    ::DeleteDC(dc);
}

}  // namespace settings
