#include "native_host_registration.h"

#include "browser_registration.h"
#include "platform/ansi_text.h"

#include <cstdio>

namespace integration {

const char kNativeHostName[] = "io.github.quorva.link";
const char kNativeHostProgram[] = "quorva-link.exe";
const char kChromiumHostManifest[] = "quorva-link.json";
const char kFirefoxHostManifest[] = "quorva-link.firefox.json";
const char kChromiumExtensionOrigin[] = "chrome-extension://jfmddahhgobmkhoindnjoicepoomfnkk/";
const char kFirefoxExtensionId[] = "link@quorva.github.io";

namespace {

std::string JsonString(std::string_view text) {
    std::string out = "\"";
    for (char c : text) {
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (static_cast<unsigned char>(c) < 0x20) {
            char escape[8];
            std::snprintf(escape, sizeof escape, "\\u%04x", static_cast<unsigned>(c));
            out += escape;
        } else {
            out += c;
        }
    }
    return out + "\"";
}

// The fields both families share, then the one naming who may call.
std::string ManifestText(std::string_view hostPath, const char* allowedField, const char* allowed) {
    return std::string("{\r\n") +
           "  \"name\": " + JsonString(kNativeHostName) + ",\r\n" +
           "  \"description\": \"Files links from the browser in quorva\",\r\n" +
           "  \"path\": " + JsonString(hostPath) + ",\r\n" +
           "  \"type\": \"stdio\",\r\n" +
           "  \"" + allowedField + "\": [" + JsonString(allowed) + "]\r\n" +
           "}\r\n";
}

}  // namespace

std::vector<NativeHostKey> NativeHostKeys() {
    const std::string name = kNativeHostName;
    return {
        {"Software\\Google\\Chrome\\NativeMessagingHosts\\" + name, false},
        {"Software\\Microsoft\\Edge\\NativeMessagingHosts\\" + name, false},
        {"Software\\Mozilla\\NativeMessagingHosts\\" + name, true},
    };
}

std::string ChromiumManifestText(std::string_view hostPath) {
    return ManifestText(hostPath, "allowed_origins", kChromiumExtensionOrigin);
}

std::string FirefoxManifestText(std::string_view hostPath) {
    return ManifestText(hostPath, "allowed_extensions", kFirefoxExtensionId);
}

NativeHostUpdate RegisterNativeHost(RegistryAccess& registry, ManifestFiles& files, const std::string& programFolder) {
    NativeHostUpdate update;
    const std::string hostPath = platform::AnsiToUtf8(programFolder + kNativeHostProgram);
    const std::string chromium = programFolder + kChromiumHostManifest;
    const std::string firefox = programFolder + kFirefoxHostManifest;
    for (const auto& [path, text] : {std::pair{chromium, ChromiumManifestText(hostPath)},
                                     std::pair{firefox, FirefoxManifestText(hostPath)}}) {
        std::string old;
        if (files.Read(path, old) && old == text) continue;
        if (files.Write(path, text)) {
            ++update.manifestsWritten;
        } else {
            update.failed = true;
        }
    }
    for (const NativeHostKey& key : NativeHostKeys()) {
        const std::string& manifest = key.firefox ? firefox : chromium;
        std::string old;
        if (registry.ReadStringValue(RegistryRoot::CurrentUser, key.path, "", old) == kRegistryOk &&
            SameIgnoringAsciiCase(old, manifest)) {
            continue;
        }
        if (registry.SetStringValue(RegistryRoot::CurrentUser, key.path, "", manifest) == kRegistryOk) {
            ++update.keysWritten;
        } else {
            update.failed = true;
        }
    }
    return update;
}

long RemoveNativeHost(RegistryAccess& registry, ManifestFiles& files, const std::string& programFolder) {
    long first = kRegistryOk;
    for (const NativeHostKey& key : NativeHostKeys()) {
        const long error = registry.DeleteTree(RegistryRoot::CurrentUser, key.path);
        if (error != kRegistryOk && error != kRegistryNotFound && first == kRegistryOk) first = error;
    }
    files.Remove(programFolder + kChromiumHostManifest);
    files.Remove(programFolder + kFirefoxHostManifest);
    return first;
}

}  // namespace integration
