#include "window_transfer_host.h"

namespace transfer {
namespace {

constexpr char kWindowClass[] = "quorva_TransferRequests";
constexpr UINT kRunRequest = WM_APP + 1;

struct Request {
    const std::function<void()>* work;
    bool ran;
};

BOOL CALLBACK CancelQuestion(HWND window, LPARAM) {
    char name[16] = {};
    if (::GetClassNameA(window, name, sizeof name) && lstrcmpA(name, "#32770") == 0) {
        ::PostMessageA(window, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    }
    return TRUE;
}

}  // namespace

CWindowTransferHost::CWindowTransferHost(HWND owner, std::function<ClassRecord*()> selected,
                                         std::function<void(ClassRecord*)> filled, ReplaceQuestion question)
    : owner_(owner),
      selected_(std::move(selected)),
      filled_(std::move(filled)),
      question_(std::move(question)),
      uiThread_(::GetCurrentThreadId()) {
    HINSTANCE instance = ::GetModuleHandleA(nullptr);
    WNDCLASSA wc{};
    if (!::GetClassInfoA(instance, kWindowClass, &wc)) {
        wc.lpfnWndProc = Proc;
        wc.hInstance = instance;
        wc.lpszClassName = kWindowClass;
        ::RegisterClassA(&wc);
    }
    window_ = ::CreateWindowExA(0, kWindowClass, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, instance, nullptr);
}

CWindowTransferHost::~CWindowTransferHost() {
    if (window_) ::DestroyWindow(window_);
}

LRESULT CALLBACK CWindowTransferHost::Proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == kRunRequest) {
        auto* request = reinterpret_cast<Request*>(lParam);
        // The job's work catches its own exceptions; nothing crosses here.
        try {
            (*request->work)();
            request->ran = true;
        } catch (...) {
        }
        return 1;
    }
    return ::DefWindowProcA(hwnd, msg, wParam, lParam);
}

bool CWindowTransferHost::RunOnUiThread(const std::function<void()>& work) {
    if (::GetCurrentThreadId() == uiThread_) {
        work();
        return true;
    }
    if (!window_) return false;
    Request request{&work, false};
    ::SendMessageA(window_, kRunRequest, 0, reinterpret_cast<LPARAM>(&request));
    return request.ran;
}

ClassRecord* CWindowTransferHost::SelectedCategory() { return selected_ ? selected_() : nullptr; }

void CWindowTransferHost::CategoryFilled(ClassRecord* category) {
    if (filled_) filled_(category);
}

int CWindowTransferHost::AskReplace(const std::string& name, const std::string& existingUrl,
                                    const std::string& newUrl) {
    if (!question_ || interrupted_.load()) return IDCANCEL;
    questionThread_ = ::GetCurrentThreadId();
    const int answer = question_(owner_, name, existingUrl, newUrl);
    questionThread_ = 0;
    return interrupted_.load() ? IDCANCEL : answer;
}

void CWindowTransferHost::Interrupt() {
    interrupted_ = true;
    if (const DWORD thread = questionThread_.load()) ::EnumThreadWindows(thread, CancelQuestion, 0);
}

void CWindowTransferHost::WaitForWorker(const std::function<bool()>& finished, const std::function<void()>& poll) {
    DWORD last = ::GetTickCount();
    while (!finished()) {
        // Wakes for a message the worker sends; the peek carries it out
        // without taking posted messages off the queue.
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_SENDMESSAGE);
        MSG msg;
        ::PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
        const DWORD now = ::GetTickCount();
        if (now - last > longestGap_) longestGap_ = now - last;
        last = now;
        poll();
    }
}

}  // namespace transfer
