// Shared by the transfer jobs' portable tests: a store, an in-memory file
// system and a host whose user-interface thread is the test's own, and a
// store observer that notes events raised off that thread.
#pragma once

#include "bookmark_store.h"
#include "memory_file_system.h"
#include "store_test_helpers.h"
#include "threaded_test_host.h"
#include "transfer_job.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <thread>
#include <vector>

namespace transfer_test {

// Whether a name holds one of the nine characters names may not hold.
inline bool HoldsInvalidChars(std::string name) { return FilterInvalidChars(name, false); }

class ThreadCheckingObserver : public IStoreObserver {
public:
    void OnInserted(ClassRecord*, ClassRecord*, ClassRecord*) override { Check(); }
    void OnRepaint() override { Check(); }
    int events = 0;
    int offThread = 0;

private:
    void Check() {
        ++events;
        if (std::this_thread::get_id() != ui_) ++offThread;
    }
    std::thread::id ui_ = std::this_thread::get_id();
};

class TransferTest : public testing::Test {
protected:
    void SetUp() override { store.AddObserver(&observer); }
    void TearDown() override {
        EXPECT_EQ(host.wrongThread, 0);
        EXPECT_EQ(observer.offThread, 0) << "store events must reach the views on their own thread";
        store.RemoveObserver(&observer);
    }

    // Runs one job to its end and returns it (joined).
    std::unique_ptr<transfer::CTransferJob> Run(int kind, const std::string& path, ClassRecord* target) {
        auto job = std::make_unique<transfer::CTransferJob>(store, fs, host);
        bool started = false;
        switch (kind) {
            case transfer::CTransferJob::kImportFolder: started = job->StartImportFolder(path, target); break;
            case transfer::CTransferJob::kExportFolder: started = job->StartExportFolder(target, path); break;
            case transfer::CTransferJob::kImportBrowserFile: started = job->StartImportBrowserFile(path, target); break;
            case transfer::CTransferJob::kExportBrowserFile: started = job->StartExportBrowserFile(target, path); break;
            default: started = job->StartImportXml(path, target); break;
        }
        EXPECT_TRUE(started);
        EXPECT_TRUE(transfer::CTransferJob::CollectionHeld());
        job->Join();
        EXPECT_FALSE(job->IsRunning());
        EXPECT_FALSE(transfer::CTransferJob::CollectionHeld());
        return job;
    }
    std::unique_ptr<transfer::CTransferJob> ImportFolder(const std::string& path, ClassRecord* target = nullptr) {
        return Run(transfer::CTransferJob::kImportFolder, path, target);
    }
    std::unique_ptr<transfer::CTransferJob> Export(ClassRecord* target, const std::string& path) {
        return Run(transfer::CTransferJob::kExportFolder, path, target);
    }
    std::unique_ptr<transfer::CTransferJob> ImportXml(const std::string& text, ClassRecord* target = nullptr) {
        fs.AddFile("C:\\in\\file.xml", text);
        return Run(transfer::CTransferJob::kImportXml, "C:\\in\\file.xml", target);
    }
    std::vector<std::string> Tree() const { return store_test::Describe(store); }
    ClassRecord* Top(const std::string& name) { return store.FindChildClass(store.Root(), name, nullptr); }
    std::vector<std::string> QuestionNames() const {
        std::vector<std::string> names;
        for (const Question& q : host.questions) names.push_back(q.name);
        return names;
    }

    CBookmarkStore store;
    CMemoryFileSystem fs;
    CThreadedTestHost host;
    ThreadCheckingObserver observer;
};

}  // namespace transfer_test
