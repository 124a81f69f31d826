// Start-up, instance control and the end of the process.
#include "bookmark_file_preload.h"
#include "command_line.h"
#include "startup_steps.h"

#include "framework/callback_guard.h"
#include "framework/message_loop.h"
#include "framework/private_messages.h"
#include "framework/program_folder.h"
#include "framework/server_module.h"
#include "leftover_files.h"
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
// Set by the first instance once its main window is gone for good: it ends
// within seconds, and a new start waits for that instead of handing over.
constexpr char kEndingEventName[] = "{5AB7F026-5AC5-422A-83DC-6A8E53AA6C25}-ending";
// How long a new start waits for an ending instance.
constexpr DWORD kWaitForEndingMs = 30000;

// The single-instance mutex, owned by the first instance's main thread for
// the life of its process, and the instance's ending event.
HANDLE g_instanceMutex = nullptr;
HANDLE g_endingEvent = nullptr;

bool IsSignalled(HANDLE handle) { return handle && ::WaitForSingleObject(handle, 0) == WAIT_OBJECT_0; }

// Waits for the ending instance to go; true once this process owns the
// mutex. False when another start took over meanwhile or the time ran out.
bool WaitForEndingInstance(HANDLE mutex, HANDLE ending) {
    const ULONGLONG deadline = ::GetTickCount64() + kWaitForEndingMs;
    while (::GetTickCount64() < deadline) {
        const DWORD waited = ::WaitForSingleObject(mutex, 200);
        if (waited == WAIT_OBJECT_0 || waited == WAIT_ABANDONED) return true;
        if (!IsSignalled(ending)) return false;  // a newer instance runs
    }
    return false;
}

// True when this process is the first instance (it then owns the mutex and
// its ending event is reset); false when another runs and has a window to
// hand over to. An instance that has lost its window is waited for.
bool BecomeFirstInstance() {
    HANDLE mutex = ::CreateMutexA(nullptr, TRUE, kInstanceMutexName);
    bool first = ::GetLastError() != ERROR_ALREADY_EXISTS;
    if (!first && mutex) {
        HANDLE ending = ::OpenEventA(SYNCHRONIZE, FALSE, kEndingEventName);
        first = IsSignalled(ending) && WaitForEndingInstance(mutex, ending);
        if (ending) ::CloseHandle(ending);
    }
    if (!first) {
        if (mutex) ::CloseHandle(mutex);
        return false;
    }
    g_instanceMutex = mutex;
    g_endingEvent = ::CreateEventA(nullptr, TRUE, FALSE, kEndingEventName);
    if (g_endingEvent) ::ResetEvent(g_endingEvent);  // still set when the ending one was waited for
    return true;
}

// The main window is gone for good: new starts wait for this process to
// end, no new object is made, and clients are cut off.
void OnWindowGone() {
    if (g_endingEvent) ::SetEvent(g_endingEvent);
    app::RevokeClassObjects();
    app::DisconnectClients();
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
        // Only this instance writes these files: what an earlier one that
        // ended in the middle of a write left is no one's.
        RemoveLeftoverTemporaries(framework::ProgramFolder(), framework::ProgramFolder() + "Backup");
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
        module.SetWindowGoneHandler(&OnWindowGone);
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
            if (!BecomeFirstInstance()) {
                // Hand over to the first instance; touch nothing. Windows lets
                // it come to the front only with this instance's leave.
                ::AllowSetForegroundWindow(ASFW_ANY);
                ::PostMessageA(HWND_BROADCAST, alreadyRunning, 0, 0);
                return 0;
            }
            return RunFirstInstance(instance, alreadyRunning);
        },
        [] { return 1; });
}
