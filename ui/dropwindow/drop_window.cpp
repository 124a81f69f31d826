#include "drop_window.h"

#include "classtree_res.h"
#include "drop_window_place.h"
#include "framework/context_popup.h"
#include "framework/work_areas.h"
#include "language.h"
#include "setting.h"

#include <vector>

namespace dropwindow {

namespace {

// "DragWindow", the fifth popup of the context menus.
constexpr int kDragWindowPopup = 4;

std::vector<mainframe::Box> WorkAreas() {
    std::vector<mainframe::Box> areas;
    for (const RECT& r : framework::MonitorWorkAreas()) areas.push_back({r.left, r.top, r.right, r.bottom});
    return areas;
}

}  // namespace

// Hands all four calls to the list's target with their arguments; once the
// window is gone, or the target was never there, drops are refused.
class CDropForwarder final : public IDropTarget {
public:
    explicit CDropForwarder(IDropTarget* target) : target_(target) {
        if (target_) target_->AddRef();
    }
    void Detach() {
        if (target_) target_->Release();
        target_ = nullptr;
    }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
        if (!object) return E_POINTER;
        if (iid == IID_IUnknown || iid == IID_IDropTarget) {
            *object = static_cast<IDropTarget*>(this);
            AddRef();
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(::InterlockedIncrement(&references_)); }
    ULONG STDMETHODCALLTYPE Release() override {
        const LONG left = ::InterlockedDecrement(&references_);
        if (left == 0) delete this;
        return static_cast<ULONG>(left);
    }

    HRESULT STDMETHODCALLTYPE DragEnter(IDataObject* data, DWORD keys, POINTL point, DWORD* effect) override {
        if (!target_) return Refuse(effect);
        return target_->DragEnter(data, keys, point, effect);
    }
    HRESULT STDMETHODCALLTYPE DragOver(DWORD keys, POINTL point, DWORD* effect) override {
        if (!target_) return Refuse(effect);
        return target_->DragOver(keys, point, effect);
    }
    HRESULT STDMETHODCALLTYPE DragLeave() override { return target_ ? target_->DragLeave() : S_OK; }
    HRESULT STDMETHODCALLTYPE Drop(IDataObject* data, DWORD keys, POINTL point, DWORD* effect) override {
        if (!target_) return Refuse(effect);
        return target_->Drop(data, keys, point, effect);
    }

private:
    ~CDropForwarder() { Detach(); }
    static HRESULT Refuse(DWORD* effect) {
        if (effect) *effect = DROPEFFECT_NONE;
        return S_OK;
    }
    IDropTarget* target_;
    LONG references_ = 1;
};

std::unique_ptr<CDropWindow> CDropWindow::Open(HWND owner, HINSTANCE module, int bitmapId, IDropTarget* target) {
    auto picture = static_cast<HBITMAP>(::LoadImageA(module, MAKEINTRESOURCEA(bitmapId), IMAGE_BITMAP, 0, 0, 0));
    if (!picture) return nullptr;
    BITMAP info{};
    ::GetObjectA(picture, sizeof info, &info);

    HINSTANCE instance = ::GetModuleHandleA(nullptr);
    WNDCLASSA wc{};
    if (!::GetClassInfoA(instance, kClassName, &wc)) {
        wc.style = CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS;
        wc.lpfnWndProc = Proc;
        wc.hInstance = instance;
        wc.hCursor = ::LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
        wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
        wc.lpszClassName = kClassName;
        ::RegisterClassA(&wc);
    }

    const CSetting* settings = CSetting::Instance();
    const std::vector<mainframe::Box> areas = WorkAreas();
    const Spot at = PlaceDropWindow(settings->GUI_DragWindowX1, settings->GUI_DragWindowY1, areas,
                                    Spot{::GetSystemMetrics(SM_CXICON), ::GetSystemMetrics(SM_CYICON)},
                                    Spot{info.bmWidth, info.bmHeight});

    std::unique_ptr<CDropWindow> window(new CDropWindow);
    window->owner_ = owner;
    window->picture_ = picture;
    // Shown without being activated: the keyboard focus stays where it is.
    window->hwnd_ = ::CreateWindowExA(WS_EX_TOOLWINDOW, kClassName, "", WS_POPUP, static_cast<int>(at.x),
                                      static_cast<int>(at.y), info.bmWidth, info.bmHeight, owner, nullptr, instance,
                                      window.get());
    if (!window->hwnd_) return nullptr;
    ::SetWindowPos(window->hwnd_, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    window->forwarder_ = new CDropForwarder(target);
    window->dropRegistered_ = SUCCEEDED(::RegisterDragDrop(window->hwnd_, window->forwarder_));
    ::UpdateWindow(window->hwnd_);
    return window;
}

CDropWindow::~CDropWindow() {
    if (hwnd_) {
        WINDOWPLACEMENT placement{};
        placement.length = sizeof placement;
        if (::GetWindowPlacement(hwnd_, &placement)) {
            CSetting* settings = CSetting::Instance();
            settings->GUI_DragWindowX1 = placement.rcNormalPosition.left;
            settings->GUI_DragWindowY1 = placement.rcNormalPosition.top;
        }
        if (dropRegistered_) ::RevokeDragDrop(hwnd_);
        ::DestroyWindow(hwnd_);
    }
    if (forwarder_) {
        forwarder_->Detach();
        forwarder_->Release();
    }
    if (picture_) ::DeleteObject(picture_);
}

LRESULT CALLBACK CDropWindow::Proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_NCCREATE) {
        auto* self = static_cast<CDropWindow*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
        ::SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
        self->hwnd_ = hwnd;
    }
    auto* self = reinterpret_cast<CDropWindow*>(::GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    if (msg == WM_NCDESTROY) {
        ::SetWindowLongPtrA(hwnd, GWLP_USERDATA, 0);
        if (self) self->hwnd_ = nullptr;
    }
    return self ? self->HandleMessage(msg, wParam, lParam) : ::DefWindowProcA(hwnd, msg, wParam, lParam);
}

LRESULT CDropWindow::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    HWND hwnd = hwnd_;
    switch (msg) {
        case WM_PAINT:
            Paint();
            return 0;
        case WM_ERASEBKGND:
            return 1;  // the picture covers the whole window
        case WM_LBUTTONDOWN:
            // The system's caption drag moves the window while the button is held.
            ::PostMessageA(hwnd, WM_NCLBUTTONDOWN, HTCAPTION, lParam);
            return 0;
        case WM_CONTEXTMENU:
            ShowMenu(lParam);
            return 0;
        default:
            return ::DefWindowProcA(hwnd, msg, wParam, lParam);
    }
}

