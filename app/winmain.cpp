// Start-up, instance control and the end of the process.
#include "bookmark_file_preload.h"
#include "command_line.h"
#include "startup_steps.h"

#include "framework/callback_guard.h"
#include "framework/message_loop.h"
#include "framework/private_messages.h"
#include "framework/program_folder.h"
#include "framework/server_module.h"
#include "mainframe/main_frame.h"
#include "pending_link_queue.h"
#include "setting.h"

#include <windows.h>
#include <commctrl.h>
#include <objbase.h>
#include <ole2.h>

#include <optional>

namespace {

// Names the single-instance mutex; fixed for every version of the program.
constexpr char kInstanceMutexName[] = "{5AB7F026-5AC5-422A-83DC-6A8E53AA6C25}";

// True when another instance already holds the name. The handle stays open
// for the life of the process.
bool AnotherInstanceRuns() {
    HANDLE mutex = ::CreateMutexA(nullptr, TRUE, kInstanceMutexName);
    const DWORD error = ::GetLastError();
    if (mutex) ::ReleaseMutex(mutex);
    return error == ERROR_ALREADY_EXISTS;
}

// Creates and shows the main window and runs the message loop until the
// shutdown monitor posts the quit message.
int RunUserInterface(HINSTANCE instance, framework::CServerModule& module, UINT alreadyRunningMessage) {
    framework::CMessageLoop loop;
    module.AddMessageLoop(&loop);
    int result = 0;
    {
        CMainFrame frame(module, alreadyRunningMessage);
        if (frame.CreateMainWindow(instance)) {
            app::RecordMainWindow(frame.Hwnd());
            // Links handed in before the window was recorded were announced
            // to no one.
            if (!PendingLinkQueue::Instance().Empty()) {
                ::PostMessageA(frame.Hwnd(), framework::UWM_LINKS_PENDING, 0, 0);
            }
            frame.HoldProcessLock();
            frame.InitialShow();
            ::SendMessageA(frame.Hwnd(), framework::UWM_TREE_TO_TOP, 0, 0);
            result = loop.Run();
        }
        app::RecordMainWindow(nullptr);
    }
    module.RemoveMessageLoop();
    return result;
}

// Everything after the single-instance test; reached by the first instance only.
int RunFirstInstance(HINSTANCE instance, UINT alreadyRunningMessage) {
    const app::CommandLineSwitches switches = app::ScanCommandLine(::GetCommandLineA());
    // The bookmark file is read on a thread of its own while the rest starts up.
    std::optional<CBookmarkFilePreload> preload;
    if (switches.mode != app::StartMode::RegServer && switches.mode != app::StartMode::UnregServer) {
        preload.emplace(framework::ProgramFolder() + "bookmark.xml");
    }
    ::CoInitialize(nullptr);
    ::OleInitialize(nullptr);

    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_BAR_CLASSES | ICC_COOL_CLASSES};
    ::InitCommonControlsEx(&controls);

    framework::CServerModule& module = framework::Module();
    module.Init(::GetCurrentThreadId());
    app::InitObjectTable();

    CSetting* settings = CSetting::Instance();
    settings->Load(framework::ProgramFolder() + "setting.xml");

    int exitCode = 0;
    if (switches.startHidden) settings->StartHidden = true;
    if (switches.mode == app::StartMode::RegServer) {
        exitCode = static_cast<int>(app::RegisterServer());
    } else if (switches.mode == app::StartMode::UnregServer) {
        exitCode = static_cast<int>(app::UnregisterServer());
    } else {
        app::RegisterServer();  // repairs the registration on every start
        module.StartMonitor();
        app::RegisterClassObjects();
        exitCode = RunUserInterface(instance, module, alreadyRunningMessage);
        preload.reset();
        app::RevokeClassObjects();
        ::Sleep(module.FinalPause());
    }

    // The shutdown tail, also for "RegServer" and "UnregServer".
    module.CloseShutdownEvent();
    module.Term();
    ::CoUninitialize();
    ::OleUninitialize();
    app::UpdateAutoRun();
    settings->Save();
    CSetting::DestroyInstance();
    app::DestroyLanguagePacks();
    return exitCode;
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    return framework::GuardCallback<int>(
        "WinMain",
        [&] {
            // The queue of incoming links exists before anything can add to it.
            PendingLinkQueue::Instance();
            const UINT alreadyRunning = ::RegisterWindowMessageA(framework::kAlreadyRunningMessageName);
            if (AnotherInstanceRuns()) {
                // Hand over to the first instance; touch nothing.
                ::PostMessageA(HWND_BROADCAST, alreadyRunning, 0, 0);
                return 0;
            }
            return RunFirstInstance(instance, alreadyRunning);
        },
        [] { return 1; });
}
