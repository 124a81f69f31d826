#include "framework/hyperlink.h"

#include "framework/callback_guard.h"

#include <commctrl.h>
#include <shellapi.h>

#include <algorithm>
#include <vector>

namespace framework {
namespace {

constexpr UINT_PTR kSubclassId = 0x4C4B;  // one subclass per label

std::string_view Trim(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
    return s;
}

bool ParseComponent(std::string_view s, int& value) {
    s = Trim(s);
    if (s.empty() || s.size() > 3) return false;
    value = 0;
    for (char c : s) {
        if (c < '0' || c > '9') return false;
        value = value * 10 + (c - '0');
    }
    return value <= 255;
}

bool ReadColorValue(HKEY key, const char* name, COLORREF& colour) {
    char buffer[64] = {};
    DWORD type = 0;
    DWORD size = sizeof buffer - 1;  // room for a terminator the value may lack
    if (::RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE*>(buffer), &size) != ERROR_SUCCESS)
        return false;
    if (type != REG_SZ && type != REG_EXPAND_SZ) return false;
    std::string_view text(buffer, size);
    while (!text.empty() && text.back() == '\0') text.remove_suffix(1);
    return ParseAnchorColor(text, colour);
}

std::string LabelText(HWND label) {
    const int length = ::GetWindowTextLengthA(label);
    if (length <= 0) return {};
    std::vector<char> buffer(static_cast<std::size_t>(length) + 1);
    const int copied = ::GetWindowTextA(label, buffer.data(), length + 1);
    return std::string(buffer.data(), static_cast<std::size_t>(copied > 0 ? copied : 0));
}

}  // namespace

bool ParseAnchorColor(std::string_view text, COLORREF& colour) {
    int parts[3] = {};
    for (int i = 0; i < 3; ++i) {
        const std::size_t comma = text.find(',');
        const bool last = i == 2;
        if (last != (comma == std::string_view::npos)) return false;
        if (!ParseComponent(text.substr(0, comma), parts[i])) return false;
        if (!last) text.remove_prefix(comma + 1);
    }
    colour = RGB(parts[0], parts[1], parts[2]);
    return true;
}

LinkColors ReadLinkColors(HKEY root, const char* subKey) {
    LinkColors colors;
    HKEY key = nullptr;
    if (::RegOpenKeyExA(root, subKey, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) return colors;
    ReadColorValue(key, "Anchor Color", colors.link);
    ReadColorValue(key, "Anchor Color Visited", colors.visited);
    ::RegCloseKey(key);
    return colors;
}

CHyperLink::CHyperLink()
    : opener_([](const std::string& target) {
          const auto result = reinterpret_cast<INT_PTR>(
              ::ShellExecuteA(nullptr, "open", target.c_str(), nullptr, nullptr, SW_SHOWNORMAL));
          return result > 32;
      }) {}

CHyperLink::~CHyperLink() { Detach(); }

bool CHyperLink::Attach(HWND label, std::string target) {
    if (label_ || !label) return false;
    target_ = std::move(target);
    if (!colorsSet_) colors_ = ReadLinkColors();
    hand_ = ::LoadCursorA(nullptr, MAKEINTRESOURCEA(32649));  // IDC_HAND

    // Notify style: the label then takes mouse input instead of passing it on.
    ::SetWindowLongPtrA(label, GWL_STYLE, ::GetWindowLongPtrA(label, GWL_STYLE) | SS_NOTIFY);

    HFONT dialogFont = reinterpret_cast<HFONT>(::SendMessageA(label, WM_GETFONT, 0, 0));
    LOGFONTA logFont{};
    if (!dialogFont || !::GetObjectA(dialogFont, sizeof logFont, &logFont)) {
        ::GetObjectA(::GetStockObject(DEFAULT_GUI_FONT), sizeof logFont, &logFont);
    }
    logFont.lfUnderline = TRUE;
    font_.reset(::CreateFontIndirectA(&logFont));

    if (!::SetWindowSubclass(label, &CHyperLink::SubclassProc, kSubclassId, reinterpret_cast<DWORD_PTR>(this)))
        return false;
    label_ = label;

    tooltip_ = ::CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX,
                                 CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, ::GetParent(label),
                                 nullptr, ::GetModuleHandleA(nullptr), nullptr);
    if (tooltip_) {
        TOOLINFOA tool{};
        tool.cbSize = sizeof tool;
        tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
        tool.hwnd = ::GetParent(label);
        tool.uId = reinterpret_cast<UINT_PTR>(label);
        tool.lpszText = const_cast<char*>(target_.c_str());
        ::SendMessageA(tooltip_, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
    }
    ::InvalidateRect(label_, nullptr, TRUE);
    return true;
}

void CHyperLink::SetColors(const LinkColors& colors) {
    colors_ = colors;
    colorsSet_ = true;
    if (label_) ::InvalidateRect(label_, nullptr, TRUE);
}

bool CHyperLink::Open() {
    if (target_.empty() || !opener_ || !opener_(target_)) return false;
    visited_ = true;
    if (label_) {
        ::InvalidateRect(label_, nullptr, TRUE);
        ::UpdateWindow(label_);
    }
    return true;
}

RECT CHyperLink::TextRect() const {
    RECT rect{};
    if (!label_) return rect;
    ::GetClientRect(label_, &rect);
    HDC dc = ::GetDC(label_);
    if (!dc) return rect;
    HGDIOBJ old = ::SelectObject(dc, font_ ? static_cast<HGDIOBJ>(font_.get()) : ::GetStockObject(DEFAULT_GUI_FONT));
    const std::string text = LabelText(label_);
    RECT measured = rect;
    ::DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &measured,
                DT_LEFT | DT_TOP | DT_SINGLELINE | DT_NOPREFIX | DT_CALCRECT);
    ::SelectObject(dc, old);
    ::ReleaseDC(label_, dc);
    measured.right = std::min(measured.right, rect.right);
    measured.bottom = std::min(measured.bottom, rect.bottom);
    return measured;
}

