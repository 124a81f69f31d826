// A user-interface side for tests whose worker waits in its first request
// until the test releases it, so that a job holds the collection for as long
// as the test needs; waiting for the worker carries out its requests on the
// waiting thread. Windows only (an event).
#pragma once

#include "transfer_host.h"

#include <windows.h>

#include <condition_variable>
#include <functional>
#include <mutex>
#include <string>

namespace transfer_test {

class CHeldJobHost : public transfer::ITransferHost {
public:
    CHeldJobHost() : release_(::CreateEventA(nullptr, TRUE, FALSE, nullptr)) {}
    ~CHeldJobHost() override { ::CloseHandle(release_); }
    void Release() { ::SetEvent(release_); }

    // Worker: waits for the release, then for the waiting thread to run it.
    bool RunOnUiThread(const std::function<void()>& work) override {
        ::WaitForSingleObject(release_, 30000);
        std::unique_lock<std::mutex> lock(mutex_);
        pending_ = &work;
        ran_.wait(lock, [&] { return pending_ == nullptr; });
        return true;
    }
    ClassRecord* SelectedCategory() override { return nullptr; }
    void CategoryFilled(ClassRecord*) override {}
    int AskReplace(const std::string&, const std::string&, const std::string&) override { return 1004; }
    void WaitForWorker(const std::function<bool()>& finished, const std::function<void()>& poll) override {
        while (!finished()) {
            {
                std::lock_guard<std::mutex> lock(mutex_);
                if (pending_) {
                    (*pending_)();
                    pending_ = nullptr;
                    ran_.notify_all();
                }
            }
            poll();
            ::Sleep(1);
        }
    }

private:
    HANDLE release_;
    std::mutex mutex_;
    std::condition_variable ran_;
    const std::function<void()>* pending_ = nullptr;
};

}  // namespace transfer_test
