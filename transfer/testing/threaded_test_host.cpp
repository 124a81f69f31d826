#include "threaded_test_host.h"

#include <chrono>

namespace transfer_test {

void CThreadedTestHost::CheckUiThread() {
    if (std::this_thread::get_id() != uiThread_) ++wrongThread;
}

int CThreadedTestHost::Interrupts() const {
    std::lock_guard<std::mutex> guard(mutex_);
    return interrupts_;
}

int CThreadedTestHost::RequestsRun() const {
    std::lock_guard<std::mutex> guard(mutex_);
    return requestsRun_;
}

bool CThreadedTestHost::RunOnUiThread(const std::function<void()>& work) {
    if (std::this_thread::get_id() == uiThread_) {
        work();
        return true;
    }
    std::unique_lock<std::mutex> lock(mutex_);
    changed_.wait(lock, [this] { return request_ == nullptr; });
    request_ = &work;
    requestDone_ = false;
    changed_.notify_all();
    changed_.wait(lock, [this] { return requestDone_; });
    request_ = nullptr;
    changed_.notify_all();
    return true;
}

ClassRecord* CThreadedTestHost::SelectedCategory() {
    CheckUiThread();
    return selected;
}

void CThreadedTestHost::CategoryFilled(ClassRecord* category) {
    CheckUiThread();
    filled.push_back(category);
}

int CThreadedTestHost::AskReplace(const std::string& name, const std::string& existingUrl, const std::string& newUrl) {
    questions.push_back(Question{name, existingUrl, newUrl});
    if (beforeAnswer) beforeAnswer();
    if (blockQuestions) {
        std::unique_lock<std::mutex> lock(mutex_);
        changed_.wait(lock, [this] { return interrupted_; });
        return 2;
    }
    if (answers.empty()) return rest;
    const int answer = answers.front();
    answers.pop_front();
    return answer;
}

void CThreadedTestHost::WaitForWorker(const std::function<bool()>& finished, const std::function<void()>& poll) {
    std::unique_lock<std::mutex> lock(mutex_);
    for (;;) {
        if (request_ && !requestDone_) {
            const std::function<void()>* work = request_;
            lock.unlock();
            (*work)();
            lock.lock();
            ++requestsRun_;
            requestDone_ = true;
            changed_.notify_all();
            continue;
        }
        lock.unlock();
        if (finished()) return;
        poll();
        if (whileWaiting) whileWaiting();
        lock.lock();
        changed_.wait_for(lock, std::chrono::milliseconds(5), [this] { return request_ && !requestDone_; });
    }
}

void CThreadedTestHost::Interrupt() {
    std::lock_guard<std::mutex> guard(mutex_);
    ++interrupts_;
    interrupted_ = true;
    changed_.notify_all();
}

}  // namespace transfer_test
