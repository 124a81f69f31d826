// Drives the modal dialogs and message boxes a test opens on its own thread.
// A thread timer looks for the thread's active dialog (an enabled, visible
// "#32770" window); each step waits until its condition holds for that dialog
// and then acts on it once. Actions that may open another modal window are
// posted, so the timer never runs inside a nested modal loop.
#pragma once

#include <windows.h>

#include <chrono>
#include <functional>
#include <string>
#include <vector>

namespace dialog_test {

// The thread's dialog that takes input now: enabled and visible; the one
// created last when several are (a message box over its dialog).
HWND ActiveDialog();

bool IsMessageBox(HWND dialog);
std::string MessageBoxText(HWND box);
std::string Text(HWND window);
std::string ItemText(HWND dialog, int id);

// Posted actions.
void Click(HWND dialog, int id);       // as if the button were pressed
void PressKey(HWND dialog, UINT key);  // key down on the focus, through the dialog manager
// The mouse as the user moves it, to a point of the screen (real input).
void MoveMouseTo(int x, int y);

class DialogScript {
public:
    using Condition = std::function<bool(HWND dialog)>;
    using Action = std::function<void(HWND dialog)>;

    // `patience`: how long one step may wait before the script gives up and
    // cancels every dialog (a safety net; steps wait for conditions).
    explicit DialogScript(std::chrono::milliseconds patience = std::chrono::seconds(20));
    ~DialogScript();
    DialogScript(const DialogScript&) = delete;
    DialogScript& operator=(const DialogScript&) = delete;

    // Waits for an active dialog that satisfies `ready`, then runs `act` on it.
    DialogScript& On(Condition ready, Action act);
    // Shorthands: a dialog that has control `id`; any message box.
    DialogScript& OnDialogWith(int id, Action act);
    DialogScript& OnMessageBox(Action act);

    bool Finished() const { return next_ == steps_.size(); }
    bool AllStepsRan() const { return Finished() && failure_.empty(); }
    // Empty when every step ran; otherwise what went wrong.
    const std::string& Failure() const { return failure_; }

private:
    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD);
    void Step();
    void GiveUp(const std::string& why);

    struct Entry {
        Condition ready;
        Action act;
    };
    std::vector<Entry> steps_;
    std::size_t next_ = 0;
    UINT_PTR timer_ = 0;
    bool busy_ = false;
    std::chrono::milliseconds patience_;
    std::chrono::steady_clock::time_point waitingSince_;
    std::string failure_;
};

}  // namespace dialog_test
