// The system registry behind the registration scripts, under a scratch key
// of the current user so that the real classes root is never touched.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "quorva_automation.h"
#include "server_registration.h"
#include "typelib_registration.h"
#include "win32_registry.h"

using integration::GuidText;
using integration::RegistryRoot;
using integration::Win32Registry;

namespace {

constexpr RegistryRoot kCR = RegistryRoot::ClassesRoot;

// Reads a string value below `key`; "<none>" when missing.
std::string ReadString(HKEY key, const std::string& path, const std::string& name = std::string()) {
    char data[1024] = {};
    DWORD size = sizeof data - 1;
    DWORD type = 0;
    if (::RegGetValueA(key, path.c_str(), name.empty() ? nullptr : name.c_str(), RRF_RT_ANY, &type, data, &size) !=
        ERROR_SUCCESS)
        return "<none>";
    EXPECT_EQ(type, static_cast<DWORD>(REG_SZ)) << path << "|" << name;
    return data;
}

bool HasKey(HKEY key, const std::string& path) {
    HKEY opened = nullptr;
    if (::RegOpenKeyExA(key, path.c_str(), 0, KEY_READ, &opened) != ERROR_SUCCESS) return false;
    ::RegCloseKey(opened);
    return true;
}

DWORD SubkeyCount(HKEY key, const std::string& path) {
    HKEY opened = nullptr;
    if (::RegOpenKeyExA(key, path.c_str(), 0, KEY_READ, &opened) != ERROR_SUCCESS) return 0xFFFFFFFF;
    DWORD count = 0;
    ::RegQueryInfoKeyA(opened, nullptr, nullptr, nullptr, &count, nullptr, nullptr, nullptr, nullptr, nullptr,
                       nullptr, nullptr);
    ::RegCloseKey(opened);
    return count;
}

// A fresh key HKCU\Software\quorva-tests\<pid>-<n> with "classes", "user"
// and "machine" below it, deleted afterwards.
class ScratchRegistry : public ::testing::Test {
protected:
    void SetUp() override {
        static int counter = 0;
        path_ = "Software\\quorva-tests\\" + std::to_string(::GetCurrentProcessId()) + "-" +
                std::to_string(counter++);
        ASSERT_EQ(::RegCreateKeyExA(HKEY_CURRENT_USER, path_.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                                    &scratch_, nullptr),
                  ERROR_SUCCESS);
        for (const char* sub : {"classes", "user", "machine"}) {
            HKEY k = nullptr;
            ASSERT_EQ(::RegCreateKeyExA(scratch_, sub, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &k, nullptr),
                      ERROR_SUCCESS);
            ::RegCloseKey(k);
        }
    }

    void TearDown() override {
        for (const std::string& path : locked_) SetDacl(path, nullptr);
        if (scratch_) ::RegCloseKey(scratch_);
        EXPECT_EQ(::RegDeleteTreeA(HKEY_CURRENT_USER, path_.c_str()), ERROR_SUCCESS);
        ::RegDeleteKeyA(HKEY_CURRENT_USER, "Software\\quorva-tests");  // only when empty
    }

    Win32Registry Registry() { return Win32Registry({{scratch_, "classes"}, {scratch_, "user"}, {scratch_, "machine"}}); }

    // Makes the key below the scratch key and gives it an empty access list:
    // nobody may open it any more, as a user may not write HKEY_CLASSES_ROOT
    // on Windows.
    void Lock(const std::string& path) {
        HKEY k = nullptr;
        ASSERT_EQ(::RegCreateKeyExA(scratch_, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &k, nullptr),
                  ERROR_SUCCESS);
        ::RegCloseKey(k);
        ACL empty;
        ASSERT_TRUE(::InitializeAcl(&empty, sizeof empty, ACL_REVISION));
        SetDacl(path, &empty);
        locked_.push_back(path);
    }

    // The owner may always change the access list.
    void SetDacl(const std::string& path, ACL* acl) {
        HKEY k = nullptr;
        ASSERT_EQ(::RegOpenKeyExA(scratch_, path.c_str(), 0, WRITE_DAC, &k), ERROR_SUCCESS);
        SECURITY_DESCRIPTOR sd;
        ::InitializeSecurityDescriptor(&sd, SECURITY_DESCRIPTOR_REVISION);
        ::SetSecurityDescriptorDacl(&sd, TRUE, acl, FALSE);
        EXPECT_EQ(::RegSetKeySecurity(k, DACL_SECURITY_INFORMATION, &sd), ERROR_SUCCESS);
        ::RegCloseKey(k);
    }

