// CFileWriter: the thread that writes whole files, so that a slow or network
// disk never holds up the window.
//
// A text is handed over with Submit and the thread replaces the file with it
// in one step (temporary file, flush, replace). Writes never overlap. When a
// newer text for a file arrives while an older one still waits, the older is
// dropped: only the newest text of a file is worth writing. The outcome of
// every write comes back through TakeResults, with the tag its text was
// handed over with, so that the owner knows which changes reached the disk.
//
// Submit, TakeResults, Pending and WaitIdle may be called from any thread;
// the program calls them from the user-interface thread.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "platform/file_io.h"
#include "xml_file_text.h"

class CFileWriter {
public:
    struct Result {
        std::uint64_t tag = 0;
        bool ok = false;
        std::string error;  // why it failed
    };

    // `ops` are the file calls the thread makes (tests put fakes here); none
    // means the system's own.
    explicit CFileWriter(platform::FileOps* ops = nullptr);
    // Writes what was handed over, then ends the thread.
    ~CFileWriter();
    CFileWriter(const CFileWriter&) = delete;
    CFileWriter& operator=(const CFileWriter&) = delete;

    void Submit(const std::string& path, FileTextBuffer text, std::uint64_t tag);
    // The outcomes of the writes of `path` finished since the last call, in
    // the order they finished.
    std::vector<Result> TakeResults(const std::string& path);
    // Whether a text for `path` waits or is being written.
    bool Pending(const std::string& path) const;
    // Returns once every text handed over has been written or has failed.
    void WaitIdle();

private:
    struct Job {
        std::string path;
        FileTextBuffer text;
        std::uint64_t tag = 0;
    };
    struct Finished {
        std::string path;
        Result result;
    };
    void Run();

    platform::FileOps* ops_;
    mutable std::mutex mutex_;
    std::condition_variable work_;  // a job arrived, or the end
    std::condition_variable idle_;  // a write finished
    std::deque<Job> waiting_;
    bool writing_ = false;          // a write is under way
    std::string writingPath_;       // and this is its file
    std::vector<Finished> finished_;
    bool stop_ = false;
    std::thread thread_;            // last: starts once the rest exists
};
