// Steps of start-up and shutdown that belong to features built on top of
// this one: the automation server, the auto-run entry and the language packs.
// The order in which WinMain calls them is fixed.
#pragma once

#include <windows.h>

namespace app {

// The table of creatable classes (the automation object).
void InitObjectTable();
// The application registration script, the class scripts and the type
// library, and the browsers' native messaging host. Run for "RegServer" and,
// ignoring the result, on every start.
HRESULT RegisterServer();
// Removes what RegisterServer wrote ("UnregServer").
HRESULT UnregisterServer();
// The automation object's class object, for local-server use, multiple use.
void RegisterClassObjects();
void RevokeClassObjects();
// Cuts every live automation object off from its clients (the main window
// is gone; the process is ending).
void DisconnectClients();
// The main window that incoming links are announced to (null: none).
void RecordMainWindow(HWND window);
// The run-list entry brought in line with the auto-run settings (after the
// settings are loaded, before they are destroyed).
void UpdateAutoRun();
// Frees the language packs, after the settings are saved.
void DestroyLanguagePacks();

}  // namespace app