void CDropWindow::Paint() {
    PAINTSTRUCT paint{};
    HDC dc = ::BeginPaint(hwnd_, &paint);
    if (HDC memory = ::CreateCompatibleDC(dc)) {
        BITMAP info{};
        ::GetObjectA(picture_, sizeof info, &info);
        HGDIOBJ old = ::SelectObject(memory, picture_);
        ::BitBlt(dc, 0, 0, info.bmWidth, info.bmHeight, memory, 0, 0, SRCCOPY);
        ::SelectObject(memory, old);
        ::DeleteDC(memory);
    }
    ::EndPaint(hwnd_, &paint);
}

void CDropWindow::ShowMenu(LPARAM screenPoint) {
    POINT point{static_cast<short>(LOWORD(screenPoint)), static_cast<short>(HIWORD(screenPoint))};
    if (screenPoint == -1) ::GetCursorPos(&point);  // from the keyboard
    HMENU menu = ::LoadMenuA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_CONTEXT_MENUS));
    if (!menu) return;
    if (HMENU popup = ::GetSubMenu(menu, kDragWindowPopup)) {
        CLanguage::Instance()->TranslateMenu(popup);
        const UINT chosen = framework::TrackPopupAtPoint(popup, point, hwnd_, TPM_RIGHTBUTTON | TPM_RETURNCMD);
        // The owner destroys this window: the command is posted, never run here.
        if (chosen == ID_DRAGWINDOW_HIDE) ::PostMessageA(owner_, WM_COMMAND, ID_DRAGWINDOW_HIDE, 0);
    }
    ::DestroyMenu(menu);
}

}  // namespace dropwindow
