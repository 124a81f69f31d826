#include "dialog_test_driver.h"

#include <vector>

namespace dialog_test {
namespace {

thread_local DialogScript* t_script = nullptr;

constexpr int kMessageBoxTextId = 0xFFFF;

std::vector<HWND> ThreadDialogs() {
    std::vector<HWND> found;
    ::EnumThreadWindows(
        ::GetCurrentThreadId(),
        [](HWND hwnd, LPARAM param) -> BOOL {
            char name[16] = "";
            ::GetClassNameA(hwnd, name, sizeof name);
            if (std::string(name) == "#32770" && ::IsWindowVisible(hwnd) && ::IsWindowEnabled(hwnd))
                reinterpret_cast<std::vector<HWND>*>(param)->push_back(hwnd);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&found));
    return found;
}

}  // namespace

HWND ActiveDialog() {
    const std::vector<HWND> dialogs = ThreadDialogs();
    if (dialogs.empty()) return nullptr;
    // A modal window disables its owner, so normally one is left; prefer one
    // that owns no other enabled dialog.
    for (HWND d : dialogs) {
        bool ownsAnother = false;
        for (HWND other : dialogs) ownsAnother |= other != d && ::GetWindow(other, GW_OWNER) == d;
        if (!ownsAnother) return d;
    }
    return dialogs.front();
}

bool IsMessageBox(HWND dialog) {
    HWND text = ::GetDlgItem(dialog, kMessageBoxTextId);
    if (!text) return false;
    char name[16] = "";
    ::GetClassNameA(text, name, sizeof name);
    return std::string(name) == "Static";
}

std::string Text(HWND window) {
    if (!window) return {};
    const int length = ::GetWindowTextLengthA(window);
    std::string text(static_cast<std::size_t>(length > 0 ? length : 0) + 1, '\0');
    const int copied = ::GetWindowTextA(window, text.data(), static_cast<int>(text.size()));
    text.resize(static_cast<std::size_t>(copied > 0 ? copied : 0));
    return text;
}

std::string ItemText(HWND dialog, int id) { return Text(::GetDlgItem(dialog, id)); }

std::string MessageBoxText(HWND box) { return ItemText(box, kMessageBoxTextId); }

void Click(HWND dialog, int id) {
    ::PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                   reinterpret_cast<LPARAM>(::GetDlgItem(dialog, id)));
}

void PressKey(HWND dialog, UINT key) {
    HWND focus = ::GetFocus();
    HWND target = focus && (focus == dialog || ::IsChild(dialog, focus)) ? focus : dialog;
    ::PostMessageA(target, WM_KEYDOWN, key, 1);
}

void MoveMouseTo(int x, int y) {
    const int width = ::GetSystemMetrics(SM_CXSCREEN);
    const int height = ::GetSystemMetrics(SM_CYSCREEN);
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dx = static_cast<LONG>(x * 65535LL / (width - 1));
    input.mi.dy = static_cast<LONG>(y * 65535LL / (height - 1));
    input.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    ::SendInput(1, &input, sizeof input);
}

DialogScript::DialogScript(std::chrono::milliseconds patience) : patience_(patience) {
    t_script = this;
    waitingSince_ = std::chrono::steady_clock::now();
    timer_ = ::SetTimer(nullptr, 0, 15, &DialogScript::Tick);
}

DialogScript::~DialogScript() {
    if (timer_) ::KillTimer(nullptr, timer_);
    // Drop the timer's messages already queued.
    MSG msg;
    while (::PeekMessageA(&msg, nullptr, WM_TIMER, WM_TIMER, PM_REMOVE)) {
    }
    if (t_script == this) t_script = nullptr;
}

DialogScript& DialogScript::On(Condition ready, Action act) {
    steps_.push_back({std::move(ready), std::move(act)});
    return *this;
}

DialogScript& DialogScript::OnDialogWith(int id, Action act) {
    return On([id](HWND d) { return !IsMessageBox(d) && ::GetDlgItem(d, id) != nullptr; }, std::move(act));
}

DialogScript& DialogScript::OnMessageBox(Action act) { return On(IsMessageBox, std::move(act)); }

void CALLBACK DialogScript::Tick(HWND, UINT, UINT_PTR, DWORD) {
    if (t_script) t_script->Step();
}

void DialogScript::Step() {
    if (busy_) return;
    if (!failure_.empty()) {
        // Keep closing whatever comes up until the test's modal call returns.
        for (HWND d : ThreadDialogs()) ::PostMessageA(d, WM_COMMAND, IDCANCEL, 0);
        return;
    }
    busy_ = true;
    HWND dialog = ActiveDialog();
    if (Finished()) {
        if (!dialog) waitingSince_ = std::chrono::steady_clock::now();
        else if (std::chrono::steady_clock::now() - waitingSince_ > patience_)
            GiveUp("a dialog stayed open after the last step: \"" + Text(dialog) + "\"");
    } else if (dialog && steps_[next_].ready(dialog)) {
        Entry& entry = steps_[next_++];
        entry.act(dialog);
        waitingSince_ = std::chrono::steady_clock::now();
    } else if (std::chrono::steady_clock::now() - waitingSince_ > patience_) {
        GiveUp("step " + std::to_string(next_) + " never found its dialog" +
               (dialog ? " (active: \"" + Text(dialog) + "\")" : ""));
    }
    busy_ = false;
}

void DialogScript::GiveUp(const std::string& why) {
    failure_ = why;
    for (HWND d : ThreadDialogs()) ::PostMessageA(d, WM_COMMAND, IDCANCEL, 0);
}

}  // namespace dialog_test
