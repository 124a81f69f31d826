// The user-interface side of a transfer job for the portable tests: the
// thread that calls Join (the test's own) plays the user-interface thread and
// carries out the worker's requests while it waits; the replace question is
// answered from a script and recorded.
#pragma once

#include "transfer_host.h"

#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace transfer_test {

struct Question {
    std::string name;
    std::string existingUrl;
    std::string newUrl;
};

class CThreadedTestHost : public transfer::ITransferHost {
public:
    CThreadedTestHost() : uiThread_(std::this_thread::get_id()) {}

    // The answers, in order; once they run out every question gets `rest`.
    std::deque<int> answers;
    int rest = 1007;
    // The questions asked, in order.
    std::vector<Question> questions;
    // The category the test pretends is selected.
    ClassRecord* selected = nullptr;
    // The categories the list was told to show anew.
    std::vector<ClassRecord*> filled;
    // Requests found off the user-interface thread (must stay 0).
    int wrongThread = 0;
    // With `blockQuestions` a question waits, as a modal dialog does, until
    // Interrupt ends it (answering 2).
    bool blockQuestions = false;
    // Called on the user-interface thread between requests while it waits.
    std::function<void()> whileWaiting;
    // Called on the worker before each question is answered.
    std::function<void()> beforeAnswer;
    int Interrupts() const;
    int RequestsRun() const;

    bool RunOnUiThread(const std::function<void()>& work) override;
    ClassRecord* SelectedCategory() override;
    void CategoryFilled(ClassRecord* category) override;
    int AskReplace(const std::string& name, const std::string& existingUrl, const std::string& newUrl) override;
    void WaitForWorker(const std::function<bool()>& finished, const std::function<void()>& poll) override;
    void Interrupt() override;

private:
    void CheckUiThread();

    const std::thread::id uiThread_;
    mutable std::mutex mutex_;
    std::condition_variable changed_;
    const std::function<void()>* request_ = nullptr;
    bool requestDone_ = false;
    bool interrupted_ = false;
    int interrupts_ = 0;
    int requestsRun_ = 0;
};

}  // namespace transfer_test
