// The main window created in the test process, with every setting at its
// default and the thread's message loop, and the pumping its tests share.
#pragma once

#include "framework/message_loop.h"
#include "framework/server_module.h"
#include "mainframe/main_frame.h"
#include "language.h"
#include "setting.h"
#include "framework/program_folder.h"
#include "test_support/browser_entry.h"
#include "test_support/temp_dir.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <filesystem>
#include <functional>
#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

namespace mainframe_test {

constexpr DWORD kTimeoutMs = 30000;

inline void Pump() {
    MSG msg;
    while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }
}

inline bool PumpUntil(const std::function<bool()>& condition) {
    const ULONGLONG deadline = ::GetTickCount64() + kTimeoutMs;
    for (;;) {
        Pump();
        if (condition()) return true;
        if (::GetTickCount64() >= deadline) return false;
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
    }
}

// Presses `key` while the `held` keys are down, as real input.
inline void PressKeys(std::initializer_list<WORD> held, WORD key) {
    std::vector<INPUT> keys;
    auto add = [&](WORD vk, DWORD flags) {
        INPUT input{};
        input.type = INPUT_KEYBOARD;
        input.ki.wVk = vk;
        input.ki.dwFlags = flags;
        keys.push_back(input);
    };
    for (WORD k : held) add(k, 0);
    add(key, 0);
    add(key, KEYEVENTF_KEYUP);
    for (auto k = held.end(); k != held.begin();) add(*--k, KEYEVENTF_KEYUP);
    ::SendInput(static_cast<UINT>(keys.size()), keys.data(), sizeof(INPUT));
}

// Pumps as the program's loop does, the frame's accelerators first, until
// `done` or ten seconds.
inline bool PumpThroughFrameUntil(CMainFrame& frame, const std::function<bool()>& done) {
    const ULONGLONG deadline = ::GetTickCount64() + 10000;
    while (!done() && ::GetTickCount64() < deadline) {
        MSG msg;
        while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (frame.PreTranslateMessage(&msg)) continue;
            ::TranslateMessage(&msg);
            ::DispatchMessageA(&msg);
        }
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
    }
    return done();
}

class MainFrameTest : public testing::Test {
protected:
    void SetUp() override {
        Pump();
        folder_ = framework::ProgramFolder();
        ASSERT_TRUE(testing_support::PointContextMenuAt(folder_));
        settings_ = CSetting::Instance();
        settings_->Load(dir_.File("no-such-setting.xml"));  // every key at its default
        settings_->StartHidden = false;
        // The category tree would offer its first-run imports in a message box.
        settings_->Other_InDefaultBookmark = 0;
        settings_->Other_InIEBookmark = 0;
        module_.Init(::GetCurrentThreadId());
        ASSERT_TRUE(module_.AddMessageLoop(&loop_));
    }
    void TearDown() override {
        frame_.reset();
        module_.RemoveMessageLoop();
        Pump();
        CLanguage::DestroyInstance();  // no pack stays active for other tests
        // What the tests and the frame wrote into the program folder.
        std::error_code ec;
        for (const char* name : {"bookmark.xml", "bookmark.xml.tmp", "HomepageGroup.xml", "setting.xml"}) {
            std::filesystem::remove(folder_ + name, ec);
        }
        std::filesystem::remove_all(folder_ + "Language", ec);
        std::filesystem::remove_all(folder_ + "Backup", ec);
    }

    CMainFrame& Frame() {
        if (!frame_) frame_ = std::make_unique<CMainFrame>(module_, AlreadyRunningMessage());
        return *frame_;
    }
    HWND Create() {
        if (!Frame().CreateMainWindow(::GetModuleHandleA(nullptr))) {
            ADD_FAILURE() << "creation failed, last error " << ::GetLastError();
            return nullptr;
        }
        return Frame().Hwnd();
    }
    // A name of its own, so that broadcasts of other tests' programs never
    // reach this frame.
    static UINT AlreadyRunningMessage() { return ::RegisterWindowMessageA("quorva_test_AlreadyRunning"); }

    testing_support::TempDir dir_;
    // The program folder, where the frame reads its bookmark file and its
    // language packs and writes its files: emptied of them after each test.
    std::string folder_;
    CSetting* settings_ = nullptr;
    framework::CServerModule module_;
    framework::CMessageLoop loop_;
    std::unique_ptr<CMainFrame> frame_;
};

}  // namespace mainframe_test
