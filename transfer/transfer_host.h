// What an import or export job needs of the user interface, apart from the
// file system: the thread that owns the views, the replace question, and the
// category on display.
//
// The collection has no lock. While a job runs, the category tree changes
// only on the user-interface thread (the job sends it each change and waits),
// so the views see every store event on their own thread; bookmark lists are
// changed by the worker itself, which the user interface leaves alone until
// the job is joined.
#pragma once

#include <functional>
#include <string>

class ClassRecord;

namespace transfer {

class ITransferHost {
public:
    virtual ~ITransferHost() = default;

    // Worker: runs `work` on the user-interface thread and returns when it
    // has run. False when it could not run (the user interface is gone); the
    // job then stops.
    virtual bool RunOnUiThread(const std::function<void()>& work) = 0;
    // Inside RunOnUiThread: the category selected in the category tree.
    virtual ClassRecord* SelectedCategory() = 0;
    // Inside RunOnUiThread: the bookmark list should show `category` anew.
    virtual void CategoryFilled(ClassRecord* category) = 0;
    // Worker: the replace question (a bookmark or shortcut `name` exists with
    // `existingUrl`; replace it by `newUrl`?). Returns the pressed button's id.
    virtual int AskReplace(const std::string& name, const std::string& existingUrl,
                           const std::string& newUrl) = 0;

    // User-interface thread: waits until `finished()` holds, carrying out the
    // worker's requests meanwhile; `poll` is called now and then.
    virtual void WaitForWorker(const std::function<bool()>& finished, const std::function<void()>& poll) = 0;
    // User-interface thread, the job being stopped: ends an open question.
    virtual void Interrupt() {}
};

}  // namespace transfer
