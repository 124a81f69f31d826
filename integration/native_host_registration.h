// The registration of the browsers' native messaging host (quorva-link.exe):
// its manifests beside the program, one for the Chromium family (Chrome,
// Edge) and one for Firefox, and the per-user keys through which each
// browser finds them. Written at start only where they differ from what they
// should be, so a moved program folder is followed; removed by UnregServer.
// Decisions only, over RegistryAccess and ManifestFiles, so that they are
// tested with a registry and files kept in memory.
#pragma once

#include "registry_access.h"

#include <string>
#include <string_view>
#include <vector>

namespace integration {

// The name the extension calls the host by.
extern const char kNativeHostName[];
extern const char kNativeHostProgram[];
extern const char kChromiumHostManifest[];
extern const char kFirefoxHostManifest[];
// Who may talk to the host: the extension's fixed identities.
extern const char kChromiumExtensionOrigin[];
extern const char kFirefoxExtensionId[];

struct NativeHostKey {
    std::string path;  // below HKEY_CURRENT_USER; its default value names the manifest
    bool firefox = false;
};

// Chrome's, Edge's and Firefox's keys, in that order.
std::vector<NativeHostKey> NativeHostKeys();

// The manifests' UTF-8 JSON for the host program at `hostPath` (UTF-8).
std::string ChromiumManifestText(std::string_view hostPath);
std::string FirefoxManifestText(std::string_view hostPath);

// The manifest files, by paths in the ANSI code page.
class ManifestFiles {
public:
    virtual ~ManifestFiles() = default;
    // False when the file is missing or cannot be read.
    virtual bool Read(const std::string& path, std::string& data) = 0;
    virtual bool Write(const std::string& path, const std::string& data) = 0;
    virtual bool Remove(const std::string& path) = 0;
};

struct NativeHostUpdate {
    int manifestsWritten = 0;
    int keysWritten = 0;
    bool failed = false;  // a write was refused; the rest was still tried
};

// `programFolder` (ANSI, ending in a backslash) holds the host program.
NativeHostUpdate RegisterNativeHost(RegistryAccess& registry, ManifestFiles& files, const std::string& programFolder);

// Deletes the three keys and the manifests of `programFolder`; a key or
// file that is not there is fine. Returns the first failure, else 0.
long RemoveNativeHost(RegistryAccess& registry, ManifestFiles& files, const std::string& programFolder);

}  // namespace integration
