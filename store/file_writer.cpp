#include "file_writer.h"

#include <algorithm>
#include <exception>
#include <new>
#include <utility>

CFileWriter::CFileWriter(platform::FileOps* ops, std::function<void()> finished)
    : ops_(ops),
      ownOps_(ops ? nullptr : platform::NewSystemFileOps()),
      finished_(std::move(finished)),
      thread_([this] { Run(); }) {}

CFileWriter::~CFileWriter() {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        stop_ = true;
    }
    work_.notify_one();
    thread_.join();
}

void CFileWriter::Submit(const std::string& path, FileTextBuffer text, std::uint64_t tag, WriteStep step) {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        auto older = std::find_if(waiting_.begin(), waiting_.end(), [&](const Job& job) { return job.path == path; });
        if (older != waiting_.end()) {
            // Replaced where it stood, so that files keep their turns.
            older->text = std::move(text);
            older->tag = tag;
            older->step = std::move(step);
        } else {
            waiting_.push_back(Job{path, std::move(text), tag, std::move(step)});
        }
    }
    work_.notify_one();
}

std::vector<CFileWriter::Result> CFileWriter::TakeResults(const std::string& path) {
    std::vector<Result> results;
    std::lock_guard<std::mutex> lock(mutex_);
    auto mine = std::stable_partition(done_.begin(), done_.end(), [&](const Finished& f) { return f.path != path; });
    for (auto it = mine; it != done_.end(); ++it) results.push_back(std::move(it->result));
    done_.erase(mine, done_.end());
    return results;
}

bool CFileWriter::Pending(const std::string& path) const {
    std::lock_guard<std::mutex> lock(mutex_);
    if (writing_ && writingPath_ == path) return true;
    return std::any_of(waiting_.begin(), waiting_.end(), [&](const Job& job) { return job.path == path; });
}

void CFileWriter::WaitIdle() {
    std::unique_lock<std::mutex> lock(mutex_);
    idle_.wait(lock, [&] { return waiting_.empty() && !writing_; });
}

void CFileWriter::Run() {
    platform::FileOps& ops = ops_ ? *ops_ : *ownOps_;
    std::unique_lock<std::mutex> lock(mutex_);
    for (;;) {
        work_.wait(lock, [&] { return stop_ || !waiting_.empty(); });
        if (waiting_.empty()) return;  // asked to stop, and nothing is left
        Job job = std::move(waiting_.front());
        waiting_.pop_front();
        writing_ = true;
        writingPath_ = job.path;
        lock.unlock();

        Result result;
        result.tag = job.tag;
        try {
            if (job.step) {
                job.step(job.path, job.text.View(), ops, result);
            } else {
                result.ok = platform::ReplaceFileContents(job.path, job.text.View(), result.error, ops);
            }
        } catch (const std::bad_alloc&) {
            result.ok = false;
            result.error = "Out of memory";
        } catch (const std::exception& e) {
            result.ok = false;
            result.error = e.what();
        }
        job.text = FileTextBuffer();  // the text's memory goes back before the next wait
        job.step = nullptr;

        lock.lock();
        writing_ = false;
        done_.push_back(Finished{std::move(job.path), std::move(result)});
        idle_.notify_all();
        if (finished_) {
            lock.unlock();
            finished_();
            lock.lock();
        }
    }
}