bool CHyperLink::OnText(LPARAM point) const {
    const RECT rect = TextRect();
    const POINT p{static_cast<short>(LOWORD(point)), static_cast<short>(HIWORD(point))};
    return ::PtInRect(&rect, p) != FALSE;
}

void CHyperLink::Paint() {
    PAINTSTRUCT ps;
    HDC dc = ::BeginPaint(label_, &ps);
    if (!dc) return;
    Draw(dc);
    ::EndPaint(label_, &ps);
}

void CHyperLink::Draw(HDC dc) {
    RECT client{};
    ::GetClientRect(label_, &client);
    // The dialog chooses the background as for any of its labels.
    auto brush = reinterpret_cast<HBRUSH>(::SendMessageA(::GetParent(label_), WM_CTLCOLORSTATIC,
                                                         reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(label_)));
    ::FillRect(dc, &client, brush ? brush : ::GetSysColorBrush(COLOR_BTNFACE));

    HGDIOBJ old = ::SelectObject(dc, font_ ? static_cast<HGDIOBJ>(font_.get()) : ::GetStockObject(DEFAULT_GUI_FONT));
    ::SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, TextColor());
    const std::string text = LabelText(label_);
    RECT rect = client;
    ::DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &rect, DT_LEFT | DT_TOP | DT_SINGLELINE | DT_NOPREFIX);
    ::SelectObject(dc, old);
    if (::GetFocus() == label_) {
        RECT focus = TextRect();
        ::InflateRect(&focus, 1, 1);
        ::DrawFocusRect(dc, &focus);
    }
}

LRESULT CHyperLink::Handle(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case WM_PAINT:
            Paint();
            return 0;
        case WM_PRINTCLIENT:
            Draw(reinterpret_cast<HDC>(wParam));
            return 0;
        case WM_ERASEBKGND:
            return 1;  // painted whole in WM_PAINT
        case WM_SETCURSOR: {
            POINT p{};
            ::GetCursorPos(&p);
            ::ScreenToClient(label_, &p);
            const RECT rect = TextRect();
            if (hand_ && ::PtInRect(&rect, p)) {
                ::SetCursor(hand_);
                return TRUE;
            }
            break;
        }
        case WM_LBUTTONDOWN:
            if (OnText(lParam)) {
                pressed_ = true;
                ::SetFocus(label_);
                ::SetCapture(label_);
            }
            return 0;
        case WM_LBUTTONUP: {
            const bool wasPressed = pressed_;
            pressed_ = false;
            if (::GetCapture() == label_) ::ReleaseCapture();
            if (wasPressed && OnText(lParam)) Open();
            return 0;
        }
        case WM_CAPTURECHANGED:
            pressed_ = false;
            break;
        case WM_GETDLGCODE: {
            // Enter reaches the link instead of the dialog's default button.
            const auto* message = reinterpret_cast<const MSG*>(lParam);
            if (message && message->message == WM_KEYDOWN && message->wParam == VK_RETURN)
                return DLGC_WANTMESSAGE;
            return DLGC_WANTCHARS;
        }
        case WM_KEYDOWN:
            if ((wParam == VK_RETURN || wParam == VK_SPACE) && !(lParam & (1 << 30))) Open();
            return 0;
        case WM_CHAR:
            return 0;  // no beep for the Space or Enter that opened the link
        case WM_SETFOCUS:
        case WM_KILLFOCUS:
            ::InvalidateRect(label_, nullptr, TRUE);
            break;
        case WM_NCDESTROY: {
            HWND label = label_;
            Detach();
            return ::DefSubclassProc(label, msg, wParam, lParam);
        }
        default:
            break;
    }
    return ::DefSubclassProc(label_, msg, wParam, lParam);
}

void CHyperLink::Detach() {
    // The tooltip belongs to the dialog, which may have destroyed it already.
    if (tooltip_ && ::IsWindow(tooltip_)) ::DestroyWindow(tooltip_);
    tooltip_ = nullptr;
    if (!label_) return;
    ::RemoveWindowSubclass(label_, &CHyperLink::SubclassProc, kSubclassId);
    label_ = nullptr;
}

LRESULT CALLBACK CHyperLink::SubclassProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                          DWORD_PTR data) {
    auto* self = reinterpret_cast<CHyperLink*>(data);
    if (!self || self->label_ != hwnd) return ::DefSubclassProc(hwnd, msg, wParam, lParam);
    return GuardCallback<LRESULT>(
        "hyperlink", [&] { return self->Handle(msg, wParam, lParam); },
        [&] { return ::DefSubclassProc(hwnd, msg, wParam, lParam); });
}

}  // namespace framework
