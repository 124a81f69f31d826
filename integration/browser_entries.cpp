#include "browser_entries.h"

#include "browser_registration.h"
#include "link_page.h"
#include "native_host_registration.h"
#include "platform/executable_path.h"
#include "platform/file_io.h"
#include "win32_registry.h"

#include <windows.h>

namespace integration {

namespace {

bool FileExists(const std::string& path) {
    const DWORD attributes = ::GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

class SystemManifestFiles final : public ManifestFiles {
public:
    bool Read(const std::string& path, std::string& data) override {
        std::string error;
        return platform::ReadWholeFile(path, data, error);
    }
    bool Write(const std::string& path, const std::string& data) override {
        std::string error;
        return platform::ReplaceFileContents(path, data, error);
    }
    bool Remove(const std::string& path) override { return ::DeleteFileA(path.c_str()) != 0; }
};

}  // namespace

bool SetUpBrowserEntries(const std::string& programFolder, const std::string& menuText,
                         const std::string& buttonName, bool toolbarButton) {
    const std::string page = programFolder + "Bm_Link.htm";
    WriteLinkPage(page);
    Win32Registry registry;
    const ContextMenuUpdate update = UpdateContextMenu(registry, menuText, page, FileExists);
    if (toolbarButton) {
        RegisterToolbarButton(registry, platform::ExecutablePath(), buttonName);
    } else {
        RemoveToolbarButton(registry);
    }
    return update.hint;
}

void ApplyToolbarButtonChange(bool before, bool after, const std::string& buttonName) {
    if (before == after) return;
    Win32Registry registry;
    if (after) {
        RegisterToolbarButton(registry, platform::ExecutablePath(), buttonName);
    } else {
        RemoveToolbarButton(registry);
    }
}

void UpdateAutoRunEntry(bool autoRun, bool startHidden) {
    Win32Registry registry;
    ApplyAutoRun(registry, platform::ExecutablePath(), autoRun, startHidden);
}

}  // namespace integration

namespace integration {

void SetUpNativeHostEntries(const std::string& programFolder) {
    Win32Registry registry;
    SystemManifestFiles files;
    RegisterNativeHost(registry, files, programFolder);
}

long RemoveNativeHostEntries(const std::string& programFolder) {
    Win32Registry registry;
    SystemManifestFiles files;
    return RemoveNativeHost(registry, files, programFolder);
}

}  // namespace integration
