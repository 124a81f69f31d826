// CFileWriter: the thread that writes whole files, so that a slow or network
// disk never holds up the window.
//
// A text is handed over with Submit and the thread replaces the file with it
// in one step (temporary file, flush, replace). Writes never overlap. When a
// newer text for a file arrives while an older one still waits, the older is
// dropped: only the newest text of a file is worth writing. The outcome of
// every write comes back through TakeResults, with the tag its text was
// handed over with, so that the owner knows which changes reached the disk.
// A text may bring its own way of being written (a file that keeps a backup
// before it is replaced); it runs on the writer's thread with the writer's
// file calls. After each write the writer calls its `finished` function,
// on its own thread, so that the owner can come for the outcome at once.
//
// Submit, TakeResults, Pending and WaitIdle may be called from any thread;
// the program calls them from the user-interface thread.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
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
        std::string note;   // something that went wrong without stopping the write
    };
    // Writes `text` to `path` through `ops`; fills in ok, error and note.
    using WriteStep = std::function<void(const std::string& path, std::string_view text, platform::FileOps& ops,
                                         Result& result)>;

    // `ops` are the file calls the thread makes (tests put fakes here); none
    // means the system's own. `finished`, when given, is called on the
    // writer's thread after every write, outside its lock; it must not throw
    // (posting a message to a window is what it is for).
    explicit CFileWriter(platform::FileOps* ops = nullptr, std::function<void()> finished = nullptr);
    // Writes what was handed over, then ends the thread.
    ~CFileWriter();
    CFileWriter(const CFileWriter&) = delete;
    CFileWriter& operator=(const CFileWriter&) = delete;

    // Without a `step` the text replaces the file as it is.
    void Submit(const std::string& path, FileTextBuffer text, std::uint64_t tag, WriteStep step = nullptr);
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
        WriteStep step;
    };
    struct Finished {
        std::string path;
        Result result;
    };
    void Run();

    platform::FileOps* ops_;
    std::unique_ptr<platform::FileOps> ownOps_;  // the system's, when none were given
    const std::function<void()> finished_;
    mutable std::mutex mutex_;
    std::condition_variable work_;  // a job arrived, or the end
    std::condition_variable idle_;  // a write finished
    std::deque<Job> waiting_;
    bool writing_ = false;          // a write is under way
    std::string writingPath_;       // and this is its file
    std::vector<Finished> done_;
    bool stop_ = false;
    std::thread thread_;            // last: starts once the rest exists
};
