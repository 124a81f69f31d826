#include "browser_registration.h"

#include "platform/codepage.h"

#include <cstdint>
#include <utility>

namespace integration {

const char kToolbarButtonKey[] =
    "Software\\Microsoft\\Internet Explorer\\Extensions\\{9D3E2B4A-6C1F-4E8B-A2D7-51F0C8E3B6A9}";
const char kRunKey[] = "software\\microsoft\\windows\\currentversion\\run";
const char kRunValue[] = "quorva";

namespace {

// The browser's class for a button that starts a program.
constexpr char kExecButtonClass[] = "{1FBA04EE-3024-11D2-8F1F-0000F87ABD16}";
constexpr char kButtonText[] = "zevLinkarbor";
// The situations in which the browser offers the entry.
constexpr std::uint32_t kMenuContexts = 243;

char UpperAscii(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

}  // namespace

std::string ContextMenuKey(std::string_view menuText) {
    return std::string("Software\\Microsoft\\Internet Explorer\\MenuExt\\!&").append(menuText);
}

bool SameIgnoringAsciiCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    const char* p = a.data();
    const char* q = b.data();
    const char* end = p + a.size();
    while (p < end) {
        const char* next = platform::NextChar(p, end);
        if (next - p == 1) {
            if (UpperAscii(*p) != UpperAscii(*q)) return false;
        } else if (std::string_view(p, static_cast<std::size_t>(next - p)) !=
                   std::string_view(q, static_cast<std::size_t>(next - p))) {
            return false;
        }
        q += next - p;
        p = next;
    }
    return true;
}

ContextMenuUpdate UpdateContextMenu(RegistryAccess& registry, std::string_view menuText, const std::string& pagePath,
                                    const std::function<bool(const std::string&)>& fileExists) {
    ContextMenuUpdate update;
    const std::string key = ContextMenuKey(menuText);
    std::string old;
    if (registry.ReadStringValue(RegistryRoot::CurrentUser, key, "", old) != kRegistryOk) old.clear();
    if (SameIgnoringAsciiCase(old, pagePath)) return update;
    update.written = registry.SetStringValue(RegistryRoot::CurrentUser, key, "", pagePath) == kRegistryOk &&
                     registry.SetDwordValue(RegistryRoot::CurrentUser, key, "contexts", kMenuContexts) == kRegistryOk;
    update.hint = update.written && (old.empty() || !fileExists(old));
    return update;
}

long RegisterToolbarButton(RegistryAccess& registry, const std::string& exePath, std::string_view menuName) {
    const std::string menuText = std::string(kButtonText) + "(" + std::string(menuName) + ")";
    const std::string icon = exePath + ",128";
    const std::pair<const char*, std::string> values[] = {
        {"ButtonText", kButtonText}, {"CLSID", kExecButtonClass}, {"Default Visible", "Yes"},
        {"Exec", exePath},           {"Icon", icon},              {"HotIcon", icon},
        {"MenuText", menuText},      {"MenuStatusBar", menuText},
    };
    for (const auto& [name, data] : values) {
        if (long error = registry.SetStringValue(RegistryRoot::LocalMachine, kToolbarButtonKey, name, data)) {
            return error;
        }
    }
    return kRegistryOk;
}

long RemoveToolbarButton(RegistryAccess& registry) {
    return registry.DeleteTree(RegistryRoot::LocalMachine, kToolbarButtonKey);
}

std::string RunCommand(const std::string& exePath, bool startHidden) {
    std::string command = exePath.find(' ') != std::string::npos ? "\"" + exePath + "\"" : exePath;
    if (startHidden) command += " /hide";
    return command;
}

long ApplyAutoRun(RegistryAccess& registry, const std::string& exePath, bool autoRun, bool startHidden) {
    if (!autoRun) {
        const long error = registry.DeleteValue(RegistryRoot::CurrentUser, kRunKey, kRunValue);
        return error == kRegistryNotFound ? kRegistryOk : error;
    }
    const std::string wanted = RunCommand(exePath, startHidden);
    std::string current;
    if (registry.ReadStringValue(RegistryRoot::CurrentUser, kRunKey, kRunValue, current) == kRegistryOk &&
        SameIgnoringAsciiCase(current, wanted)) {
        return kRegistryOk;
    }
    return registry.SetStringValue(RegistryRoot::CurrentUser, kRunKey, kRunValue, wanted);
}

}  // namespace integration
