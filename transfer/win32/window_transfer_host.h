// The user-interface side of a transfer job in the program: the worker's
// requests are sent to a message-only window of the user-interface thread
// (so they run there while the worker waits), the replace question is a
// modal dialog on the worker owned by `owner`, and waiting for the worker
// keeps carrying out the messages it sends.
#pragma once

#include "transfer_host.h"

#include <windows.h>

#include <atomic>
#include <functional>
#include <string>

namespace transfer {

class CWindowTransferHost : public ITransferHost {
public:
    // Shows the replace question owned by `owner`; returns the pressed
    // button's id (the program's is dialogs::AskReplaceQuestion).
    using ReplaceQuestion = std::function<int(HWND owner, const std::string& name, const std::string& existingUrl,
                                              const std::string& newUrl)>;

    // Made on the user-interface thread. `selected` gives the category the
    // tree has selected, `filled` tells the bookmark list to show a category
    // anew (UWM_CLASS_CHANGED to the main window); both run on that thread.
    CWindowTransferHost(HWND owner, std::function<ClassRecord*()> selected, std::function<void(ClassRecord*)> filled,
                        ReplaceQuestion question);
    ~CWindowTransferHost() override;
    CWindowTransferHost(const CWindowTransferHost&) = delete;
    CWindowTransferHost& operator=(const CWindowTransferHost&) = delete;

    bool RunOnUiThread(const std::function<void()>& work) override;
    ClassRecord* SelectedCategory() override;
    void CategoryFilled(ClassRecord* category) override;
    int AskReplace(const std::string& name, const std::string& existingUrl, const std::string& newUrl) override;
    void WaitForWorker(const std::function<bool()>& finished, const std::function<void()>& poll) override;
    void Interrupt() override;

    // The longest time the waiting thread went without looking at its
    // messages, in milliseconds (for the benchmark).
    DWORD LongestWaitGap() const { return longestGap_; }

private:
    static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

    HWND owner_;
    std::function<ClassRecord*()> selected_;
    std::function<void(ClassRecord*)> filled_;
    ReplaceQuestion question_;
    HWND window_ = nullptr;
    const DWORD uiThread_;
    std::atomic<DWORD> questionThread_{0};
    std::atomic<bool> interrupted_{false};
    DWORD longestGap_ = 0;
};

}  // namespace transfer