    HKEY scratch_ = nullptr;
    std::string path_;
    std::vector<std::string> locked_;
};

TEST_F(ScratchRegistry, WritesReadsAndDeletesKeysAndValues) {
    Win32Registry reg = Registry();
    const std::string name = "\xCA\xE9\xC7\xA9 key";  // GBK text in a key name
    ASSERT_EQ(reg.CreateKey(kCR, "a\\b\\" + name), 0);
    EXPECT_TRUE(reg.KeyExists(kCR, "a\\b\\" + name));
    EXPECT_TRUE(reg.KeyExists(kCR, "A\\B"));  // names ignore case
    EXPECT_TRUE(reg.HasSubkeys(kCR, "a"));
    EXPECT_FALSE(reg.HasSubkeys(kCR, "a\\b\\" + name));
    EXPECT_FALSE(reg.KeyExists(kCR, "a\\c"));
    EXPECT_FALSE(reg.KeyExists(kCR, ""));

    ASSERT_EQ(reg.SetStringValue(kCR, "a\\b", "", "default \xD6\xD0"), 0);
    ASSERT_EQ(reg.SetStringValue(kCR, "a\\b", "Named", "v"), 0);
    ASSERT_EQ(reg.SetStringValue(kCR, "new\\key", "", ""), 0);  // creates the key
    EXPECT_EQ(ReadString(scratch_, "classes\\a\\b"), "default \xD6\xD0");
    EXPECT_EQ(ReadString(scratch_, "classes\\a\\b", "Named"), "v");
    EXPECT_EQ(ReadString(scratch_, "classes\\new\\key"), "");

    EXPECT_EQ(reg.DeleteValue(kCR, "a\\b", "Named"), 0);
    EXPECT_EQ(ReadString(scratch_, "classes\\a\\b", "Named"), "<none>");
    EXPECT_EQ(reg.DeleteValue(kCR, "a\\b", "Named"), integration::kRegistryNotFound);
    EXPECT_EQ(reg.DeleteValue(kCR, "a\\missing", "x"), integration::kRegistryNotFound);

    EXPECT_EQ(reg.DeleteTree(kCR, "a\\b"), 0);
    EXPECT_FALSE(HasKey(scratch_, "classes\\a\\b"));
    EXPECT_TRUE(HasKey(scratch_, "classes\\a"));
    EXPECT_EQ(reg.DeleteTree(kCR, "a\\b"), integration::kRegistryNotFound);
    // An empty path never empties the root.
    EXPECT_NE(reg.DeleteTree(kCR, ""), 0);
    EXPECT_NE(reg.CreateKey(kCR, ""), 0);
    EXPECT_TRUE(HasKey(scratch_, "classes\\a"));
}

TEST_F(ScratchRegistry, EachRootHasItsOwnPlace) {
    Win32Registry reg = Registry();
    ASSERT_EQ(reg.SetStringValue(RegistryRoot::CurrentUser, "k", "", "user"), 0);
    ASSERT_EQ(reg.SetStringValue(RegistryRoot::LocalMachine, "k", "", "machine"), 0);
    EXPECT_EQ(ReadString(scratch_, "user\\k"), "user");
    EXPECT_EQ(ReadString(scratch_, "machine\\k"), "machine");
    EXPECT_FALSE(reg.KeyExists(kCR, "k"));
}

TEST_F(ScratchRegistry, RefusedWritesReportAccessDenied) {
    Lock("classes\\locked");
    Win32Registry reg = Registry();
    EXPECT_EQ(reg.CreateKey(kCR, "locked"), integration::kRegistryAccessDenied);
    EXPECT_EQ(reg.SetStringValue(kCR, "locked", "", "x"), integration::kRegistryAccessDenied);
    EXPECT_EQ(reg.DeleteValue(kCR, "locked", "x"), integration::kRegistryAccessDenied);
    EXPECT_TRUE(reg.KeyExists(kCR, "locked"));
    EXPECT_EQ(reg.DeleteTree(kCR, "locked"), integration::kRegistryAccessDenied);
}

class ServerScriptsInRegistry : public ScratchRegistry {
protected:
    HRESULT Apply(Win32Registry& reg, bool registering) {
        return integration::ApplyServerScripts(reg, ::GetModuleHandleA(nullptr), kModule, registering);
    }
    static constexpr const char* kModule = "C:\\Program Files\\it's {here}\\quorva.exe";
};

TEST_F(ServerScriptsInRegistry, EmbeddedScriptsRegisterTheIdsOfTheTypeLibrary) {
    Win32Registry reg = Registry();
    ASSERT_EQ(Apply(reg, true), S_OK);
    const std::string clsid = GuidText(CLSID_IEMenuCatch);
    const std::string cls = "classes\\CLSID\\" + clsid;
    const std::string appId = ReadString(scratch_, cls, "AppID");
    ASSERT_EQ(appId.size(), 38u) << appId;

    EXPECT_EQ(ReadString(scratch_, cls), "IEMenuCatch Class");
    EXPECT_EQ(ReadString(scratch_, cls + "\\TypeLib"), GuidText(LIBID_quorvaLib));
    EXPECT_EQ(ReadString(scratch_, cls + "\\LocalServer32"), std::string("\"") + kModule + "\"");
    EXPECT_EQ(ReadString(scratch_, cls + "\\ProgID"), "quorva.IEMenuCatch.1");
    EXPECT_EQ(ReadString(scratch_, cls + "\\VersionIndependentProgID"), "quorva.IEMenuCatch");
    EXPECT_TRUE(HasKey(scratch_, cls + "\\Programmable"));
    EXPECT_EQ(ReadString(scratch_, "classes\\quorva.IEMenuCatch\\CLSID"), clsid);
    EXPECT_EQ(ReadString(scratch_, "classes\\quorva.IEMenuCatch.1\\CLSID"), clsid);
    EXPECT_EQ(ReadString(scratch_, "classes\\quorva.IEMenuCatch\\CurVer"), "quorva.IEMenuCatch.1");
    EXPECT_EQ(ReadString(scratch_, "classes\\AppID\\" + appId), "quorva");
    EXPECT_EQ(ReadString(scratch_, "classes\\AppID\\quorva.EXE", "AppID"), appId);
}

TEST_F(ServerScriptsInRegistry, MissingScriptsAreAFailure) {
    Win32Registry reg = Registry();
    // kernel32 holds no registry scripts.
    EXPECT_TRUE(FAILED(integration::ApplyServerScripts(reg, ::GetModuleHandleA("kernel32.dll"), kModule, true)));
    EXPECT_EQ(SubkeyCount(scratch_, "classes"), 0u);
}

}  // namespace
