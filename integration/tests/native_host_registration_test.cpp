#include "native_host_registration.h"

#include "memory_registry.h"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>

namespace {

using integration::RegistryRoot;
using integration_test::MemoryRegistry;

// Files kept in memory; writes and removals are counted, writes can be refused.
class MemoryFiles final : public integration::ManifestFiles {
public:
    bool Read(const std::string& path, std::string& data) override {
        auto found = files.find(path);
        if (found == files.end()) return false;
        data = found->second;
        return true;
    }
    bool Write(const std::string& path, const std::string& data) override {
        if (readOnly) return false;
        files[path] = data;
        ++writes;
        return true;
    }
    bool Remove(const std::string& path) override { return files.erase(path) != 0; }

    std::map<std::string, std::string> files;
    int writes = 0;
    bool readOnly = false;
};

const std::string kChromeKey = "Software\\Google\\Chrome\\NativeMessagingHosts\\io.github.quorva.link";
const std::string kEdgeKey = "Software\\Microsoft\\Edge\\NativeMessagingHosts\\io.github.quorva.link";
const std::string kFirefoxKey = "Software\\Mozilla\\NativeMessagingHosts\\io.github.quorva.link";

TEST(NativeHostRegistration, TheKeysAreTheBrowsersPerUserOnes) {
    const auto keys = integration::NativeHostKeys();
    ASSERT_EQ(keys.size(), 3u);
    EXPECT_EQ(keys[0].path, kChromeKey);
    EXPECT_EQ(keys[1].path, kEdgeKey);
    EXPECT_EQ(keys[2].path, kFirefoxKey);
    EXPECT_FALSE(keys[0].firefox);
    EXPECT_FALSE(keys[1].firefox);
    EXPECT_TRUE(keys[2].firefox);
}

TEST(NativeHostRegistration, TheManifestsNameTheHostAndWhoMayCallIt) {
    const std::string path = "C:\\Program Files\\\"q\"\\quorva-link.exe";
    EXPECT_EQ(integration::ChromiumManifestText(path),
              "{\r\n"
              "  \"name\": \"io.github.quorva.link\",\r\n"
              "  \"description\": \"Files links from the browser in quorva\",\r\n"
              "  \"path\": \"C:\\\\Program Files\\\\\\\"q\\\"\\\\quorva-link.exe\",\r\n"
              "  \"type\": \"stdio\",\r\n"
              "  \"allowed_origins\": [\"chrome-extension://jfmddahhgobmkhoindnjoicepoomfnkk/\"]\r\n"
              "}\r\n");
    const std::string firefox = integration::FirefoxManifestText("C:\\q\\quorva-link.exe");
    EXPECT_NE(firefox.find("\"allowed_extensions\": [\"link@quorva.github.io\"]"), std::string::npos) << firefox;
    EXPECT_EQ(firefox.find("allowed_origins"), std::string::npos) << firefox;
    EXPECT_NE(firefox.find("\"path\": \"C:\\\\q\\\\quorva-link.exe\""), std::string::npos) << firefox;
}

TEST(NativeHostRegistration, AChineseFolderIsWrittenAsUtf8InTheManifestAndAsTheCodePageInTheKeys) {
    MemoryRegistry registry;
    MemoryFiles files;
    const std::string folder = "C:\\书签\\";  // the code page's bytes
    integration::RegisterNativeHost(registry, files, folder);
    const std::string manifest = files.files.at(folder + "quorva-link.json");
    EXPECT_NE(manifest.find(reinterpret_cast<const char*>(u8"C:\\\\书签\\\\quorva-link.exe")), std::string::npos)
        << manifest;
    EXPECT_EQ(registry.Value(RegistryRoot::CurrentUser, kChromeKey), folder + "quorva-link.json");
}

TEST(NativeHostRegistration, WrittenOnceThenOnlyWhenSomethingDiffers) {
    MemoryRegistry registry;
    MemoryFiles files;
    const std::string folder = "C:\\q\\";

    auto update = integration::RegisterNativeHost(registry, files, folder);
    EXPECT_EQ(update.manifestsWritten, 2);
    EXPECT_EQ(update.keysWritten, 3);
    EXPECT_FALSE(update.failed);
    EXPECT_EQ(registry.Value(RegistryRoot::CurrentUser, kChromeKey), "C:\\q\\quorva-link.json");
    EXPECT_EQ(registry.Value(RegistryRoot::CurrentUser, kEdgeKey), "C:\\q\\quorva-link.json");
    EXPECT_EQ(registry.Value(RegistryRoot::CurrentUser, kFirefoxKey), "C:\\q\\quorva-link.firefox.json");
    EXPECT_EQ(files.files.at("C:\\q\\quorva-link.json"), integration::ChromiumManifestText("C:\\q\\quorva-link.exe"));
    EXPECT_EQ(files.files.at("C:\\q\\quorva-link.firefox.json"),
              integration::FirefoxManifestText("C:\\q\\quorva-link.exe"));

    // The next start: nothing to do, nothing written.
    const int registryWrites = registry.writeCount;
    update = integration::RegisterNativeHost(registry, files, folder);
    EXPECT_EQ(update.manifestsWritten, 0);
    EXPECT_EQ(update.keysWritten, 0);
    EXPECT_EQ(registry.writeCount, registryWrites);
    EXPECT_EQ(files.writes, 2);

    // A key naming the same file in other letters is left alone.
    registry.SetStringValue(RegistryRoot::CurrentUser, kEdgeKey, "", "c:\\Q\\QUORVA-LINK.JSON");
    update = integration::RegisterNativeHost(registry, files, folder);
    EXPECT_EQ(update.keysWritten, 0);

    // One key changed by someone else, one manifest damaged: only those are put back.
    registry.SetStringValue(RegistryRoot::CurrentUser, kFirefoxKey, "", "D:\\other\\host.json");
    files.files["C:\\q\\quorva-link.json"] = "{";
    update = integration::RegisterNativeHost(registry, files, folder);
    EXPECT_EQ(update.keysWritten, 1);
    EXPECT_EQ(update.manifestsWritten, 1);
    EXPECT_EQ(registry.Value(RegistryRoot::CurrentUser, kFirefoxKey), "C:\\q\\quorva-link.firefox.json");

    // The program folder moved: the new folder gets manifests, every key follows.
    update = integration::RegisterNativeHost(registry, files, "D:\\moved\\");
    EXPECT_EQ(update.manifestsWritten, 2);
    EXPECT_EQ(update.keysWritten, 3);
    EXPECT_EQ(registry.Value(RegistryRoot::CurrentUser, kChromeKey), "D:\\moved\\quorva-link.json");
    EXPECT_NE(files.files.at("D:\\moved\\quorva-link.json").find("D:\\\\moved\\\\quorva-link.exe"),
              std::string::npos);
}

TEST(NativeHostRegistration, RefusedWritesAreReportedAndTheRestIsStillDone) {
    MemoryRegistry registry;
    registry.DenyWritesUnder(RegistryRoot::CurrentUser, "Software\\Microsoft");
    MemoryFiles files;
    files.readOnly = true;
    const auto update = integration::RegisterNativeHost(registry, files, "C:\\q\\");
    EXPECT_TRUE(update.failed);
    EXPECT_EQ(update.manifestsWritten, 0);
    EXPECT_EQ(update.keysWritten, 2);  // Chrome's and Firefox's
    EXPECT_EQ(registry.Value(RegistryRoot::CurrentUser, kEdgeKey), "<none>");
}

TEST(NativeHostRegistration, RemovalTakesTheKeysAndManifestsAndLeavesTheRest) {
    MemoryRegistry registry;
    MemoryFiles files;
    files.files["C:\\q\\bookmark.xml"] = "kept";
    registry.SetStringValue(RegistryRoot::CurrentUser, "Software\\Google\\Chrome\\NativeMessagingHosts\\other", "",
                            "other.json");
    integration::RegisterNativeHost(registry, files, "C:\\q\\");

    EXPECT_EQ(integration::RemoveNativeHost(registry, files, "C:\\q\\"), 0);
    for (const std::string& key : {kChromeKey, kEdgeKey, kFirefoxKey}) {
        EXPECT_FALSE(registry.KeyExists(RegistryRoot::CurrentUser, key)) << key;
    }
    EXPECT_EQ(files.files, (std::map<std::string, std::string>{{"C:\\q\\bookmark.xml", "kept"}}));
    EXPECT_EQ(registry.Value(RegistryRoot::CurrentUser, "Software\\Google\\Chrome\\NativeMessagingHosts\\other"),
              "other.json");

    // Again, with nothing left to remove: no failure.
    EXPECT_EQ(integration::RemoveNativeHost(registry, files, "C:\\q\\"), 0);

    // A key that cannot be deleted is reported.
    integration::RegisterNativeHost(registry, files, "C:\\q\\");
    registry.DenyWritesUnder(RegistryRoot::CurrentUser, "Software\\Mozilla");
    EXPECT_EQ(integration::RemoveNativeHost(registry, files, "C:\\q\\"), integration::kRegistryAccessDenied);
    EXPECT_FALSE(registry.KeyExists(RegistryRoot::CurrentUser, kChromeKey));
}

}  // namespace
